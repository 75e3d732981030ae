#include "BrowserHarness.h"
#include "CaptionChanges.h"
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

class tst_frmBrowser_ViewEvents : public QObject
{
    Q_OBJECT
private slots:
    void captionKeepsAPaceWhenAPageLoops();
    void captionFollowsTheTitle_data();
    void captionFollowsTheTitle();
    void statusText_data();
    void statusText();
    void commandState_data();
    void commandState();
    void downloadBeginAndComplete_data();
    void downloadBeginAndComplete();
    void progressWraps();
    void activityPicturesCycle();
    void captionOnceIdle();
    void navigateCompleteHeadsBothLists();
};

void tst_frmBrowser_ViewEvents::statusText_data()
{
    QTest::addColumn<bool>("statusLineShown");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("shown, link") << true << "http://127.0.0.1:9/x"
                                 << "Ombrane Software";
    QTest::newRow("hidden, link") << false << "http://127.0.0.1:9/x"
                                  << "http://127.0.0.1:9/x";
    QTest::newRow("hidden, Done") << false << "Done"
                                  << "Title  - Ombrane Software";
    QTest::newRow("hidden, empty") << false << ""
                                   << "Title  - Ombrane Software";
    QTest::newRow("hidden, done in lower case") << false << "done"
                                                << "done";
}

void tst_frmBrowser_ViewEvents::statusText()
{
    QFETCH(bool, statusLineShown);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    Harness h;
    h.start();
    h.view->SetLocation("http://127.0.0.1:9/", "Title");
    if (!statusLineShown)
        h.w->mnuStatusbar_Click();
    emit h.view->StatusTextChange(text);
    QCOMPARE(h.w->txtStatus->text(), text);
    QCOMPARE(h.w->windowTitle(), caption);
}

void tst_frmBrowser_ViewEvents::commandState_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("backEnabled");
    QTest::addColumn<bool>("forwardEnabled");
    QTest::newRow("back on") << 2 << true << true << false;
    QTest::newRow("back off") << 2 << false << false << false;
    QTest::newRow("forward on") << 1 << true << false << true;
    QTest::newRow("other command ignored") << 3 << true << false << false;
}

void tst_frmBrowser_ViewEvents::commandState()
{
    QFETCH(int, command);
    QFETCH(bool, enable);
    QFETCH(bool, backEnabled);
    QFETCH(bool, forwardEnabled);
    Harness h;
    h.start();
    emit h.view->CommandStateChange(1, false);
    emit h.view->CommandStateChange(2, false);
    emit h.view->CommandStateChange(command, enable);
    QCOMPARE(frmBrowser::Button(h.w->tbToolBar, "Back")->isEnabled(), backEnabled);
    QCOMPARE(frmBrowser::Button(h.w->Toolbar1, "Back")->isEnabled(), backEnabled);
    QCOMPARE(frmBrowser::Button(h.w->tbToolBar, "Forward")->isEnabled(), forwardEnabled);
    QCOMPARE(frmBrowser::Button(h.w->Toolbar1, "Forward")->isEnabled(), forwardEnabled);
}

void tst_frmBrowser_ViewEvents::downloadBeginAndComplete_data()
{
    QTest::addColumn<bool>("statusLineShown");
    QTest::addColumn<bool>("begin");
    QTest::newRow("shown") << true << true;
    QTest::newRow("hidden") << false << true;
    QTest::newRow("complete without begin") << true << false;
}

void tst_frmBrowser_ViewEvents::downloadBeginAndComplete()
{
    QFETCH(bool, statusLineShown);
    QFETCH(bool, begin);
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    if (!statusLineShown)
        w.mnuStatusbar_Click();
    w.List1->show();
    h.view->SetLocation("http://127.0.0.1:9/", "Page");
    if (begin) {
        emit h.view->DownloadBegin();
        QVERIFY(w.List1->isHidden());
        QCOMPARE(w.ProgressBar1->isVisible(), statusLineShown);
        if (statusLineShown)
            QCOMPARE(w.ProgressBar1->value(), 1);
        QVERIFY(w.Timer1.isActive());
        QVERIFY(w.Timer4.isActive());
        w.Timer4_Timer();
        QVERIFY(w.Picture2->isHidden());
    }
    emit h.view->DownloadComplete();
    QCOMPARE(w.windowTitle(), QString("Page - Ombrane Software"));
    QVERIFY(!w.Timer1.isActive());
    QVERIFY(!w.Timer4.isActive());
    QVERIFY(w.ProgressBar1->isHidden());
    QVERIFY(!w.Picture2->isHidden());
    for (QLabel *p : {w.Picture3, w.Picture4, w.Picture5, w.Picture6})
        QVERIFY(p->isHidden());
}

void tst_frmBrowser_ViewEvents::progressWraps()
{
    Harness h;
    h.start();
    emit h.view->DownloadBegin();
    QList<int> values;
    for (int i = 0; i < 101; ++i) {
        h.w->Timer1_Timer();
        values << h.w->ProgressBar1->value();
    }
    QCOMPARE(values.first(), 2);
    QCOMPARE(values[98], 100);
    QCOMPARE(values[99], 2); // from 100 to 2, never past 100
    QCOMPARE(values[100], 3);
}

void tst_frmBrowser_ViewEvents::activityPicturesCycle()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    QLabel *const pictures[] = {w.Picture2, w.Picture3, w.Picture4, w.Picture5, w.Picture6};
    auto shown = [&] {
        QString s;
        for (int i = 0; i < 5; ++i)
            if (!pictures[i]->isHidden())
                s += QString::number(i + 2);
        return s;
    };
    QCOMPARE(shown(), QString("2"));
    QStringList sequence;
    for (int i = 0; i < 6; ++i) {
        w.Timer4_Timer();
        sequence << shown();
    }
    QCOMPARE(sequence, (QStringList {"3", "4", "5", "6", "3", "4"}));
}

void tst_frmBrowser_ViewEvents::captionOnceIdle()
{
    Harness h;
    h.start();
    h.view->SetLocation("http://127.0.0.1:9/", "Busy Page");
    h.view->busy = true;
    h.w->timTimer.start();
    h.w->timTimer_Timer();
    QVERIFY(h.w->timTimer.isActive());
    QCOMPARE(h.w->windowTitle(), QString("Ombrane Software"));
    h.view->busy = false;
    h.w->timTimer_Timer();
    QVERIFY(!h.w->timTimer.isActive());
    QCOMPARE(h.w->windowTitle(), QString("Busy Page - Ombrane Software"));
}

void tst_frmBrowser_ViewEvents::navigateCompleteHeadsBothLists()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    const QStringList visits = {"http://127.0.0.1:9/a", "http://127.0.0.1:9/b",
                                "http://127.0.0.1:9/a", "http://127.0.0.1:9/A"};
    w.cboAddress->setEditText("half typed");
    for (const QString &url : visits) {
        h.view->SetLocation(url, "T");
        emit h.view->NavigateComplete2();
        emit h.view->NavigateComplete2(); // frames raise it again
    }
    for (QComboBox *box : {w.cboAddress, w.cboAddress2}) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(
            items,
            (QStringList {"http://127.0.0.1:9/A", "http://127.0.0.1:9/a", "http://127.0.0.1:9/b"}));
        QCOMPARE(box->currentText(), QString("http://127.0.0.1:9/A"));
    }
    QCOMPARE(w.windowTitle(), QString("T  - Ombrane Software"));
    QVERIFY(h.navigations().isEmpty()); // the programmatic pick never navigates
    QVERIFY(!w.timTimer.isActive());
}

void tst_frmBrowser_ViewEvents::captionKeepsAPaceWhenAPageLoops()
{
    // A page that changes its address and title in a loop (history.pushState).
    Harness h;
    h.start();
    CaptionChanges captions(h.w.get());
    for (int i = 1; i <= 2000; ++i) {
        h.view->SetLocation(QString("http://127.0.0.1:9/#%1").arg(i), QString("t%1").arg(i));
        emit h.view->NavigateComplete2();
    }
    QVERIFY2(captions.count <= CaptionThrottle::ChangesPerSecond,
             qPrintable(QString::number(captions.count)));
    QTRY_COMPARE(h.w->windowTitle(), QString("t2000") + frmBrowser::CaptionSuffixLoading);
}

void tst_frmBrowser_ViewEvents::captionFollowsTheTitle_data()
{
    QTest::addColumn<bool>("loading"); // the page retitles itself while its load runs
    QTest::addColumn<int>("changes"); // how many titles it sets, one after the other

    QTest::newRow("once loaded") << false << 1;
    QTest::newRow("once loaded, in a loop") << false << 2000;
    QTest::newRow("during its load") << true << 1;
}

void tst_frmBrowser_ViewEvents::captionFollowsTheTitle()
{
    QFETCH(bool, loading);
    QFETCH(int, changes);
    Harness h;
    h.start();
    h.view->SetLocation("http://127.0.0.1:9/", "First");
    h.view->busy = true;
    emit h.view->DownloadBegin();
    emit h.view->NavigateComplete2();
    QString before = QString("First") + frmBrowser::CaptionSuffixLoading;
    if (!loading) {
        h.view->busy = false;
        emit h.view->DownloadComplete();
        before = QString("First") + frmBrowser::CaptionSuffixDone;
    }
    QTRY_COMPARE(h.w->windowTitle(), before);

    CaptionChanges captions(h.w.get());
    for (int i = 1; i <= changes; ++i)
        h.view->SetTitle(QString("Later %1").arg(i));
    const QString last = QString("Later %1").arg(changes);
    if (loading) {
        // The load's own events set the caption; its end shows the title it has then.
        QCOMPARE(captions.count, 0);
        QCOMPARE(h.w->windowTitle(), before);
        h.view->busy = false;
        emit h.view->DownloadComplete();
    } else {
        QVERIFY2(captions.count <= CaptionThrottle::ChangesPerSecond,
                 qPrintable(QString::number(captions.count)));
    }
    QTRY_COMPARE(h.w->windowTitle(), last + frmBrowser::CaptionSuffixDone);
}

QTEST_MAIN(tst_frmBrowser_ViewEvents)
#include "tst_frmBrowser_ViewEvents.moc"
