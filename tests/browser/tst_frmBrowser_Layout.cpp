#include "BrowserHarness.h"
#include "TestFiles.h"
#include "info/frmAbout.h"
#include "info/frmTip.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWindow>
#include <QtTest>

class tst_frmBrowser_Layout : public QObject
{
    Q_OBJECT
private slots:
    void layoutFollowsTheWindow();
    void minimumWidthSnapsBack();
    void viewToggles_data();
    void viewToggles();
    void fullScreenAndBack();
    void fullScreenSurvivesRestart();
};

void tst_frmBrowser_Layout::layoutFollowsTheWindow()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    QTRY_VERIFY(w.windowHandle() && w.windowHandle()->isExposed());
    w.resize(900, 600);
    QTRY_COMPARE(w.width(), 900);
    const double ty = w.TwipsPerPixelY();
    const int client = w.centralWidget()->height();
    const int tb = w.tbToolBar->height();
    const int pa = w.picAddress->height();
    const int st = w.txtStatus->height();
    QCOMPARE(w.tbToolBar->y(), 0);
    QCOMPARE(w.picAddress->y(), tb);
    QCOMPARE(w.brwWebBrowser->y(), tb + pa + int(std::lround(35 / ty)));
    QCOMPARE(w.brwWebBrowser->height(), client - (tb + pa + st));
    QCOMPARE(w.brwWebBrowser->width(), w.centralWidget()->width());
    QCOMPARE(w.txtStatus->y(), client - st);
    QCOMPARE(w.ProgressBar1->x() + w.ProgressBar1->width(), w.centralWidget()->width());
    QCOMPARE(w.Picture1->x() + w.Picture1->width(),
             w.frameGeometry().width() - int(std::lround(200 / w.TwipsPerPixelX())));
    // Every layout pass closes the favorites list.
    w.List1->show();
    w.Form_Resize();
    QVERIFY(w.List1->isHidden());
}

void tst_frmBrowser_Layout::minimumWidthSnapsBack()
{
    Harness h;
    h.start();
    QTRY_VERIFY(h.w->windowHandle() && h.w->windowHandle()->isExposed());
    h.w->resize(100, 200);
    const int minimum = int(std::lround(4200 / h.w->TwipsPerPixelX()));
    QTRY_COMPARE(h.w->frameGeometry().width(), minimum);
    QCOMPARE(h.w->height(), 200); // no minimum height

    // Smaller than its bars: the view keeps its last height instead of taking a negative one,
    // and gets its place back once the window grows.
    const int viewHeight = h.w->brwWebBrowser->height();
    h.w->resize(h.w->width(), 40);
    QTRY_COMPARE(h.w->height(), 40);
    QCOMPARE(h.w->brwWebBrowser->height(), viewHeight);
    h.w->resize(h.w->width(), 500);
    QTRY_COMPARE(h.w->brwWebBrowser->geometry().bottom() + 1,
                 h.w->txtStatus->y() + int(std::lround(35 / h.w->TwipsPerPixelY())));
}

void tst_frmBrowser_Layout::viewToggles_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("bar");
    QTest::newRow("toolbar") << "mnuToolBAr"
                             << "tbToolBar";
    QTest::newRow("address bar") << "mnuAddressBar"
                                 << "picAddress";
    QTest::newRow("status bar") << "mnuStatusbar"
                                << "txtStatus";
}

void tst_frmBrowser_Layout::viewToggles()
{
    QFETCH(QString, item);
    QFETCH(QString, bar);
    Harness h;
    h.start();
    QAction *a = h.w->findChild<QAction *>(item);
    QWidget *b = h.w->findChild<QWidget *>(bar);
    const int viewHeight = h.w->brwWebBrowser->height();
    a->trigger();
    QVERIFY(!a->isChecked());
    QVERIFY(b->isHidden());
    QVERIFY(h.w->brwWebBrowser->height() > viewHeight);
    QCOMPARE(h.w->StatusLineHidden, qint16(item == "mnuStatusbar" ? 1 : 0));
    QVERIFY(!h.w->menuBar()->isHidden());
    QVERIFY(h.w->Toolbar1->isHidden());
    if (item == "mnuStatusbar") {
        emit h.view->DownloadBegin();
        QVERIFY(h.w->ProgressBar1->isHidden()); // no progress while the status line is off
    }
    a->trigger();
    QVERIFY(a->isChecked());
    QVERIFY(!b->isHidden());
    QCOMPARE(h.w->brwWebBrowser->height(), viewHeight);
    QCOMPARE(h.w->StatusLineHidden, qint16(0));
}

void tst_frmBrowser_Layout::fullScreenAndBack()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    w.mnuAddressBar->trigger(); // off before full screen; comes back all the same
    w.mnuFullScreen->trigger();
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    QVERIFY(w.menuBar()->isHidden());
    QVERIFY(!w.Toolbar1->isHidden());
    QCOMPARE(w.settings.FullScreen, qint16(1));
    QCOMPARE(w.brwWebBrowser->y(), w.Toolbar1->height());
    // Without the menu bar the client area grows; the view follows it to the bottom.
    QTRY_COMPARE(w.brwWebBrowser->geometry().bottom() + 1, w.centralWidget()->height());
    // The "View" key is always there to come back, clear of the address box.
    QAction *view = frmBrowser::Button(w.Toolbar1, "View");
    QCOMPARE(view->property("Key").toString(), QString("View"));
    QWidget *viewKey = w.Toolbar1->widgetForAction(view);
    QVERIFY(viewKey && viewKey->isVisible());
    QVERIFY2(viewKey->geometry().right() < w.cboAddress2->x(),
             qPrintable(QString("%1 %2").arg(viewKey->geometry().right()).arg(w.cboAddress2->x())));
    view->trigger();
    QVERIFY(w.Toolbar1->isHidden());
    QVERIFY(!w.menuBar()->isHidden());
    for (QAction *a : {w.mnuToolBAr, w.mnuAddressBar, w.mnuStatusbar})
        QVERIFY(a->isChecked());
    for (QWidget *bar :
         {static_cast<QWidget *>(w.tbToolBar), w.picAddress, static_cast<QWidget *>(w.txtStatus)})
        QVERIFY(!bar->isHidden());
    QVERIFY(w.windowState() & Qt::WindowMaximized); // stays maximized
    QCOMPARE(w.settings.FullScreen, qint16(0));
    QCOMPARE(w.StatusLineHidden, qint16(0));
}

void tst_frmBrowser_Layout::fullScreenSurvivesRestart()
{
    Harness h;
    h.start();
    frmBrowser::Button(h.w->tbToolBar, "Full")->trigger();
    h.w->close();
    QVERIFY(ReadAll(h.path("QuorBrowser.cfg")).endsWith("\r\n1\r\n"));

    Harness again;
    QFile::copy(h.path("QuorBrowser.cfg"), again.path("QuorBrowser.cfg"));
    again.start();
    QVERIFY(again.w->menuBar()->isHidden());
    QVERIFY(!again.w->Toolbar1->isHidden());
    QVERIFY(again.w->picAddress->isHidden());
}

QTEST_MAIN(tst_frmBrowser_Layout)
#include "tst_frmBrowser_Layout.moc"
