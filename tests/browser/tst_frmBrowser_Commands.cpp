#include "BrowserHarness.h"
#include "TestFiles.h"
#include "associations/frmMain.h"
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

class tst_frmBrowser_Commands : public QObject
{
    Q_OBJECT
private slots:
    void toolbarButtons();
    void ipKeys_data();
    void ipKeys();
    void associationWizardIsOneWindow();
};

void tst_frmBrowser_Commands::toolbarButtons()
{
    Harness h;
    h.start();
    WriteAll(h.path("homepage2"), "\"http://127.0.0.1:9/two\"\r\n");
    const QStringList keys = {"Back", "Forward", "Refresh", "Home2", "Search", "Print"};
    for (const QString &key : keys) {
        for (QAction *a : h.w->tbToolBar->actions())
            if (a->property("Key").toString() == key)
                a->trigger();
    }
    QCOMPARE(h.view->calls,
             (QStringList {"GoBack", "GoForward", "Refresh", "Navigate:http://127.0.0.1:9/two",
                           "GoSearch", "ExecWB:6,1"}));
    QVERIFY(h.w->timTimer.isActive());
    h.w->ProgressBar1->show();
    frmBrowser::Button(h.w->tbToolBar, "Stop")->trigger();
    QCOMPARE(h.view->calls.last(), QString("Stop"));
    QCOMPARE(h.w->txtStatus->text(), QString("Download Stopped"));
    QVERIFY(h.w->ProgressBar1->isHidden());
    QVERIFY(!h.w->timTimer.isActive());
    // The view ends the stopped load with its "Done"; the status line keeps saying why.
    emit h.view->DownloadComplete();
    emit h.view->StatusTextChange("Done");
    QCOMPARE(h.w->txtStatus->text(), QString("Download Stopped"));
    emit h.view->StatusTextChange("http://127.0.0.1:9/link");
    QCOMPARE(h.w->txtStatus->text(), QString("http://127.0.0.1:9/link"));
    // The next load is told of as usual.
    emit h.view->DownloadBegin();
    emit h.view->DownloadComplete();
    emit h.view->StatusTextChange("Done");
    QCOMPARE(h.w->txtStatus->text(), QString("Done"));
}

void tst_frmBrowser_Commands::ipKeys_data()
{
    QTest::addColumn<bool>("lookupWorks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("address found") << true << " IP Address: 192.168.0.5";
    QTest::newRow("lookup fails") << false << " IP Address: ";
}

void tst_frmBrowser_Commands::ipKeys()
{
    QFETCH(bool, lookupWorks);
    QFETCH(QString, shown);
    Harness h;
    if (!lookupWorks)
        h.sockets.hostNameResult = -1;
    h.start();
    QAction *mainIP = frmBrowser::Button(h.w->tbToolBar, "IP");
    QAction *smallIP = frmBrowser::Button(h.w->Toolbar1, "IP");
    // The main toolbar's key shows the address beside the box, and hides it again.
    mainIP->trigger();
    QCOMPARE(h.w->lblCanceled->text(), shown);
    mainIP->trigger();
    QCOMPARE(h.w->lblCanceled->text(), QString());
    // The small toolbar's key writes it into its address box, every time.
    h.w->mnuFullScreen_Click();
    for (int click = 0; click < 2; ++click) {
        h.w->cboAddress2->setEditText("typed");
        smallIP->trigger();
        QCOMPARE(h.w->cboAddress2->currentText(), shown);
    }
    QCOMPARE(h.navigations(), QStringList());
    // A failing lookup says so once per lookup; a working one says nothing.
    QCOMPARE(h.dialogs.messages.size(), lookupWorks ? 0 : 3);
}

void tst_frmBrowser_Commands::associationWizardIsOneWindow()
{
    Harness h;
    h.start();
    h.w->mnuAssociate->trigger();
    QPointer<frmMain> wizard = h.w->AssociateWindow;
    QVERIFY(wizard && wizard->isVisible());
    QCOMPARE(wizard->windowTitle(), QString("Association Wizard"));
    h.w->mnuAssociate->trigger();
    QCOMPARE(h.w->AssociateWindow.data(), wizard.data());
    // It closes with the main window.
    h.w->close();
    QTRY_VERIFY(!wizard);
}

QTEST_MAIN(tst_frmBrowser_Commands)
#include "tst_frmBrowser_Commands.moc"
