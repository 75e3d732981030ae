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

class tst_frmBrowser_Commands : public QObject
{
    Q_OBJECT
private slots:
    void toolbarButtons();
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
    frmBrowser::Button(h.w->tbToolBar, 4)->trigger(); // "Stop"
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

QTEST_MAIN(tst_frmBrowser_Commands)
#include "tst_frmBrowser_Commands.moc"
