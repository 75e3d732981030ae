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

class tst_frmBrowser_Popups : public QObject
{
    Q_OBJECT
private slots:
    void newWindow_data();
    void newWindow();
    void pagesAskingOnTheirOwn();
    void onlyTheActivatedLinkIsHandedOver();
    void popupModesAreExclusiveAndSaved();
    void eachModeRowChecksAndStoresItsOwn_data();
    void eachModeRowChecksAndStoresItsOwn();
    void noticeFlashesSevenTicks();
    void secondRefusalRestartsNotice();
    void handOffFailuresAreTold();
};

void tst_frmBrowser_Popups::newWindow_data()
{
    QTest::addColumn<QString>("mode"); // stored word
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("notice");
    QTest::addColumn<int>("started");
    QTest::addColumn<QByteArray>("popupurl");

    const QByteArray none("<missing>");
    QTest::newRow("no settings: cancel all") << ""
                                             << "http://127.0.0.1:9/x" << true << true << 0 << none;
    QTest::newRow("cancel all") << "all"
                                << "" << true << true << 0 << none;
    QTest::newRow("parent, link") << "allow"
                                  << "https://127.0.0.1:9/x" << true << false << 1
                                  << QByteArray("\"https://127.0.0.1:9/x\"\r\n");
    QTest::newRow("parent, Done") << "allow"
                                  << "Done" << true << true << 0 << none;
    QTest::newRow("parent, word in capitals restores nothing")
        << "ALLOW"
        << "http://127.0.0.1:9/x" << true << true << 0 << none;
    QTest::newRow("allow all") << "allowie"
                               << "Done" << false << false << 0 << none;
}

void tst_frmBrowser_Popups::newWindow()
{
    QFETCH(QString, mode);
    QFETCH(QString, status);
    QFETCH(bool, cancel);
    QFETCH(bool, notice);
    QFETCH(int, started);
    QFETCH(QByteArray, popupurl);
    Harness h;
    if (!mode.isEmpty())
        WriteAll(h.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\n" + mode.toLatin1() + "\r\n");
    h.start();
    emit h.view->StatusTextChange(status);
    QCOMPARE(h.view->RaiseNewWindow2(), cancel);
    QCOMPARE(h.w->lblCanceled->text(), notice ? QString("Pop-Up Window Canceled") : QString());
    QCOMPARE(h.w->Timer2.isActive(), notice);
    QCOMPARE(h.starter.started, started);
    QCOMPARE(ReadAll(h.path("Popupurl")), popupurl);
    QVERIFY(h.dialogs.messages.isEmpty());
}

void tst_frmBrowser_Popups::pagesAskingOnTheirOwn()
{
    // Allow Parent: a script's ten requests while the pointer rests on a link start nothing;
    // the person's click hands over once; a second click while the new instance has not taken
    // its address is refused.
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nallow\r\n");
    h.start();
    emit h.view->StatusTextChange("http://127.0.0.1:9/link");
    for (int i = 0; i < 10; ++i)
        QVERIFY(h.view->RaiseNewWindow2(false));
    QCOMPARE(h.starter.started, 0);
    QCOMPARE(h.w->lblCanceled->text(), QString("Pop-Up Window Canceled"));
    QVERIFY(h.view->RaiseNewWindow2(true));
    QCOMPARE(h.starter.started, 1);
    QCOMPARE(ReadAll(h.path("Popupurl")), QByteArray("\"http://127.0.0.1:9/link\"\r\n"));
    QVERIFY(h.view->RaiseNewWindow2(true));
    QCOMPARE(h.starter.started, 1);
    // Once the new instance has taken it, the next click goes through.
    WriteAll(h.path("Popupurl"), "\"\"\r\n");
    QVERIFY(h.view->RaiseNewWindow2(true));
    QCOMPARE(h.starter.started, 2);
    QVERIFY(h.dialogs.messages.isEmpty());

    // Allow All: a page opening windows in a loop gets twenty, then the notice; the person
    // still opens one.
    Harness all;
    WriteAll(all.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nallowie\r\n");
    all.start();
    QString opened;
    for (int i = 0; i < 25; ++i)
        opened += all.view->RaiseNewWindow2(false) ? 'n' : 'o';
    QCOMPARE(opened, QString(20, 'o') + QString(5, 'n'));
    QCOMPARE(all.w->lblCanceled->text(), QString("Pop-Up Window Canceled"));
    QVERIFY(!all.view->RaiseNewWindow2(true));

    // A window that opens windows at a slow pace, past the flood's: with twenty open, no more
    // open of their own, however long it goes on; the person's still do.
    Harness slow;
    WriteAll(slow.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nallowie\r\n");
    slow.start();
    slow.view->openedWindows = PopupGuard::MaxWindowsOpen - 1;
    QVERIFY(!slow.view->RaiseNewWindow2(false));
    slow.view->openedWindows = PopupGuard::MaxWindowsOpen;
    QVERIFY(slow.view->RaiseNewWindow2(false));
    QVERIFY(!slow.view->RaiseNewWindow2(true));
}

void tst_frmBrowser_Popups::onlyTheActivatedLinkIsHandedOver()
{
    // Allow Parent: while the status line shows a link, a script asks on the person's keys for a
    // blank window, and on a click for another page; neither is handed over. Enter on the link
    // itself is.
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nallow\r\n");
    h.start();
    const QString link = "http://127.0.0.1:9/link";
    emit h.view->StatusTextChange(link);
    for (int i = 0; i < 10; ++i)
        QVERIFY(h.view->RaiseNewWindow2(WindowGesture::OtherKey, "about:blank"));
    QVERIFY(h.view->RaiseNewWindow2(WindowGesture::Click, "http://127.0.0.1:9/other"));
    QCOMPARE(h.starter.started, 0);
    QCOMPARE(h.w->lblCanceled->text(), QString("Pop-Up Window Canceled"));
    QCOMPARE(ReadAll(h.path("Popupurl")), QByteArray("<missing>"));
    QVERIFY(h.view->RaiseNewWindow2(WindowGesture::EnterKey, link));
    QCOMPARE(h.starter.started, 1);
    QCOMPARE(ReadAll(h.path("Popupurl")), "\"" + link.toUtf8() + "\"\r\n");
}

void tst_frmBrowser_Popups::popupModesAreExclusiveAndSaved()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    auto marks = [&] {
        return QString("%1%2%3")
            .arg(int(w.mnuAllow->isChecked()))
            .arg(int(w.mnuNoPopUps->isChecked()))
            .arg(int(w.mnuAllowIE->isChecked()));
    };
    QCOMPARE(marks(), QString("010"));
    w.mnuNoPopUps->trigger(); // already checked: stays
    QCOMPARE(marks(), QString("010"));
    w.mnuAllowIE->trigger();
    QCOMPARE(marks(), QString("001"));
    w.mnuAllow->trigger();
    QCOMPARE(marks(), QString("100"));
    w.close();
    QVERIFY(ReadAll(h.path("QuorBrowser.cfg")).startsWith("21127OCT99\r\n0\r\nallow\r\n"));
}

void tst_frmBrowser_Popups::eachModeRowChecksAndStoresItsOwn_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(PopupModeRows().size()); ++i)
        QTest::newRow(PopupModeRows()[i].item) << i;
}

void tst_frmBrowser_Popups::eachModeRowChecksAndStoresItsOwn()
{
    // The person picks the mode's item from the menu; only its mark shows, its word is stored,
    // and the next start checks that item again.
    QFETCH(int, row);
    const PopupModeRow &mode = PopupModeRows()[row];
    QByteArray stored;
    {
        Harness h;
        h.start();
        QAction *item = h.w->mnuPopUps->findChild<QAction *>(mode.item);
        QVERIFY(item);
        QVERIFY(h.w->mnuPopUps->actions().contains(item));
        item->trigger();
        for (const PopupModeRow &other : PopupModeRows())
            QCOMPARE(h.w->mnuPopUps->findChild<QAction *>(other.item)->isChecked(),
                     &other == &mode);
        h.w->close();
        stored = ReadAll(h.path("QuorBrowser.cfg"));
        QCOMPARE(stored.split('\n').value(2), QByteArray(mode.word) + "\r");
    }
    Harness again;
    WriteAll(again.path("QuorBrowser.cfg"), stored);
    again.start();
    for (const PopupModeRow &other : PopupModeRows())
        QCOMPARE(again.w->mnuPopUps->findChild<QAction *>(other.item)->isChecked(),
                 &other == &mode);
}

void tst_frmBrowser_Popups::noticeFlashesSevenTicks()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    h.view->SetLocation("http://127.0.0.1:9/now", "Now");
    w.cboAddress2->setEditText("typed");
    w.lblCanceled->setText(" IP Address: 127.0.0.1"); // the IP display shares the label
    h.view->RaiseNewWindow2();
    QStringList labels {w.lblCanceled->text()};
    QStringList boxes {w.cboAddress2->currentText()};
    for (int tick = 1; tick <= 7; ++tick) {
        w.Timer2_Timer();
        labels << w.lblCanceled->text();
        boxes << w.cboAddress2->currentText();
    }
    const QString N = "Pop-Up Window Canceled";
    QCOMPARE(labels, (QStringList {N, "", N, "", N, "", N, ""}));
    QCOMPARE(boxes, (QStringList {"typed", "", N, "", N, "", N, "http://127.0.0.1:9/now"}));
    QVERIFY(!w.Timer2.isActive());
}

void tst_frmBrowser_Popups::secondRefusalRestartsNotice()
{
    Harness h;
    h.start();
    frmBrowser &w = *h.w;
    h.view->RaiseNewWindow2();
    w.Timer2_Timer();
    w.Timer2_Timer(); // 1 s later
    h.view->RaiseNewWindow2();
    QCOMPARE(w.lblCanceled->text(), QString("Pop-Up Window Canceled"));
    QCOMPARE(w.NoticeFlashCount, qint16(0));
    for (int tick = 1; tick <= 6; ++tick)
        w.Timer2_Timer();
    QVERIFY(w.Timer2.isActive());
    w.Timer2_Timer();
    QVERIFY(!w.Timer2.isActive());
    QCOMPARE(w.lblCanceled->text(), QString());
}

void tst_frmBrowser_Popups::handOffFailuresAreTold()
{
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nallow\r\n");
    h.start();
    emit h.view->StatusTextChange("http://127.0.0.1:9/x");
    h.starter.succeeds = false;
    QVERIFY(h.view->RaiseNewWindow2());
    QCOMPARE(h.dialogs.messages.size(), 1);
    QVERIFY(h.w->isVisible());
}

QTEST_MAIN(tst_frmBrowser_Popups)
#include "tst_frmBrowser_Popups.moc"
