#include "BrowserHarness.h"
#include "TestFiles.h"
#include "info/frmAbout.h"
#include "info/frmTip.h"
#include "settings/TextFields.h"

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

class tst_frmBrowser : public QObject
{
    Q_OBJECT
private slots:
    void menuBarInventory();
    void controlsAsDesigned();
    void everyControlHasAName();
    void firstPage_data();
    void firstPage();
    void handOffThatCannotBeEmptiedOpensOnce();
    void loadAppliesStoredSettings();
    void unreadableSettingsStillStart();
    void storedMinimizedOpensNormal();
    void folderThatCannotBeWrittenIsSaidOnce();
    void leftoversOfSavesCutShortGo();
    void noSettingsFileWritesBlankAndCancelAll();
    void closeWritesNineLines();
    void unloadClosesSecondaryWindows();
    void startUpMarks();
    void newAndClose();
    void aboutSplashAndTips();
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
                 h.w->Toolbar1->widgetForAction(frmBrowser::Button(h.w->Toolbar1, "View")))
                 ->text(QAccessible::Name),
             QString("Normal View"));
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

void tst_frmBrowser::handOffThatCannotBeEmptiedOpensOnce()
{
    // A hand-off file that reads but cannot be written (whoever runs the test): the page is
    // opened once, the person is told once, and the next start does not open it again.
    Harness h;
    QVERIFY(QFile::link("/proc/version", h.path("Popupurl")));
    const QString handedOver = ReadFirstField(h.path("Popupurl"));
    QVERIFY(!handedOver.isEmpty());
    WriteAll(h.path("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nall\r\nBlank\r\n");
    h.start();
    QCOMPARE(h.navigations(), QStringList {"Navigate:" + handedOver});
    QCOMPARE(h.dialogs.messages.size(), 1);
    h.w->close();

    // The next start in the same folder.
    h.w.reset();
    h.view = new FakeWebView;
    h.start();
    QCOMPARE(h.navigations(), QStringList {"Navigate:about:blank"});
    QCOMPARE(h.dialogs.messages.size(), 1);
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
    // The favorites are read once the first page is on its way, not before.
    QCOMPARE(w.List1->count(), 0);
    QTRY_COMPARE(w.List1->count(), 2);
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

void tst_frmBrowser::storedMinimizedOpensNormal()
{
    // A window closed while minimized (File > New's window) wrote state 1.
    Harness h;
    WriteAll(h.path("QuorBrowser.cfg"),
             "21127OCT99\r\n1\r\nall\r\nBlank\r\n9600\r\n6975\r\n1500\r\n3000\r\n0\r\n");
    h.start();
    QVERIFY(!(h.w->windowState() & Qt::WindowMinimized));
    QCOMPARE(h.w->pos(), QPoint(h.w->PixelsX(3000), h.w->PixelsY(1500)));
    QCOMPARE(h.w->frameGeometry().width(), h.w->PixelsX(9600));
}

void tst_frmBrowser::folderThatCannotBeWrittenIsSaidOnce()
{
    // A folder below a file: nobody can write there, root included.
    Harness h;
    WriteAll(h.path("file"), "x");
    const QString folder = h.path("file/folder");
    h.w = std::make_unique<frmBrowser>(h.Environment(h.view, QString(), folder));
    h.w->Form_Load();
    h.w->show();
    QTRY_COMPARE(h.dialogs.messages.size(), 1);
    QVERIFY(h.dialogs.messages.first().contains(QDir::toNativeSeparators(folder)));
    QCOMPARE(h.dialogs.titles.first(), QString("QuorBrowser"));
    // The window works on, and closing it says nothing more.
    h.w->close();
    QCOMPARE(h.dialogs.messages.size(), 1);
}

void tst_frmBrowser::leftoversOfSavesCutShortGo()
{
    Harness h;
    const QDateTime old = QDateTime::currentDateTime().addSecs(-600);
    for (const char *name : {"QuorBrowser.cfg.AbC123", "FavName.x1y2z3", "homepage2.Q9Q9Q9",
                             "Popupurl.aaaaaa", "QuorBrowser.cfg.new456", "mine.cfg.AbC123"}) {
        WriteAll(h.path(name), "x");
        QFile f(h.path(name));
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (QByteArray(name) != "QuorBrowser.cfg.new456")
            QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    h.start();
    QTRY_VERIFY(!QFile::exists(h.path("QuorBrowser.cfg.AbC123")));
    QVERIFY(!QFile::exists(h.path("FavName.x1y2z3")));
    QVERIFY(!QFile::exists(h.path("homepage2.Q9Q9Q9")));
    QVERIFY(!QFile::exists(h.path("Popupurl.aaaaaa")));
    // Another instance's save under way, and files that are not the program's, stay.
    QVERIFY(QFile::exists(h.path("QuorBrowser.cfg.new456")));
    QVERIFY(QFile::exists(h.path("mine.cfg.AbC123")));
    QVERIFY(h.dialogs.messages.isEmpty());
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
    // The engine main() named reaches About, over its version.
    QCOMPARE(about->lblVersion->toolTip(), QString(Harness::EngineLine));
    h.w->mnuAbout->trigger();
    QCOMPARE(h.w->AboutWindow.data(), about); // the same window again
    h.w->mnuSplash->trigger();
    h.w->mnuSplash->trigger();
    QCOMPARE(h.splashesMade, 1);
    h.w->mnuHelpTopics->trigger();
    QVERIFY(h.w->TipWindow && h.w->TipWindow->isVisible());
    QVERIFY(h.w->isEnabled()); // modeless
}

QTEST_MAIN(tst_frmBrowser)
#include "tst_frmBrowser.moc"
