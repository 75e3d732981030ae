#pragma once

#include "browser/AddressBox.h"
#include "browser/ClickLabel.h"
#include "browser/FavoritesList.h"
#include "browser/PopupPolicy.h"
#include "browser/Toolbars.h"
#include "forms/DesignedForm.h"
#include "settings/PageFiles.h"
#include "settings/Settings.h"
#include "webview/CaptionThrottle.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>

class DesktopOpener;
class Download;
class FindBar;
class InstanceStarter;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QToolBar;
class UserDialogs;
class WebView;
class frmAbout;
class frmDownloads;
class frmDelFav;
struct FavoritesPair;
class FavoriteText;
class NativeWindows;
class frmMain;
class FileAssociations;
class SocketLayer;
class SystemInformation;
class frmTip;

// What the main window needs from outside the process, handed in by the start routine (and by
// tests, with fakes).
struct BrowserEnvironment
{
    WebView *view = nullptr; // becomes brwWebBrowser; the window takes it over
    QString appFolder; // where every file of the program lives
    QString commandLine; // the whole text after the program's name
    InstanceStarter *starter = nullptr;
    UserDialogs *dialogs = nullptr;
    std::function<QWidget *()> makeSplash; // builds the splash window
    QString supportPage;
    QString homeSite;
    QString supportMail;
    QString engineVersion; // the web engine on one line, for About (EngineVersionLine)
    SocketLayer *sockets = nullptr; // finds the machine's address
    FileAssociations *associations = nullptr; // the association wizard's desktop
    QString associationProgram; // the program documents are opened with
    SystemInformation *sysInfo = nullptr; // About's System Info
    NativeWindows *nativeWindows = nullptr; // nullptr: every window is taken to exist
    DesktopOpener *opener = nullptr; // opens downloaded files; nullptr: the desktop's
};

// The program's one browser window.
class frmBrowser : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmBrowser(const BrowserEnvironment &env, QWidget *parent = nullptr);
    ~frmBrowser() override;

    static constexpr const char *CaptionSuffixLoading = "  - Ombrane Software";
    static constexpr const char *CaptionSuffixDone = " - Ombrane Software";
    static constexpr const char *PopupNotice = "Pop-Up Window Canceled";
    // The title of the program's messages.
    static constexpr const char *ProductTitle = ProductTitleText;
    static constexpr const char *NewWindowFailed = "A new QuorBrowser window could not be started.";
    static constexpr const char *DownloadRunningQuestion
        = "A download is still running. Stop it and close?";

    // The load sequence; runs once, before the window is first shown.
    void Form_Load();
    // The layout routine: places the view and the bars' contents for the window's size.
    void Form_Resize();
    // Empties and reloads both favorites lists from their files.
    void LoadFavList();
    // Empties both favorites lists and fills them with these entries, as read from the files.
    void ShowFavList(const FavoritesPair &pair);
    // Reads the favorites unless they have been read: at the start they wait until the first
    // page has been asked for, or until they are first needed.
    void EnsureFavorites();

    // Menu and control handlers.
    void mnuNew_Click();
    void mnuClose_Click();
    void mnuExit_Click();
    void mnuBlank_Click();
    void mnuStartHome_Click();
    void mnuAbout_Click();
    void mnuSplash_Click();
    void mnuAddressBar_Click();
    void mnuStatusbar_Click();
    void mnuToolBAr_Click();
    void mnuFullScreen_Click();
    void NormalView();
    void mnuAllow_Click();
    void mnuNoPopUps_Click();
    void mnuAllowIE_Click();
    void mnuAssociate_Click();
    void mnuAddToFav_Click();
    void mnuEditFav_Click();
    void mnugotohome_Click() { GoToPage(PageSlot::Home); }
    void mnugotohome2_Click() { GoToPage(PageSlot::Home2); }
    void mnugotohome3_Click() { GoToPage(PageSlot::Home3); }
    void mnuGotoSearch_Click() { GoToPage(PageSlot::Search); }
    void mnuAddHome_Click() { SetCurrentAs(PageSlot::Home); }
    void mnuAddHome2_Click() { SetCurrentAs(PageSlot::Home2); }
    void mnuAddHome3_Click() { SetCurrentAs(PageSlot::Home3); }
    void mnuSetSearch_Click() { SetCurrentAs(PageSlot::Search); }
    void mnuSupport_Click();
    void mnuHelpTopics_Click();
    void Picture1_Click();
    void Picture2_Click();
    void lbladd_Click();
    void mnuOpen_Click();
    void mnuSaveAs_Click();
    void munPageSetup_Click();
    void mnuPrint_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuAll_Click();
    void mnuRefresh_Click();
    void mnuSource_Click();
    void tbToolBar_ButtonClick(QAction *button);
    void Toolbar1_ButtonClick(QAction *button);
    // What the toolbars' keys run beyond the menus' handlers (Toolbars.cpp).
    void GoBackKey();
    void GoForwardKey();
    void ToggleIPAddressLabel();
    void IPAddressToBox();
    void StopButton();
    // The favorites pop-up: shown over the page, hidden by nearly everything else.
    void ShowFavorites();

    void cboAddress_Click();
    void cboAddress_KeyPress(int keyAscii);
    void cboAddress_Change();
    void cboAddress_GotFocus();
    void cboAddress2_Click();
    void cboAddress2_KeyPress(int keyAscii);
    void cboAddress2_Change();
    void cboAddress2_GotFocus();

    // Web view events.
    void brwWebBrowser_StatusTextChange(const QString &text);
    void brwWebBrowser_CommandStateChange(int command, bool enable);
    void brwWebBrowser_DownloadBegin();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2();
    void brwWebBrowser_TitleChange(const QString &title);
    void brwWebBrowser_NewWindow2(const WindowRequest &request, WindowAnswer *answer);

    // Beyond the menus: the usual keys, zoom, find in the page and the downloads.
    void FocusAddressBox();
    void KeyBack();
    void KeyForward();
    void KeyStop();
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    void ShowFindBar();
    void FindNext();
    void FindPrevious();
    void ShowDownloads();
    void findBar_Find(const QString &text, bool backward, bool highlightAll);
    void findBar_Closed();
    void brwWebBrowser_FindTextResult(int active, int total);
    void brwWebBrowser_ZoomWheel(int steps);
    void brwWebBrowser_FileDownloadStarted(Download *download);
    void DownloadsWindow_DownloadEnded(Download *download);
    // Closes as a signal or the window system asks: no question, running downloads stop.
    void CloseWithoutAsking();

    // Timer ticks.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer4_Timer();
    void timTimer_Timer();

    // Controls, named as the program knows them.
    WebView *brwWebBrowser = nullptr;
    QToolBar *tbToolBar = nullptr;
    ClickLabel *Picture1 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    ClickLabel *Picture2 = nullptr;
    QLabel *Picture3 = nullptr;
    QLabel *Picture4 = nullptr;
    QLabel *Picture5 = nullptr;
    QLabel *Picture6 = nullptr;
    AddressBox *cboAddress2 = nullptr;
    QWidget *picAddress = nullptr;
    AddressBox *cboAddress = nullptr;
    QComboBox *cboBookMarks = nullptr;
    ClickLabel *lbladd = nullptr;
    QLabel *lblFav = nullptr;
    QLabel *lblCanceled = nullptr;
    FavoritesList *List1 = nullptr;
    QLineEdit *txtStatus = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    UserDialogs *CommonDialog1 = nullptr;
    FindBar *findBar = nullptr; // under the page while open
    QLabel *lblZoom = nullptr; // in the status line, while the zoom is not 100%
    QAction *keyStop = nullptr; // Esc
    QAction *keyFullScreen = nullptr; // F11 while the menu bar that carries it is hidden
    QTimer Timer1;
    QTimer Timer2;
    QTimer Timer4;
    QTimer timTimer;

    QMenu *mnuFile = nullptr;
    QAction *mnuNew = nullptr, *mnuOpen = nullptr, *mnuClose = nullptr, *mnuSaveAs = nullptr,
            *munPageSetup = nullptr, *mnuPrint = nullptr, *mnuExit = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuCut = nullptr, *mnuCopy = nullptr, *mnuPaste = nullptr, *mnuAll = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuAddressBar = nullptr, *mnuStatusbar = nullptr, *mnuToolBAr = nullptr,
            *mnuRefresh = nullptr, *mnuSource = nullptr, *mnuFullScreen = nullptr;
    QMenu *mnuPreferences = nullptr;
    QMenu *mnuPopUps = nullptr;
    QAction *mnuAllow = nullptr, *mnuNoPopUps = nullptr, *mnuAllowIE = nullptr;
    QMenu *mnuHomePage = nullptr;
    QAction *mnugotohome = nullptr, *mnuAddHome = nullptr, *mnugotohome2 = nullptr,
            *mnuAddHome2 = nullptr, *mnugotohome3 = nullptr, *mnuAddHome3 = nullptr;
    QMenu *mnuSearch = nullptr;
    QAction *mnuGotoSearch = nullptr, *mnuSetSearch = nullptr;
    QMenu *mnuStartUp = nullptr;
    QAction *mnuBlank = nullptr, *mnuStartHome = nullptr;
    QAction *mnuAssociate = nullptr;
    QMenu *mnuFavorites = nullptr;
    QAction *mnuAddToFav = nullptr, *mnuEditFav = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuAbout = nullptr, *mnuSplash = nullptr, *mnuSupport = nullptr,
            *mnuHelpTopics = nullptr;

    // State shared by the handlers.
    Settings settings;
    qint16 StatusLineHidden = 0;
    bool UpdatingAddressLists = false;
    qint16 NoticeFlashCount = 0;

    // The secondary windows, while open.
    QPointer<frmAbout> AboutWindow;
    QPointer<frmTip> TipWindow;
    QPointer<frmDelFav> DelFavWindow;
    QPointer<frmMain> AssociateWindow;
    QPointer<QWidget> SplashWindow;
    QPointer<frmDownloads> DownloadsWindow;

    // The button of a toolbar with this key (nullptr: none), and a button's key.
    static QAction *Button(QToolBar *bar, const QString &key);
    static QString ButtonKey(const QAction *button);

    // Twips in one pixel on this window's screen, across and down, and lengths in twips as
    // whole pixels.
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    int PixelsX(double twips) const;
    int PixelsY(double twips) const;

signals:
    // The unload sequence has run; the process ends.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildMenus();
    void BuildKeys();
    void UpdateStopKey();
    void SetZoom(double factor);
    void ShowZoom();
    void PlaceZoomLabel();
    void PlaceFindBar();
    // False when the person keeps the window open (a download runs, and they said No).
    bool MayClose();
    void BuildControls();
    void BuildToolbars(QWidget *client);
    void BuildAddressStrip(QWidget *client);
    void DrawActivityPictures();
    void ConnectEvents();
    void LoadConfig();
    void SaveConfig();
    void ApplyWindowSettings();
    void ApplyOuterSize();
    void KeepNativeWindowState();
    void FrameMayHaveChanged();
    void NativeWindowMayBeGone();
    void FirstPageStep();
    // Leftovers of saves cut short go; a folder that cannot be written is said.
    void CheckApplicationFolder();
    void SelectPopupMode(PopupMode mode);
    PopupMode CurrentPopupMode() const;
    // The Pop-Ups menu's item of a mode, as its row names it.
    QAction *PopupModeItem(PopupMode mode) const;
    // The pop-up mode between the settings file and the menu marks.
    void RestorePopupMode();
    void StorePopupMode();
    // Another instance; the person is told when it cannot be started.
    bool StartNewInstance();
    void CancelNotice();
    void GoToPage(PageSlot slot);
    void SetCurrentAs(PageSlot slot);
    void AddressBox_Click(QComboBox *box);
    void AddressBox_KeyPress(QComboBox *box, int keyAscii);
    void ButtonClick(Toolbar bar, QAction *button);
    // The machine's address as the IP keys show it.
    QString IPAddressText();
    // The full-screen arrangement of the bars and menus, without touching the window state.
    void ShowFullScreenArrangement();
    bool InFullScreenArrangement() const;
    void SetMenusVisible(bool visible);
    void PlaceTopBars();
    void SetCaption(const QString &text);
    // The page title with the suffix of a load under way or done.
    void SetPageCaption(bool loadDone);
    void HideFavorites();
    void List1_Choose(int row);
    void RemoveFavorite(const FavoriteText &address, const FavoriteText &name);
    void Form_Unload();

    BrowserEnvironment m_env;
    bool m_unloaded = false;
    bool m_closeWithoutAsking = false;
    QString m_openFolder; // where File > Open starts: the last folder used in this run
    bool m_favoritesRead = false;
    bool m_stopped = false; // the person stopped the last load
    bool m_built = false; // every control exists
    int m_layoutDepth = 0;
    QSize m_outerSize; // the stored outer size, until the window's frame is known
    QMargins m_frame; // the frame the window had at the last look
    PopupGuard m_popupGuard;
    QElapsedTimer m_clock; // a steady clock for the pop-up guard
    QTimer m_nativeCheck; // while the window is off the screen: is it still there?
    CaptionThrottle m_caption {[this](const QString &c) { setWindowTitle(c); }};
};
