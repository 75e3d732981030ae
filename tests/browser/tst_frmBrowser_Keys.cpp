#include "BrowserHarness.h"
#include "FakeDownload.h"
#include "TestFiles.h"
#include "browser/FindBar.h"
#include "browser/frmDownloads.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

// What a person expects beyond the menus, with the window on a fake view: the usual keys, zoom,
// find in the page, the downloads and File > Open's folder.
class tst_frmBrowser_Keys : public QObject
{
    Q_OBJECT
private slots:
    void keysAskTheView_data();
    void keysAskTheView();
    void addressKeysSelectTheVisibleBox_data();
    void addressKeysSelectTheVisibleBox();
    void escapeStopsOnlyALoad();
    void fullScreenKeys_data();
    void fullScreenKeys();
    void zoomShowsInTheStatusLine();
    void closeKeysUnload_data();
    void closeKeysUnload();
    void newWindowKey();
    void findBar();
    void findBarTakesNoRoomWhenClosed();
    void downloadsWindowFollowsADownload();
    void closingWhileADownloadRunsAsks_data();
    void closingWhileADownloadRunsAsks();
    void linkMenuHandsOffInEveryMode_data();
    void linkMenuHandsOffInEveryMode();
    void openFileStartsInTheLastFolder();

private:
    // The started window, active, with the keys going where a person's would.
    static void Activate(Harness &h)
    {
        h.w->activateWindow();
        QTRY_VERIFY(h.w->isActiveWindow());
    }
    static QWidget *Keys(Harness &h)
    {
        return QApplication::focusWidget() ? QApplication::focusWidget() : h.w.get();
    }
    static void Press(Harness &h, const QKeySequence &key)
    {
        const QKeyCombination k = key[0];
        QTest::keyClick(Keys(h), k.key(), k.keyboardModifiers());
    }
};

void tst_frmBrowser_Keys::keysAskTheView_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("call");
    QTest::newRow("Alt+Left") << "Alt+Left"
                              << "GoBack";
    QTest::newRow("Alt+Right") << "Alt+Right"
                               << "GoForward";
    QTest::newRow("Ctrl+R") << "Ctrl+R"
                            << "Refresh";
    QTest::newRow("F5, the menu's") << "F5"
                                    << "Refresh";
}

void tst_frmBrowser_Keys::keysAskTheView()
{
    QFETCH(QString, key);
    QFETCH(QString, call);
    Harness h;
    h.start();
    Activate(h);
    h.view->calls.clear();
    Press(h, QKeySequence(key));
    QCOMPARE(h.view->calls, QStringList {call});
}

void tst_frmBrowser_Keys::addressKeysSelectTheVisibleBox_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("fullScreen");
    for (const char *key : {"Ctrl+L", "Alt+D", "F6"}) {
        QTest::newRow(key) << key << false;
        QTest::newRow(qPrintable(QString(key) + " in full screen")) << key << true;
    }
}

void tst_frmBrowser_Keys::addressKeysSelectTheVisibleBox()
{
    QFETCH(QString, key);
    QFETCH(bool, fullScreen);
    Harness h;
    h.start();
    h.view->Navigate("http://127.0.0.1:9/page");
    emit h.view->NavigateComplete2();
    if (fullScreen)
        h.w->mnuFullScreen_Click();
    Activate(h);
    QComboBox *box = fullScreen ? h.w->cboAddress2 : h.w->cboAddress;
    QVERIFY(box->isVisible());
    h.view->setFocus();
    Press(h, QKeySequence(key));
    QVERIFY(box->hasFocus());
    QCOMPARE(box->lineEdit()->selectedText(), QString("http://127.0.0.1:9/page"));
    // What the person types then replaces the address.
    QTest::keyClicks(Keys(h), "x");
    QCOMPARE(box->currentText(), QString("x"));
}

void tst_frmBrowser_Keys::escapeStopsOnlyALoad()
{
    Harness h;
    h.start();
    Activate(h);
    h.view->calls.clear();
    // Idle: Esc is the page's, nothing is stopped.
    Press(h, QKeySequence(Qt::Key_Escape));
    QVERIFY(h.view->CallsStartingWith("Stop").isEmpty());
    emit h.view->DownloadBegin();
    h.view->busy = true;
    Press(h, QKeySequence(Qt::Key_Escape));
    QCOMPARE(h.view->CallsStartingWith("Stop"), QStringList {"Stop"});
    QCOMPARE(h.w->txtStatus->text(), QString("Download Stopped"));
    h.view->busy = false;
    emit h.view->DownloadComplete();
    Press(h, QKeySequence(Qt::Key_Escape));
    QCOMPARE(h.view->CallsStartingWith("Stop").size(), 1);
}

void tst_frmBrowser_Keys::fullScreenKeys_data()
{
    QTest::addColumn<bool>("startFull");
    QTest::addColumn<bool>("loading");
    QTest::addColumn<bool>("finding"); // the find bar open, with the keys
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("endFull");
    QTest::addColumn<int>("stops");

    const QStringList f11 {"F11"}, esc {"Esc"};
    QTest::newRow("F11 in") << false << false << false << f11 << true << 0;
    QTest::newRow("F11 out") << true << false << false << f11 << false << 0;
    const QStringList inOutIn {"F11", "F11", "F11"};
    QTest::newRow("F11 in, out, in") << false << false << false << inOutIn << true << 0;
    QTest::newRow("Esc out") << true << false << false << esc << false << 0;
    const QStringList inEsc {"F11", "Esc"};
    QTest::newRow("F11 in, Esc out") << false << false << false << inEsc << false << 0;
    QTest::newRow("Esc stops a load, full screen stays")
        << true << true << false << esc << true << 1;
    QTest::newRow("Esc closes the find bar, full screen stays")
        << true << false << true << esc << true << 0;
    QTest::newRow("Esc in normal view stays") << false << false << false << esc << false << 0;
}

void tst_frmBrowser_Keys::fullScreenKeys()
{
    QFETCH(bool, startFull);
    QFETCH(bool, loading);
    QFETCH(bool, finding);
    QFETCH(QStringList, keys);
    QFETCH(bool, endFull);
    QFETCH(int, stops);
    Harness h;
    h.start();
    if (startFull)
        h.w->mnuFullScreen_Click();
    Activate(h);
    h.view->setFocus();
    if (finding) {
        Press(h, QKeySequence("Ctrl+F"));
        QVERIFY(h.w->findBar->isVisible());
    }
    if (loading) {
        emit h.view->DownloadBegin();
        h.view->busy = true;
    }
    h.view->calls.clear();
    for (const QString &key : keys)
        Press(h, QKeySequence(key));

    // What the person sees: the menu bar, or the small toolbar with its Normal View key.
    QCOMPARE(h.w->menuBar()->isHidden(), endFull);
    QCOMPARE(h.w->Toolbar1->isHidden(), !endFull);
    QCOMPARE(h.w->tbToolBar->isHidden(), endFull);
    QCOMPARE(h.w->settings.FullScreen, qint16(endFull ? 1 : 0));
    QCOMPARE(h.view->CallsStartingWith("Stop").size(), stops);
    if (finding)
        QVERIFY(h.w->findBar->isHidden());
}

void tst_frmBrowser_Keys::zoomShowsInTheStatusLine()
{
    Harness h;
    h.start();
    Activate(h);
    QLabel *zoom = h.w->lblZoom;
    QVERIFY(!zoom->isVisible());
    Press(h, QKeySequence("Ctrl++"));
    QCOMPARE(h.view->zoom, 1.1);
    QVERIFY(zoom->isVisible());
    QCOMPARE(zoom->text(), QString("Zoom 110%"));
    // Left of the progress bar, inside the status line.
    QVERIFY(zoom->geometry().right() < h.w->txtStatus->width() - h.w->ProgressBar1->width() + 1);
    QVERIFY(zoom->x() >= 0);
    Press(h, QKeySequence("Ctrl+="));
    QCOMPARE(h.view->zoom, 1.25);
    Press(h, QKeySequence("Ctrl+-"));
    Press(h, QKeySequence("Ctrl+-"));
    Press(h, QKeySequence("Ctrl+-"));
    QCOMPARE(h.view->zoom, 0.9);
    QCOMPARE(zoom->text(), QString("Zoom 90%"));
    // The wheel over the page, as the view tells it.
    emit h.view->ZoomWheel(2);
    QCOMPARE(h.view->zoom, 1.1);
    Press(h, QKeySequence("Ctrl+0"));
    QCOMPARE(h.view->zoom, 1.0);
    QVERIFY(!zoom->isVisible());
}

void tst_frmBrowser_Keys::closeKeysUnload_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Ctrl+W") << "Ctrl+W";
    QTest::newRow("Ctrl+Q") << "Ctrl+Q";
}

void tst_frmBrowser_Keys::closeKeysUnload()
{
    QFETCH(QString, key);
    Harness h;
    h.start();
    Activate(h);
    QSignalSpy unloaded(h.w.get(), &frmBrowser::Unloaded);
    QFile::remove(h.path("QuorBrowser.cfg"));
    Press(h, QKeySequence(key));
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(!h.w->isVisible());
    QVERIFY(QFile::exists(h.path("QuorBrowser.cfg")));
}

void tst_frmBrowser_Keys::newWindowKey()
{
    Harness h;
    h.start();
    Activate(h);
    Press(h, QKeySequence("Ctrl+N"));
    QCOMPARE(h.starter.started, 1);
    // Told as File > New tells it when no instance can start.
    h.starter.succeeds = false;
    Press(h, QKeySequence("Ctrl+N"));
    QCOMPARE(h.dialogs.messages, QStringList {frmBrowser::NewWindowFailed});
}

void tst_frmBrowser_Keys::findBar()
{
    Harness h;
    h.start();
    Activate(h);
    FindBar *bar = h.w->findBar;
    QVERIFY(bar->isHidden());
    Press(h, QKeySequence("Ctrl+F"));
    QVERIFY(bar->isVisible());
    QVERIFY(bar->txtFind->hasFocus());
    h.view->calls.clear();
    QTest::keyClicks(Keys(h), "ab");
    QCOMPARE(h.view->calls, (QStringList {"FindText:a,forward,all", "FindText:ab,forward,all"}));
    emit h.view->FindTextResult(1, 3);
    QCOMPARE(bar->lblMatches->text(), QString("1 of 3"));
    h.view->calls.clear();
    QTest::keyClick(Keys(h), Qt::Key_Return);
    QTest::keyClick(Keys(h), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(Keys(h), Qt::Key_Enter, Qt::KeypadModifier);
    Press(h, QKeySequence("F3"));
    Press(h, QKeySequence("Shift+F3"));
    QCOMPARE(
        h.view->calls,
        (QStringList {"FindText:ab,forward,all", "FindText:ab,back,all", "FindText:ab,forward,all",
                      "FindText:ab,forward,all", "FindText:ab,back,all"}));
    emit h.view->FindTextResult(0, 0);
    QCOMPARE(bar->lblMatches->text(), QString("No matches"));
    h.view->calls.clear();
    bar->chkHighlight->click();
    QCOMPARE(h.view->calls, QStringList {"FindText:ab,forward,one"});
    // Esc closes the bar, clears the marks and gives the keys back to the page, even while a
    // load runs (when Esc otherwise stops it).
    emit h.view->DownloadBegin();
    h.view->busy = true;
    h.view->calls.clear();
    QTest::keyClick(Keys(h), Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QCOMPARE(h.view->calls, QStringList {"FindText:,forward,all"});
    QVERIFY(h.view->hasFocus());
    // Opened again, the text is there, selected, and looked for again.
    h.view->calls.clear();
    Press(h, QKeySequence("Ctrl+F"));
    QCOMPARE(bar->txtFind->selectedText(), QString("ab"));
    QCOMPARE(h.view->calls, QStringList {"FindText:ab,forward,one"});
}

void tst_frmBrowser_Keys::findBarTakesNoRoomWhenClosed()
{
    Harness h;
    h.start();
    Activate(h);
    const QRect view = h.w->brwWebBrowser->geometry();
    Press(h, QKeySequence("Ctrl+F"));
    FindBar *bar = h.w->findBar;
    // Between the page and the status line, across the window.
    QCOMPARE(bar->geometry().bottom() + 1, h.w->txtStatus->y());
    QCOMPARE(h.w->brwWebBrowser->geometry().bottom() + 1, bar->y());
    QCOMPARE(bar->width(), h.w->centralWidget()->width());
    // With the status line hidden, at the bottom of the window.
    h.w->mnuStatusbar_Click();
    QCOMPARE(bar->geometry().bottom() + 1, h.w->centralWidget()->height());
    h.w->mnuStatusbar_Click();
    QTest::keyClick(Keys(h), Qt::Key_Escape);
    QCOMPARE(h.w->brwWebBrowser->geometry(), view);
    h.w->resize(h.w->width() + 40, h.w->height() + 30);
    QTRY_COMPARE(h.w->brwWebBrowser->height(), view.height() + 30);
}

void tst_frmBrowser_Keys::downloadsWindowFollowsADownload()
{
    Harness h;
    h.start();
    auto *download = new FakeDownload("/home/p/Downloads/report.pdf", 4 * 1024 * 1024, h.view);
    emit h.view->FileDownloadStarted(download);
    frmDownloads *list = h.w->DownloadsWindow;
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->windowTitle(), QString("Downloads"));
    QCOMPARE(h.w->txtStatus->text(), QString("Downloading report.pdf"));
    QCOMPARE(list->Rows().size(), 1);
    frmDownloads::Row *row = list->Rows().first();
    QCOMPARE(row->lblName->text(), QString("report.pdf"));
    QVERIFY(row->cmdCancel->isEnabled());
    QVERIFY(!row->cmdOpen->isEnabled());
    download->Receive(1024 * 1024);
    QCOMPARE(row->progress->value(), 250);
    QVERIFY(row->lblDetail->text().startsWith("1.0 MB of 4.0 MB"));
    download->Receive(4 * 1024 * 1024);
    download->End(Download::State::Completed);
    QCOMPARE(h.w->txtStatus->text(), QString("Download complete: report.pdf"));
    QCOMPARE(row->lblDetail->text(), QString("4.0 MB, done"));
    QVERIFY(!row->cmdCancel->isEnabled());
    row->cmdOpen->click();
    row->cmdOpenFolder->click();
    QCOMPARE(h.opener.opened, (QStringList {"/home/p/Downloads/report.pdf", "/home/p/Downloads"}));
    // Nothing to open it with: said, not silent.
    h.opener.succeeds = false;
    row->cmdOpen->click();
    QCOMPARE(h.dialogs.messages.size(), 1);

    // A second one, cancelled from the window; closed, the window comes back with both.
    list->close();
    auto *second = new FakeDownload("/home/p/Downloads/big.iso", -1, h.view);
    emit h.view->FileDownloadStarted(second);
    QVERIFY(list->isVisible());
    QCOMPARE(list->Rows().size(), 2);
    QCOMPARE(list->Rows().first()->progress->maximum(), 0); // moving, no end known
    list->Rows().first()->cmdCancel->click();
    QCOMPARE(second->cancels, 1);
    QCOMPARE(h.w->txtStatus->text(), QString("Download cancelled: big.iso"));
    second->End(Download::State::Failed, "x"); // a late word changes nothing told
    QCOMPARE(h.w->txtStatus->text(), QString("Download cancelled: big.iso"));
    list->close();
    Activate(h);
    Press(h, QKeySequence("Ctrl+J"));
    QVERIFY(list->isVisible());
}

void tst_frmBrowser_Keys::closingWhileADownloadRunsAsks_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("withoutAsking");
    QTest::newRow("No keeps both") << false << false;
    QTest::newRow("Yes stops it and closes") << true << false;
    QTest::newRow("a signal closes without asking") << false << true;
}

void tst_frmBrowser_Keys::closingWhileADownloadRunsAsks()
{
    QFETCH(bool, answerYes);
    QFETCH(bool, withoutAsking);
    Harness h;
    h.start();
    QSignalSpy unloaded(h.w.get(), &frmBrowser::Unloaded);
    auto *done = new FakeDownload("/d/done.txt", 10, h.view);
    emit h.view->FileDownloadStarted(done);
    done->End(Download::State::Completed);
    // A finished download asks nothing.
    auto *running = new FakeDownload("/d/big.iso", 100, h.view);
    emit h.view->FileDownloadStarted(running);
    h.dialogs.answerYes = answerYes;
    if (withoutAsking)
        h.w->CloseWithoutAsking();
    else
        h.w->close();
    const bool closes = answerYes || withoutAsking;
    QCOMPARE(h.dialogs.questions,
             withoutAsking ? QStringList() : QStringList {frmBrowser::DownloadRunningQuestion});
    QCOMPARE(unloaded.size(), closes ? 1 : 0);
    QCOMPARE(h.w->isVisible(), !closes);
    QCOMPARE(running->cancels, closes ? 1 : 0);
    QCOMPARE(done->cancels, 0);
    if (closes)
        return;
    // Once it has finished, the window closes without a word.
    running->End(Download::State::Completed);
    h.w->close();
    QCOMPARE(h.dialogs.questions.size(), 1);
    QCOMPARE(unloaded.size(), 1);
}

void tst_frmBrowser_Keys::linkMenuHandsOffInEveryMode_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("cancel all") << "all";
    QTest::newRow("allow parent") << "allow";
    QTest::newRow("allow all") << "allowie";
}

void tst_frmBrowser_Keys::linkMenuHandsOffInEveryMode()
{
    QFETCH(QString, word);
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"),
             "21127OCT99\r\n0\r\n" + word.toLatin1()
                 + "\r\nBlank\r\n9600\r\n6975\r\n0\r\n0\r\n0\r\n");
    h.start();
    emit h.view->StatusTextChange("Done");
    QVERIFY(h.view->RaiseNewWindow2(WindowGesture::LinkMenu, "http://127.0.0.1:9/linked"));
    QCOMPARE(h.starter.started, 1);
    QCOMPARE(ReadAll(h.path("Popupurl")), QByteArray("\"http://127.0.0.1:9/linked\"\r\n"));
    QVERIFY(h.w->lblCanceled->text().isEmpty());
}

void tst_frmBrowser_Keys::openFileStartsInTheLastFolder()
{
    Harness h;
    h.start();
    h.dialogs.openFileName = QString();
    h.w->mnuOpen_Click(); // cancelled: no folder learnt
    h.dialogs.openFileName = "/srv/pages/index.html";
    h.w->mnuOpen_Click();
    h.w->mnuOpen_Click();
    QCOMPARE(h.dialogs.openFolders,
             (QStringList {QDir::homePath(), QDir::homePath(), "/srv/pages"}));
    QCOMPARE(h.navigations().last(), QString("Navigate:/srv/pages/index.html"));
}

QTEST_MAIN(tst_frmBrowser_Keys)
#include "tst_frmBrowser_Keys.moc"
