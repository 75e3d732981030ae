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

class tst_frmBrowser_Address : public QObject
{
    Q_OBJECT
private slots:
    void enterNavigatesWithTextUnchanged_data();
    void enterNavigatesWithTextUnchanged();
    void typingWithoutEnterNeverNavigates();
    void pickingAnEntryNavigates_data();
    void pickingAnEntryNavigates();
    void goToSlot_data();
    void goToSlot();
    void setCurrentAs_data();
    void setCurrentAs();
    void setCurrentAsInUnwritableFolder();
    void fixedDestinations();
};

void tst_frmBrowser_Address::enterNavigatesWithTextUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("enterKey");
    QTest::newRow("word") << "example" << int(Qt::Key_Return);
    QTest::newRow("empty") << "" << int(Qt::Key_Return);
    QTest::newRow("spaces around") << "  127.0.0.1:9/page  " << int(Qt::Key_Return);
    QTest::newRow("path with blanks") << "/tmp/My Pages/a b.html" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << "127.0.0.1:9/kp" << int(Qt::Key_Enter);
}

void tst_frmBrowser_Address::enterNavigatesWithTextUnchanged()
{
    QFETCH(QString, text);
    QFETCH(int, enterKey);
    Harness h;
    h.start();
    QTRY_VERIFY(h.w->isActiveWindow());
    for (QComboBox *box : {h.w->cboAddress, h.w->cboAddress2}) {
        h.view->calls.clear();
        if (box == h.w->cboAddress2)
            h.w->mnuFullScreen_Click(); // the box a person sees in full screen
        h.w->List1->show();
        QWidget *focus = FocusOn(box);
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_Delete);
        QTest::keyClicks(focus, text);
        QVERIFY(h.view->calls.isEmpty()); // typing alone goes nowhere
        QTest::keyClick(focus, Qt::Key(enterKey));
        QCOMPARE(box->currentText(), text);
        QVERIFY(h.w->List1->isHidden());
        QCOMPARE(h.view->calls, QStringList {"Navigate:" + text});
        QVERIFY(h.w->timTimer.isActive());
        QCOMPARE(box->count(), 0); // the list changes only when a page is entered
    }
}

void tst_frmBrowser_Address::typingWithoutEnterNeverNavigates()
{
    Harness h;
    h.start();
    QTRY_VERIFY(h.w->isActiveWindow());
    for (const char *url : {"http://127.0.0.1:9/b", "http://127.0.0.1:9/a"}) {
        h.view->SetLocation(url, "T");
        emit h.view->NavigateComplete2();
    }
    h.view->calls.clear();
    // The text of another entry, typed, then the box left with Tab and with a click elsewhere:
    // the box may show that entry, but nothing is opened.
    for (int leave = 0; leave < 2; ++leave) {
        h.w->List1->show();
        QWidget *focus = FocusOn(h.w->cboAddress);
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focus, "http://127.0.0.1:9/b");
        QVERIFY(h.w->List1->isHidden());
        if (leave == 0)
            QTest::keyClick(focus, Qt::Key_Tab);
        else
            h.w->cboAddress2->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(!h.w->cboAddress->hasFocus());
        QCOMPARE(h.view->calls, QStringList());
    }
}

void tst_frmBrowser_Address::pickingAnEntryNavigates_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("other entry, mouse") << 1 << false;
    QTest::newRow("other entry, keyboard") << 1 << true;
    QTest::newRow("entry already shown, mouse") << 0 << false;
    QTest::newRow("entry already shown, keyboard") << 0 << true;
}

void tst_frmBrowser_Address::pickingAnEntryNavigates()
{
    QFETCH(int, row);
    QFETCH(bool, byKeyboard);
    Harness h;
    h.start();
    QTRY_VERIFY(h.w->isActiveWindow());
    for (const char *url : {"http://127.0.0.1:9/b", "http://127.0.0.1:9/a"}) {
        h.view->SetLocation(url, "T");
        emit h.view->NavigateComplete2();
    }
    h.view->calls.clear();
    for (QComboBox *box : {h.w->cboAddress, h.w->cboAddress2}) {
        h.view->calls.clear();
        if (box == h.w->cboAddress2)
            h.w->mnuFullScreen_Click(); // the box a person sees in full screen
        h.w->List1->show();
        QWidget *focus = FocusOn(box);
        QVERIFY(focus);
        // Open the list the way a keyboard does.
        QTest::keyClick(focus, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(box->view()->isVisible());
        QVERIFY(h.view->calls.isEmpty()); // opening the list chooses nothing
        if (byKeyboard) {
            QWidget *inList = QApplication::focusWidget();
            QVERIFY(inList);
            for (int i = 0; i < row; ++i)
                QTest::keyClick(inList, Qt::Key_Down);
            QTest::keyClick(inList, Qt::Key_Return);
        } else {
            const QRect item = box->view()->visualRect(box->model()->index(row, 0));
            QTest::mouseClick(box->view()->viewport(), Qt::LeftButton, {}, item.center());
        }
        QTRY_VERIFY(!box->view()->isVisible());
        QCOMPARE(h.view->calls, QStringList {"Navigate:" + box->itemText(row)});
        QVERIFY(h.w->List1->isHidden());
    }
}

void tst_frmBrowser_Address::goToSlot_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content"); // "<missing>": no file
    QTest::addColumn<QString>("call");
    const QByteArray page("\"http://127.0.0.1:9/p\"\r\n");
    const QByteArray empty("\"\"\r\n");
    const QByteArray none("<missing>");
    QTest::newRow("home, present") << "mnugotohome"
                                   << "HOMEPAGE" << page << "Navigate:http://127.0.0.1:9/p";
    QTest::newRow("home, empty") << "mnugotohome"
                                 << "homepage" << empty << "GoHome";
    QTest::newRow("home, missing") << "mnugotohome"
                                   << "homepage" << none << "GoHome";
    QTest::newRow("home 2, present") << "mnugotohome2"
                                     << "homepage2" << page << "Navigate:http://127.0.0.1:9/p";
    QTest::newRow("home 3, missing while home is set") << "mnugotohome3"
                                                       << "HomePage" << page << "GoHome";
    QTest::newRow("search, present") << "mnuGotoSearch"
                                     << "searchpage" << page << "Navigate:http://127.0.0.1:9/p";
    QTest::newRow("search, empty") << "mnuGotoSearch"
                                   << "SearchPage" << empty << "GoSearch";
    QTest::newRow("search, missing") << "mnuGotoSearch"
                                     << "SearchPage" << none << "GoSearch";
}

void tst_frmBrowser_Address::goToSlot()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, call);
    Harness h;
    h.start();
    if (content != "<missing>")
        WriteAll(h.path(fileName), content); // read afresh at each use
    h.w->findChild<QAction *>(menuItem)->trigger();
    QCOMPARE(h.view->calls, QStringList {call});
    QVERIFY(!h.w->timTimer.isActive());
}

void tst_frmBrowser_Address::setCurrentAs_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("fileOnDisk");
    QTest::addColumn<QString>("location");
    QTest::newRow("home") << "mnuAddHome"
                          << "homepage"
                          << "http://127.0.0.1:9/a b?c=d";
    QTest::newRow("home 2") << "mnuAddHome2"
                            << "homepage2"
                            << "http://127.0.0.1:9/2";
    QTest::newRow("home 3, no page shown") << "mnuAddHome3"
                                           << "homepage3"
                                           << "";
    QTest::newRow("search") << "mnuSetSearch"
                            << "SearchPage"
                            << "http://127.0.0.1:9/s";
}

void tst_frmBrowser_Address::setCurrentAs()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, fileOnDisk);
    QFETCH(QString, location);
    Harness h;
    h.start();
    h.view->SetLocation(location, "T");
    h.w->findChild<QAction *>(menuItem)->trigger();
    QCOMPARE(ReadAll(h.path(fileOnDisk)), "\"" + location.toLatin1() + "\"\r\n");
    QVERIFY(h.view->calls.isEmpty());
    QVERIFY(h.dialogs.messages.isEmpty());
}

void tst_frmBrowser_Address::setCurrentAsInUnwritableFolder()
{
    // An application folder that is a file cannot take any file, whoever runs the test.
    Harness h;
    WriteAll(h.path("folder"), "not a folder");
    frmBrowser w(h.Environment(h.view, QString(), h.path("folder")));
    w.Form_Load();
    h.view->SetLocation("http://127.0.0.1:9/", "T");
    w.mnuSetSearch_Click();
    QVERIFY(h.dialogs.messages.isEmpty()); // the search page fails silently
    w.mnuAddHome_Click();
    QCOMPARE(h.dialogs.messages.size(), 1); // a home page says so
    w.mnugotohome_Click();
    QCOMPARE(h.view->calls.last(), QString("GoHome"));
    w.close(); // and the window still closes
}

void tst_frmBrowser_Address::fixedDestinations()
{
    Harness h;
    h.start();
    h.w->mnuSupport->trigger();
    QTest::mouseClick(h.w->Picture1, Qt::LeftButton);
    h.w->Picture2_Click();
    QCOMPARE(h.view->calls,
             (QStringList {"Navigate:http://127.0.0.1:9/support", "Navigate:http://127.0.0.1:9/",
                           "Navigate:http://127.0.0.1:9/"}));
}

QTEST_MAIN(tst_frmBrowser_Address)
#include "tst_frmBrowser_Address.moc"
