// The main window's life cycle: load, unload and the settings, the first page, and the
// commands for the window and the process as a whole (New, Close, Exit, Start Up, the
// secondary windows).

#include "browser/frmBrowser.h"

#include "associations/frmMain.h"
#include "browser/FirstPage.h"
#include "browser/frmDownloads.h"
#include "favorites/FavoritesFiles.h"
#include "favorites/frmDelFav.h"
#include "forms/DesignedForm.h"
#include "info/frmAbout.h"
#include "info/frmTip.h"
#include "services/InstanceStarter.h"
#include "services/UserDialogs.h"
#include "settings/AppFolder.h"
#include "settings/PopupHandoff.h"
#include "settings/SaveFile.h"
#include "settings/StartupTrace.h"
#include "settings/TextFields.h"
#include "webview/WebView.h"

#include <QCloseEvent>
#include <QDir>
#include <QTemporaryFile>
#include <QToolBar>

frmBrowser::frmBrowser(const BrowserEnvironment &env, QWidget *parent)
    : QMainWindow(parent)
    , CommonDialog1(env.dialogs)
    , m_env(env)
{
    m_clock.start();
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Ombrane Software"));
    BuildMenus();
    TraceStartup("menus built");
    BuildControls();
    TraceStartup("controls built");
    ConnectEvents();
    BuildKeys();
    m_built = true;
}

frmBrowser::~frmBrowser()
{
    // ~QWidget closes the window and deletes its controls after this destructor: a control that
    // loses the focus then (the favorites pop-up) would call a handler of a window that is gone.
    for (QObject *control : findChildren<QObject *>())
        QObject::disconnect(control, nullptr, this, nullptr);
    // The secondary windows are top-level windows of their own; they go with the main window.
    delete AboutWindow.data();
    delete TipWindow.data();
    delete DelFavWindow.data();
    delete AssociateWindow.data();
    delete DownloadsWindow.data();
    delete SplashWindow.data();
}

void frmBrowser::Form_Load()
{
    tbToolBar->update();
    LoadConfig();
    TraceStartup("settings read");
    // The favorites are not needed for the first page.
    QTimer::singleShot(0, this, [this] { EnsureFavorites(); });
    RestorePopupMode();
    if (settings.FullScreen == 1)
        ShowFullScreenArrangement();
    ApplyWindowSettings();
    Form_Resize();
    TraceStartup("window arranged");
    FirstPageStep();
    TraceStartup("first page asked for");
    QTimer::singleShot(0, this, [this] { CheckApplicationFolder(); });
}

void frmBrowser::CheckApplicationFolder()
{
    // Saves cut short by a kill leave their temporary files; one younger than a minute may be
    // another instance's save under way.
    QStringList written
        = {QString::fromLatin1(SettingsFileName), QString::fromLatin1(FavoritesFileName),
           QString::fromLatin1(FavNameFileName),  PageFileWriteName(PageSlot::Home),
           PageFileWriteName(PageSlot::Home2),    PageFileWriteName(PageSlot::Home3),
           PageFileWriteName(PageSlot::Search)};
    written += HandoffFileNames();
    RemoveLeftoverSaves(m_env.appFolder, written, QDateTime::currentDateTime().addSecs(-60));
    // Nothing of this run could be kept: said once, now, not lost silently at the end.
    QTemporaryFile probe(QDir(m_env.appFolder).filePath(QStringLiteral("write-check-XXXXXX")));
    if (!probe.open())
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("QuorBrowser cannot write in its folder %1. Settings, home pages and "
                           "favorites changed in this run will not be kept.")
                .arg(QDir::toNativeSeparators(m_env.appFolder)),
            QLatin1String(ProductTitle));
}

void frmBrowser::LoadConfig()
{
    ReadConfigFile(m_env.appFolder, settings);
}

void frmBrowser::SaveConfig()
{
    settings.Stamp = QString::fromLatin1(SettingsStamp);
    const Qt::WindowStates state = windowState();
    settings.WindowState = (state & Qt::WindowMinimized) ? 1
        : (state & Qt::WindowMaximized)                  ? 2
                                                         : 0;
    const QRect frame = frameGeometry();
    settings.WindowWidth = frame.width() * TwipsPerPixelX();
    settings.WindowHeight = frame.height() * TwipsPerPixelY();
    settings.WindowTop = frame.top() * TwipsPerPixelY();
    settings.WindowLeft = frame.left() * TwipsPerPixelX();
    StorePopupMode();
    if (mnuBlank->isChecked())
        settings.StartMode = QStringLiteral("Blank");
    if (mnuStartHome->isChecked())
        settings.StartMode = QStringLiteral("Home");
    // A folder that cannot be written must not keep the window from closing.
    WriteConfigFile(m_env.appFolder, settings);
}

void frmBrowser::FirstPageStep()
{
    const QString handoff = PendingHandoff(m_env.appFolder);
    const FirstPagePlan plan = DecideFirstPage(m_env.commandLine, handoff, settings.StartMode);
    if (plan.go == FirstPagePlan::Go::Address)
        brwWebBrowser->Navigate(plan.address);
    if (plan.consumeHandoff && !TakeHandoff(m_env.appFolder, handoff))
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("The page handed over by another QuorBrowser window is open, but the "
                           "file %1 cannot be emptied.")
                .arg(QDir::toNativeSeparators(HandoffPath(m_env.appFolder))),
            QLatin1String(ProductTitle));
    if (plan.marks == FirstPagePlan::Marks::Blank)
        mnuBlank_Click();
    else if (plan.marks == FirstPagePlan::Marks::Home)
        mnuStartHome_Click();
    // The home page after the marks: it is read from its file only now.
    if (plan.go == FirstPagePlan::Go::HomePage)
        GoToPage(PageSlot::Home);
}

void frmBrowser::closeEvent(QCloseEvent *event)
{
    if (!MayClose()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmBrowser::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (AboutWindow)
        AboutWindow->close();
    if (DelFavWindow)
        DelFavWindow->close(); // saves the favorites being edited
    if (SplashWindow)
        SplashWindow->close();
    SaveConfig();
    // The windows left close with the main window.
    if (TipWindow)
        TipWindow->close();
    if (AssociateWindow)
        AssociateWindow->close();
    if (DownloadsWindow)
        DownloadsWindow->close();
    emit Unloaded();
}

bool frmBrowser::StartNewInstance()
{
    if (m_env.starter && m_env.starter->StartInstance())
        return true;
    CommonDialog1->MessageBox(this, QLatin1String(NewWindowFailed), QLatin1String(ProductTitle));
    return false;
}

void frmBrowser::mnuNew_Click()
{
    StartNewInstance();
}

void frmBrowser::mnuClose_Click()
{
    brwWebBrowser->Navigate(QStringLiteral("about:blank"));
}

void frmBrowser::mnuExit_Click()
{
    close();
}

void frmBrowser::mnuBlank_Click()
{
    mnuBlank->setChecked(true);
    mnuStartHome->setChecked(false);
}

void frmBrowser::mnuStartHome_Click()
{
    mnuStartHome->setChecked(true);
    mnuBlank->setChecked(false);
}

void frmBrowser::mnuAbout_Click()
{
    if (!AboutWindow) {
        AboutWindow
            = new frmAbout(brwWebBrowser, m_env.supportMail, m_env.sysInfo, m_env.engineVersion);
        AboutWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringToFront(AboutWindow);
}

void frmBrowser::mnuSplash_Click()
{
    if (!SplashWindow && m_env.makeSplash)
        SplashWindow = m_env.makeSplash();
    if (!SplashWindow)
        return;
    SplashWindow->show();
    SplashWindow->raise();
    SplashWindow->repaint();
}

void frmBrowser::mnuHelpTopics_Click()
{
    if (!TipWindow) {
        TipWindow = new frmTip();
        TipWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringToFront(TipWindow);
}
