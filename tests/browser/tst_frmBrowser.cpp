#include "FakeUserDialogs.h"
#include "FakeWebView.h"
#include "TestFiles.h"
#include "browser/frmBrowser.h"
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

namespace {

// One main window in its own application folder, with a fake view and fake dialogs.
struct Harness
{
    QTemporaryDir dir;
    FakeWebView *view = new FakeWebView;
    FakeUserDialogs dialogs;
    FakeInstanceStarter starter;
    std::unique_ptr<frmBrowser> w;
    int splashesMade = 0;

    QString path(const QString &name) const { return dir.filePath(name); }

    void create(const QString &commandLine = QString())
    {
        BrowserEnvironment env;
        env.view = view;
        env.appFolder = dir.path();
        env.commandLine = commandLine;
        env.starter = &starter;
        env.dialogs = &dialogs;
        env.makeSplash = [this] {
            ++splashesMade;
            auto *splash = new QWidget;
            splash->setObjectName("frmSplash");
            return splash;
        };
        env.supportPage = "http://127.0.0.1:9/support";
        env.homeSite = "http://127.0.0.1:9/";
        w = std::make_unique<frmBrowser>(env);
    }
    // The start: load sequence, then shown.
    void start(const QString &commandLine = QString())
    {
        create(commandLine);
        w->Form_Load();
        w->show();
    }
    QStringList navigations() const { return view->CallsStartingWith("Navigate:"); }
};

// Gives the box the keyboard focus as a click would, and returns the widget that key presses
// then reach: where a keyboard's keys go.
QWidget *FocusOn(QWidget *box)
{
    box->setFocus(Qt::MouseFocusReason);
    return QApplication::focusWidget() && box->hasFocus() ? QApplication::focusWidget() : nullptr;
}

// The menu bar as text: one line per item, in order, with its caption, shortcut and mark.
QStringList MenuInventory(QMenu *menu, const QString &path)
{
    QStringList lines;
    for (QAction *a : menu->actions()) {
        QString line = path + ">" + a->objectName();
        if (a->isSeparator()) {
            lines << line + " -";
            continue;
        }
        line += " \"" + a->text() + "\"";
        if (!a->shortcut().isEmpty())
            line += " " + a->shortcut().toString();
        if (a->isCheckable() && a->isChecked())
            line += " checked";
        if (!a->isEnabled() || !a->isVisible())
            line += " OFF";
        lines << line;
        if (a->menu())
            lines << MenuInventory(a->menu(), path + ">" + a->objectName());
    }
    return lines;
}

QStringList ToolbarKeys(QToolBar *bar)
{
    QStringList keys;
    for (QAction *a : bar->actions())
        keys << (a->isSeparator()
                     ? QString("-")
                     : a->property("Key").toString() + "|" + a->text() + "|" + a->toolTip());
    return keys;
}

} // namespace

class tst_frmBrowser : public QObject
{
    Q_OBJECT
private slots:
    void menuBarInventory();
    void controlsAsDesigned();
    void firstPage_data();
    void firstPage();
    void loadAppliesStoredSettings();
    void unreadableSettingsStillStart();
    void noSettingsFileWritesBlankAndCancelAll();
    void closeWritesNineLines();
    void unloadClosesSecondaryWindows();
    void startUpMarks();
    void newAndClose();
    void aboutSplashAndTips();

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

    void newWindow_data();
    void newWindow();
    void popupModesAreExclusiveAndSaved();
    void noticeFlashesSevenTicks();
    void secondRefusalRestartsNotice();
    void handOffFailuresAreTold();

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

    void layoutFollowsTheWindow();
    void minimumWidthSnapsBack();
    void viewToggles_data();
    void viewToggles();
    void fullScreenAndBack();
    void fullScreenSurvivesRestart();
    void toolbarButtons();
    void everyControlHasAName();
};

void tst_frmBrowser::menuBarInventory()
{
    Harness h;
    h.create();
    QStringList lines;
    for (QAction *top : h.w->menuBar()->actions()) {
        lines << top->objectName() + " \"" + top->text() + "\"";
        lines << MenuInventory(top->menu(), top->objectName());
    }
    const QStringList expected = {
        "mnuFile \"&File\"",
        "mnuFile>mnuNew \"&New\"",
        "mnuFile>mnuOpen \"&Open\" Ctrl+O",
        "mnuFile>mnuClose \"&Close\"",
        "mnuFile>mnuline -",
        "mnuFile>mnuSaveAs \"Save &As...\"",
        "mnuFile>mnuLine2 -",
        "mnuFile>munPageSetup \"Page Set&up...\"",
        "mnuFile>mnuPrint \"&Print...\" Ctrl+P",
        "mnuFile>mnuLine3 -",
        "mnuFile>mnuExit \"E&xit\"",
        "mnuEdit \"&Edit\"",
        "mnuEdit>mnuCut \"Cut\" Ctrl+X",
        "mnuEdit>mnuCopy \"&Copy\"",
        "mnuEdit>mnuPaste \"&Paste\"",
        "mnuEdit>mnuline4 -",
        "mnuEdit>mnuAll \"Select &All\" Ctrl+A",
        "mnuView \"&View\"",
        "mnuView>mnuAddressBar \"A&ddress Bar\" checked",
        "mnuView>mnuStatusbar \"Status&Bar\" checked",
        "mnuView>mnuToolBAr \"&ToolBar\" checked",
        "mnuView>mnuline6 -",
        "mnuView>mnuRefresh \"Refresh\" F5",
        "mnuView>mnuSource \"Sour&ce\"",
        "mnuView>mnuFullScreen \"Full Screen\" F11",
        "mnuPreferences \"&Preferences\"",
        "mnuPreferences>mnuPopUps \"&Pop-Ups\"",
        "mnuPreferences>mnuPopUps>mnuAllow \"Allow &Parent Windows\"",
        "mnuPreferences>mnuPopUps>mnuNoPopUps \"&Cancel All Windows\" checked",
        "mnuPreferences>mnuPopUps>mnuAllowIE \"&Allow All Windows\"",
        "mnuPreferences>mnuHomePage \"&Home Page\"",
        "mnuPreferences>mnuHomePage>mnugotohome \"&Go to Home\"",
        "mnuPreferences>mnuHomePage>mnuAddHome \"&Set Current as Home\"",
        "mnuPreferences>mnuHomePage>mnugotohome2 \"Go to Extra Home 2\"",
        "mnuPreferences>mnuHomePage>mnuAddHome2 \"Set Current as Extra Home 2\"",
        "mnuPreferences>mnuHomePage>mnugotohome3 \"Go to Extra Home 3\"",
        "mnuPreferences>mnuHomePage>mnuAddHome3 \"Set Current as Extra Home 3\"",
        "mnuPreferences>mnuSearch \"S&earch\"",
        "mnuPreferences>mnuSearch>mnuGotoSearch \"&Go to Search\"",
        "mnuPreferences>mnuSearch>mnuSetSearch \"&Set Current as Search Page\"",
        "mnuPreferences>mnuStartUp \"S&tart Up\"",
        "mnuPreferences>mnuStartUp>mnuBlank \"&Blank\" checked",
        "mnuPreferences>mnuStartUp>mnuStartHome \"Ho&me\"",
        "mnuPreferences>mnuAssociate \"Associate Files\"",
        "mnuFavorites \"&Favorites\"",
        "mnuFavorites>mnuAddToFav \"&Add Current Page\"",
        "mnuFavorites>mnuEditFav \"&Edit Favorites\"",
        "mnuHelp \"&Help\"",
        "mnuHelp>mnuAbout \"&About\"",
        "mnuHelp>mnuSplash \"&Splash\"",
        "mnuHelp>mnuSupport \"S&upport\"",
        "mnuHelp>mnuHelpTopics \"H&elp Topics\"",
    };
    QCOMPARE(lines, expected);
}

void tst_frmBrowser::controlsAsDesigned()
{
    Harness h;
    h.create();
    frmBrowser &w = *h.w;
    QCOMPARE(w.windowTitle(), QString("Ombrane Software"));
    const char *names[]
        = {"brwWebBrowser", "tbToolBar",  "Picture1",     "Toolbar1",    "Picture2",
           "Picture3",      "Picture4",   "Picture5",     "Picture6",    "cboAddress2",
           "picAddress",    "cboAddress", "cboBookMarks", "lbladd",      "lblFav",
           "lblCanceled",   "List1",      "txtStatus",    "ProgressBar1"};
    for (const char *name : names)
        QVERIFY2(w.findChild<QWidget *>(name), name);
    QCOMPARE(w.Picture1->toolTip(), QString("Go to Ombrane Software"));
    QCOMPARE(w.Picture2->toolTip(), QString("Go to Ombrane Software"));
    for (QLabel *p : {w.Picture3, w.Picture4, w.Picture5, w.Picture6})
        QCOMPARE(p->toolTip(), QString("Downloading..."));
    QCOMPARE(w.lbladd->text(), QString("Favorites"));
    QCOMPARE(w.lbladd->toolTip(), QString("Click to see favorites"));
    QCOMPARE(w.lblFav->text(), QString("Favorites:"));
    QCOMPARE(w.lblCanceled->text(), QString());
    // The notice fits the label whole.
    QVERIFY(w.lblCanceled->fontMetrics().horizontalAdvance("Pop-Up Window Canceled")
                + w.lblCanceled->contentsMargins().left()
            <= w.lblCanceled->width());
    QCOMPARE(w.List1->font().family(), QString("Comic Sans MS"));
    QVERIFY(w.List1->isHidden());
    QVERIFY(w.ProgressBar1->isHidden());
    QCOMPARE(w.ProgressBar1->minimum(), 1);
    QCOMPARE(w.ProgressBar1->maximum(), 100);
    QVERIFY(w.Toolbar1->isHidden());
    QCOMPARE(w.Timer1.interval(), 100);
    QCOMPARE(w.Timer2.interval(), 500);
    QCOMPARE(w.Timer4.interval(), 1000);
    QCOMPARE(w.timTimer.interval(), 5);
    for (QTimer *t : {&w.Timer1, &w.Timer2, &w.Timer4, &w.timTimer})
        QVERIFY(!t->isActive());
    QCOMPARE(ToolbarKeys(w.tbToolBar),
             (QStringList {"Back|Back|Back", "Forward|Forward|Forward", "-", "Stop|Stop|Stop",
                           "Refresh|Refresh|Refresh", "-", "Home|Home|Home Page",
                           "Home2|Extra|Extra Home Page", "Home3|Extra|Extra Home Page", "-",
                           "Add|Add Fav|Add Current Page to Favorites", "Search|Search|Search",
                           "Print|Print|Print", "IP|IP|IP Address", "Full|Full|Full Screen"}));
    QCOMPARE(
        ToolbarKeys(w.Toolbar1),
        (QStringList {"Open||Open File", "-", "Back||Back", "Forward||Forward", "Stop||Stop",
                      "Refresh||Refresh", "Home||Home", "Home2||Extra Home Page",
                      "Home3||Extra Home Page", "Search||Search", "Print||Print", "IP||IP Address",
                      "-", "Favorites||Favorites", "Add||Add Current Page To Favorites",
                      "Edit||Edit Favorites", "-", "View||Normal View", "-"}));
}

void tst_frmBrowser::firstPage_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QByteArray>("popupurl"); // file content; empty: no file
    QTest::addColumn<QString>("startMode");
    QTest::addColumn<QByteArray>("homePage");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QByteArray>("popupurlAfter");
    QTest::addColumn<bool>("blankChecked");

    const QByteArray none;
    QTest::newRow("command line with blanks")
        << "/tmp/My Pages/a b.html" << none << "Home" << none
        << QStringList {"Navigate:/tmp/My Pages/a b.html"} << QByteArray("<missing>") << false;
    QTest::newRow("command line leaves hand-off pending")
        << "http://127.0.0.1:9/cmd" << QByteArray("\"http://127.0.0.1:9/pop\"\r\n") << "Blank"
        << none << QStringList {"Navigate:http://127.0.0.1:9/cmd"}
        << QByteArray("\"http://127.0.0.1:9/pop\"\r\n") << true;
    QTest::newRow("hand-off opened once")
        << "" << QByteArray("\"http://127.0.0.1:9/pop\"\r\n") << "Home" << none
        << QStringList {"Navigate:http://127.0.0.1:9/pop"} << QByteArray("\"\"\r\n") << false;
    QTest::newRow("empty hand-off, Blank")
        << "" << QByteArray("\"\"\r\n") << "Blank" << none << QStringList {"Navigate:about:blank"}
        << QByteArray("\"\"\r\n") << true;
    QTest::newRow("Home with page file")
        << "" << none << "Home" << QByteArray("\"http://127.0.0.1:9/home\"\r\n")
        << QStringList {"Navigate:http://127.0.0.1:9/home"} << QByteArray("<missing>") << false;
    QTest::newRow("Home, empty page file")
        << "" << none << "Home" << QByteArray("\"\"\r\n") << QStringList {"GoHome"}
        << QByteArray("<missing>") << false;
    QTest::newRow("Home, no page file") << "" << none << "Home" << none << QStringList {"GoHome"}
                                        << QByteArray("<missing>") << false;
    QTest::newRow("nothing stored")
        << "" << none << "" << none << QStringList {} << QByteArray("<missing>") << true;
}

void tst_frmBrowser::firstPage()
{
    QFETCH(QString, commandLine);
    QFETCH(QByteArray, popupurl);
    QFETCH(QString, startMode);
    QFETCH(QByteArray, homePage);
    QFETCH(QStringList, calls);
    QFETCH(QByteArray, popupurlAfter);
    QFETCH(bool, blankChecked);

    Harness h;
    if (!popupurl.isEmpty())
        WriteAll(h.path("Popupurl"), popupurl);
    if (!homePage.isEmpty())
        WriteAll(h.path("homepage"), homePage); // written lower case, read as HomePage
    if (!startMode.isEmpty())
        WriteAll(h.path("QuorBrowser.cfg"),
                 "21127OCT99\r\n0\r\nall\r\n" + startMode.toLatin1() + "\r\n");
    h.start(commandLine);
    QCOMPARE(h.view->calls, calls);
    QCOMPARE(ReadAll(h.path("Popupurl")), popupurlAfter);
    QCOMPARE(h.w->mnuBlank->isChecked(), blankChecked);
    QCOMPARE(h.w->mnuStartHome->isChecked(), !blankChecked);
}

void tst_frmBrowser::loadAppliesStoredSettings()
{
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"),
             "21127OCT99\r\n2\r\nallow\r\nHome\r\n12000\r\n9000\r\n300\r\n450\r\n1\r\n");
    WriteAll(h.path("HomePage"), "\"http://127.0.0.1:9/home\"\r\n");
    WriteAll(h.path("Favorites"), "\"http://127.0.0.1:9/a\"\r\n\"http://127.0.0.1:9/b\"\r\n");
    WriteAll(h.path("FavName"), "\"A, the first\"\r\n\"B\"\r\n");
    h.start();
    frmBrowser &w = *h.w;
    QVERIFY(w.mnuAllow->isChecked());
    QVERIFY(!w.mnuNoPopUps->isChecked());
    QVERIFY(!w.mnuAllowIE->isChecked());
    QVERIFY(w.mnuStartHome->isChecked());
    QVERIFY(!w.mnuBlank->isChecked());
    // Full screen with the stored state (maximized): no menu bar, no strip, no main toolbar, no
    // status line, and the small toolbar.
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    QVERIFY(w.menuBar()->isHidden());
    QVERIFY(!w.mnuFile->menuAction()->isVisible());
    QVERIFY(w.picAddress->isHidden());
    QVERIFY(w.tbToolBar->isHidden());
    QVERIFY(w.txtStatus->isHidden());
    QVERIFY(!w.Toolbar1->isHidden());
    QCOMPARE(w.StatusLineHidden, qint16(1));
    QVERIFY(!w.mnuToolBAr->isChecked());
    QCOMPARE(h.view->calls, QStringList {"Navigate:http://127.0.0.1:9/home"});
    QCOMPARE(w.List1->count(), 2);
    QCOMPARE(w.List1->item(0)->text(), QString("A, the first"));
    QCOMPARE(w.cboBookMarks->itemText(1), QString("http://127.0.0.1:9/b"));
}

void tst_frmBrowser::unreadableSettingsStillStart()
{
    Harness h;
    WriteAll(h.path("quorbrowser.CFG"), QByteArray("\xff\x00\"\x01,,\r\r\x80", 9));
    h.start();
    QVERIFY(h.w->isVisible());
    QVERIFY(h.w->mnuNoPopUps->isChecked());
    h.w->close();
    const QList<QByteArray> lines = ReadAll(h.path("quorbrowser.CFG")).split('\n');
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QByteArray("21127OCT99\r"));
    QCOMPARE(lines[2], QByteArray("all\r"));
    QCOMPARE(lines[3], QByteArray("Blank\r"));
}

void tst_frmBrowser::noSettingsFileWritesBlankAndCancelAll()
{
    Harness h;
    h.start();
    QVERIFY(h.view->calls.isEmpty());
    QVERIFY(h.w->mnuBlank->isChecked());
    // A first start keeps a usable window size rather than shrinking to nothing.
    QVERIFY(h.w->width() > 400);
    h.w->close();
    const QList<QByteArray> lines = ReadAll(h.path("QuorBrowser.cfg")).split('\n');
    QCOMPARE(lines.mid(0, 4), (QList<QByteArray> {"21127OCT99\r", "0\r", "all\r", "Blank\r"}));
}

void tst_frmBrowser::closeWritesNineLines()
{
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"),
             "21127OCT99\r\n0\r\nallowie\r\nHome\r\n12000\r\n7500\r\n600\r\n750\r\n0\r\n");
    h.start();
    QSignalSpy unloaded(h.w.get(), &frmBrowser::Unloaded);
    h.w->mnuExit_Click();
    QCOMPARE(unloaded.count(), 1);
    const QByteArray cfg = ReadAll(h.path("QuorBrowser.cfg"));
    const QRegularExpression format(
        "^21127OCT99\r\n0\r\nallowie\r\nHome\r\n(-?\\d+(\\.\\d+)?\r\n){4}0\r\n$");
    QVERIFY2(format.match(QString::fromLatin1(cfg)).hasMatch(), cfg.constData());
    const QStringList lines = QString::fromLatin1(cfg).split("\r\n");
    // The window took the stored size (offscreen: no frame), and gives it back in twips.
    QCOMPARE(lines[4], QString::number(h.w->frameGeometry().width() * h.w->TwipsPerPixelX()));
    QCOMPARE(lines[4], QString("12000"));
    QCOMPARE(lines[5], QString("7500"));
}

void tst_frmBrowser::unloadClosesSecondaryWindows()
{
    Harness h;
    h.start();
    h.w->mnuAbout_Click();
    h.w->mnuSplash_Click();
    h.w->mnuHelpTopics_Click();
    QPointer<frmAbout> about = h.w->AboutWindow;
    QPointer<QWidget> splash = h.w->SplashWindow;
    QPointer<frmTip> tip = h.w->TipWindow;
    QVERIFY(about && about->isVisible());
    QVERIFY(splash && splash->isVisible());
    h.w->close();
    QVERIFY(!about || !about->isVisible());
    QVERIFY(!splash->isVisible());
    QVERIFY(!tip || !tip->isVisible());
    QVERIFY(QFile::exists(h.path("QuorBrowser.cfg")));
    delete splash.data();
}

void tst_frmBrowser::startUpMarks()
{
    Harness h;
    h.start();
    h.w->mnuBlank->trigger(); // already checked
    QVERIFY(h.w->mnuBlank->isChecked());
    QVERIFY(!h.w->mnuStartHome->isChecked());
    h.w->mnuStartHome->trigger();
    QVERIFY(h.w->mnuStartHome->isChecked());
    QVERIFY(!h.w->mnuBlank->isChecked());
    h.w->mnuStartHome->trigger();
    QVERIFY(h.w->mnuStartHome->isChecked());
    QVERIFY(h.view->calls.isEmpty()); // nothing is navigated now
    h.w->close();
    QVERIFY(ReadAll(h.path("QuorBrowser.cfg")).contains("\r\nHome\r\n"));
}

void tst_frmBrowser::newAndClose()
{
    Harness h;
    h.start();
    h.w->mnuNew->trigger();
    QCOMPARE(h.starter.started, 1);
    QVERIFY(h.dialogs.messages.isEmpty());
    h.starter.succeeds = false;
    h.w->mnuNew->trigger();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.titles.value(0), QString("QuorBrowser"));
    QVERIFY(h.w->isVisible());
    h.w->mnuClose->trigger();
    QCOMPARE(h.view->calls, QStringList {"Navigate:about:blank"});
    QVERIFY(h.w->isVisible());
}

void tst_frmBrowser::aboutSplashAndTips()
{
    Harness h;
    h.start();
    h.w->mnuAbout->trigger();
    frmAbout *about = h.w->AboutWindow;
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QString("About"));
    QCOMPARE(about->lblTitle->text(), QString("QuorBrowser"));
    QVERIFY(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$")
                .match(about->lblVersion->text())
                .hasMatch());
    QVERIFY(about->lblDescription->text().startsWith("This program is an Internet Browser"));
    h.w->mnuAbout->trigger();
    QCOMPARE(h.w->AboutWindow.data(), about); // the same window again
    h.w->mnuSplash->trigger();
    h.w->mnuSplash->trigger();
    QCOMPARE(h.splashesMade, 1);
    h.w->mnuHelpTopics->trigger();
    QVERIFY(h.w->TipWindow && h.w->TipWindow->isVisible());
    QVERIFY(h.w->isEnabled()); // modeless
}

// ---------------------------------------------------------------------------------------------

void tst_frmBrowser::statusText_data()
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

void tst_frmBrowser::statusText()
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

void tst_frmBrowser::commandState_data()
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

void tst_frmBrowser::commandState()
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
    QCOMPARE(frmBrowser::Button(h.w->tbToolBar, 1)->isEnabled(), backEnabled);
    QCOMPARE(frmBrowser::Button(h.w->Toolbar1, 3)->isEnabled(), backEnabled);
    QCOMPARE(frmBrowser::Button(h.w->tbToolBar, 2)->isEnabled(), forwardEnabled);
    QCOMPARE(frmBrowser::Button(h.w->Toolbar1, 4)->isEnabled(), forwardEnabled);
}

void tst_frmBrowser::downloadBeginAndComplete_data()
{
    QTest::addColumn<bool>("statusLineShown");
    QTest::addColumn<bool>("begin");
    QTest::newRow("shown") << true << true;
    QTest::newRow("hidden") << false << true;
    QTest::newRow("complete without begin") << true << false;
}

void tst_frmBrowser::downloadBeginAndComplete()
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

void tst_frmBrowser::progressWraps()
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

void tst_frmBrowser::activityPicturesCycle()
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

void tst_frmBrowser::captionOnceIdle()
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

void tst_frmBrowser::navigateCompleteHeadsBothLists()
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

// ---------------------------------------------------------------------------------------------

void tst_frmBrowser::newWindow_data()
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

void tst_frmBrowser::newWindow()
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

void tst_frmBrowser::popupModesAreExclusiveAndSaved()
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

void tst_frmBrowser::noticeFlashesSevenTicks()
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

void tst_frmBrowser::secondRefusalRestartsNotice()
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

void tst_frmBrowser::handOffFailuresAreTold()
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

// ---------------------------------------------------------------------------------------------

void tst_frmBrowser::enterNavigatesWithTextUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("enterKey");
    QTest::newRow("word") << "example" << int(Qt::Key_Return);
    QTest::newRow("empty") << "" << int(Qt::Key_Return);
    QTest::newRow("spaces around") << "  127.0.0.1:9/page  " << int(Qt::Key_Return);
    QTest::newRow("path with blanks") << "/tmp/My Pages/a b.html" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << "127.0.0.1:9/kp" << int(Qt::Key_Enter);
}

void tst_frmBrowser::enterNavigatesWithTextUnchanged()
{
    QFETCH(QString, text);
    QFETCH(int, enterKey);
    Harness h;
    h.start();
    QVERIFY(QTest::qWaitForWindowActive(h.w.get()));
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

void tst_frmBrowser::typingWithoutEnterNeverNavigates()
{
    Harness h;
    h.start();
    QVERIFY(QTest::qWaitForWindowActive(h.w.get()));
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

void tst_frmBrowser::pickingAnEntryNavigates_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("other entry, mouse") << 1 << false;
    QTest::newRow("other entry, keyboard") << 1 << true;
    QTest::newRow("entry already shown, mouse") << 0 << false;
    QTest::newRow("entry already shown, keyboard") << 0 << true;
}

void tst_frmBrowser::pickingAnEntryNavigates()
{
    QFETCH(int, row);
    QFETCH(bool, byKeyboard);
    Harness h;
    h.start();
    QVERIFY(QTest::qWaitForWindowActive(h.w.get()));
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

void tst_frmBrowser::goToSlot_data()
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

void tst_frmBrowser::goToSlot()
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

void tst_frmBrowser::setCurrentAs_data()
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

void tst_frmBrowser::setCurrentAs()
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

void tst_frmBrowser::setCurrentAsInUnwritableFolder()
{
    // An application folder that is a file cannot take any file, whoever runs the test.
    Harness h;
    WriteAll(h.path("folder"), "not a folder");
    BrowserEnvironment env;
    env.view = h.view;
    env.appFolder = h.path("folder");
    env.starter = &h.starter;
    env.dialogs = &h.dialogs;
    frmBrowser w(env);
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

void tst_frmBrowser::fixedDestinations()
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

// ---------------------------------------------------------------------------------------------

void tst_frmBrowser::layoutFollowsTheWindow()
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

void tst_frmBrowser::minimumWidthSnapsBack()
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

void tst_frmBrowser::viewToggles_data()
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

void tst_frmBrowser::viewToggles()
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

void tst_frmBrowser::fullScreenAndBack()
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
    QAction *view = frmBrowser::Button(w.Toolbar1, 18);
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

void tst_frmBrowser::fullScreenSurvivesRestart()
{
    Harness h;
    h.start();
    frmBrowser::Button(h.w->tbToolBar, 15)->trigger(); // "Full"
    h.w->close();
    QVERIFY(ReadAll(h.path("QuorBrowser.cfg")).endsWith("\r\n1\r\n"));

    Harness again;
    QFile::copy(h.path("QuorBrowser.cfg"), again.path("QuorBrowser.cfg"));
    again.start();
    QVERIFY(again.w->menuBar()->isHidden());
    QVERIFY(!again.w->Toolbar1->isHidden());
    QVERIFY(again.w->picAddress->isHidden());
}

void tst_frmBrowser::toolbarButtons()
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

void tst_frmBrowser::everyControlHasAName()
{
    // What a person can click or type into has a name a screen reader can say.
    Harness h;
    h.start();
    h.w->mnuFullScreen_Click(); // the full-screen keys as well
    h.w->NormalView();
    QStringList nameless;
    for (QWidget *widget : h.w->findChildren<QWidget *>()) {
        const bool usable = widget->focusPolicy() != Qt::NoFocus
            || qobject_cast<QAbstractButton *>(widget) || qobject_cast<ClickLabel *>(widget);
        if (!usable || qobject_cast<QMenu *>(widget)
            || widget->objectName() == "qt_scrollarea_viewport")
            continue;
        if (widget->window() != h.w.get()
            || (widget->parentWidget() && qobject_cast<QComboBox *>(widget->parentWidget())))
            continue; // a combo box's own line edit and drop-down list speak through the box
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            nameless << QString("%1 (%2)").arg(widget->objectName(),
                                               widget->metaObject()->className());
    }
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(", ")));
    QCOMPARE(QAccessible::queryAccessibleInterface(h.w->cboAddress)->text(QAccessible::Name),
             QString("Address"));
    QCOMPARE(QAccessible::queryAccessibleInterface(
                 h.w->Toolbar1->widgetForAction(frmBrowser::Button(h.w->Toolbar1, 18)))
                 ->text(QAccessible::Name),
             QString("Normal View"));
}

QTEST_MAIN(tst_frmBrowser)
#include "tst_frmBrowser.moc"
