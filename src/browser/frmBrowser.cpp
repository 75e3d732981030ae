#include "browser/frmBrowser.h"

#include "browser/AddressBox.h"
#include "browser/AddressList.h"
#include "browser/FirstPage.h"
#include "services/InstanceStarter.h"
#include "browser/Layout.h"
#include "browser/Pictures.h"
#include "services/UserDialogs.h"
#include "favorites/FavoritesFiles.h"
#include "info/frmAbout.h"
#include "info/frmTip.h"
#include "settings/AppFolder.h"
#include "settings/TextFields.h"
#include "webview/WebView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QToolBar>
#include <QWindow>
#include <cmath>

namespace {

const char *const HandoffFileName = "\\Popupurl";
const char *const KeyProperty = "Key";

// The window's client area as designed, in twips.
constexpr double DesignClientWidth = 9570;
constexpr double DesignClientHeight = 6315;

} // namespace

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    emit pressed();
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

frmBrowser::frmBrowser(const BrowserEnvironment &env, QWidget *parent)
    : QMainWindow(parent)
    , CommonDialog1(env.dialogs)
    , m_env(env)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Ombrane Software"));
    BuildMenus();
    BuildControls();
    ConnectEvents();
    m_built = true;
}

frmBrowser::~frmBrowser()
{
    // The secondary windows are top-level windows of their own; they go with the main window.
    delete AboutWindow.data();
    delete TipWindow.data();
    delete SplashWindow.data();
}

// ---------------------------------------------------------------------------------------------
// Building the window

void frmBrowser::BuildMenus()
{
    auto menu = [this](QMenu *parentMenu, const char *name, const QString &caption) {
        QMenu *m = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [this](QMenu *m, const char *name, const QString &caption,
                       const QKeySequence &shortcut = QKeySequence(), int checked = -1) {
        QAction *a = m->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(shortcut);
        if (checked >= 0) {
            a->setCheckable(true);
            a->setChecked(checked == 1);
        }
        return a;
    };
    auto separator
        = [](QMenu *m, const char *name) { m->addSeparator()->setObjectName(QLatin1String(name)); };

    mnuFile = menu(nullptr, "mnuFile", QStringLiteral("&File"));
    mnuNew = item(mnuFile, "mnuNew", QStringLiteral("&New"));
    mnuOpen
        = item(mnuFile, "mnuOpen", QStringLiteral("&Open"), QKeySequence(QStringLiteral("Ctrl+O")));
    mnuClose = item(mnuFile, "mnuClose", QStringLiteral("&Close"));
    separator(mnuFile, "mnuline");
    mnuSaveAs = item(mnuFile, "mnuSaveAs", QStringLiteral("Save &As..."));
    separator(mnuFile, "mnuLine2");
    munPageSetup = item(mnuFile, "munPageSetup", QStringLiteral("Page Set&up..."));
    mnuPrint = item(mnuFile, "mnuPrint", QStringLiteral("&Print..."),
                    QKeySequence(QStringLiteral("Ctrl+P")));
    separator(mnuFile, "mnuLine3");
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"));

    mnuEdit = menu(nullptr, "mnuEdit", QStringLiteral("&Edit"));
    mnuCut = item(mnuEdit, "mnuCut", QStringLiteral("Cut"), QKeySequence(QStringLiteral("Ctrl+X")));
    mnuCopy = item(mnuEdit, "mnuCopy", QStringLiteral("&Copy"));
    mnuPaste = item(mnuEdit, "mnuPaste", QStringLiteral("&Paste"));
    separator(mnuEdit, "mnuline4");
    mnuAll = item(mnuEdit, "mnuAll", QStringLiteral("Select &All"),
                  QKeySequence(QStringLiteral("Ctrl+A")));

    mnuView = menu(nullptr, "mnuView", QStringLiteral("&View"));
    mnuAddressBar = item(mnuView, "mnuAddressBar", QStringLiteral("A&ddress Bar"), {}, 1);
    mnuStatusbar = item(mnuView, "mnuStatusbar", QStringLiteral("Status&Bar"), {}, 1);
    mnuToolBAr = item(mnuView, "mnuToolBAr", QStringLiteral("&ToolBar"), {}, 1);
    separator(mnuView, "mnuline6");
    mnuRefresh = item(mnuView, "mnuRefresh", QStringLiteral("Refresh"), QKeySequence(Qt::Key_F5));
    mnuSource = item(mnuView, "mnuSource", QStringLiteral("Sour&ce"));
    mnuFullScreen
        = item(mnuView, "mnuFullScreen", QStringLiteral("Full Screen"), QKeySequence(Qt::Key_F11));

    mnuPreferences = menu(nullptr, "mnuPreferences", QStringLiteral("&Preferences"));
    mnuPopUps = menu(mnuPreferences, "mnuPopUps", QStringLiteral("&Pop-Ups"));
    mnuAllow = item(mnuPopUps, "mnuAllow", QStringLiteral("Allow &Parent Windows"), {}, 0);
    mnuNoPopUps = item(mnuPopUps, "mnuNoPopUps", QStringLiteral("&Cancel All Windows"), {}, 1);
    mnuAllowIE = item(mnuPopUps, "mnuAllowIE", QStringLiteral("&Allow All Windows"), {}, 0);
    mnuHomePage = menu(mnuPreferences, "mnuHomePage", QStringLiteral("&Home Page"));
    mnugotohome = item(mnuHomePage, "mnugotohome", QStringLiteral("&Go to Home"));
    mnuAddHome = item(mnuHomePage, "mnuAddHome", QStringLiteral("&Set Current as Home"));
    mnugotohome2 = item(mnuHomePage, "mnugotohome2", QStringLiteral("Go to Extra Home 2"));
    mnuAddHome2 = item(mnuHomePage, "mnuAddHome2", QStringLiteral("Set Current as Extra Home 2"));
    mnugotohome3 = item(mnuHomePage, "mnugotohome3", QStringLiteral("Go to Extra Home 3"));
    mnuAddHome3 = item(mnuHomePage, "mnuAddHome3", QStringLiteral("Set Current as Extra Home 3"));
    mnuSearch = menu(mnuPreferences, "mnuSearch", QStringLiteral("S&earch"));
    mnuGotoSearch = item(mnuSearch, "mnuGotoSearch", QStringLiteral("&Go to Search"));
    mnuSetSearch = item(mnuSearch, "mnuSetSearch", QStringLiteral("&Set Current as Search Page"));
    mnuStartUp = menu(mnuPreferences, "mnuStartUp", QStringLiteral("S&tart Up"));
    mnuBlank = item(mnuStartUp, "mnuBlank", QStringLiteral("&Blank"), {}, 1);
    mnuStartHome = item(mnuStartUp, "mnuStartHome", QStringLiteral("Ho&me"), {}, 0);
    mnuAssociate = item(mnuPreferences, "mnuAssociate", QStringLiteral("Associate Files"));

    mnuFavorites = menu(nullptr, "mnuFavorites", QStringLiteral("&Favorites"));
    mnuAddToFav = item(mnuFavorites, "mnuAddToFav", QStringLiteral("&Add Current Page"));
    mnuEditFav = item(mnuFavorites, "mnuEditFav", QStringLiteral("&Edit Favorites"));

    mnuHelp = menu(nullptr, "mnuHelp", QStringLiteral("&Help"));
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&About"));
    mnuSplash = item(mnuHelp, "mnuSplash", QStringLiteral("&Splash"));
    mnuSupport = item(mnuHelp, "mnuSupport", QStringLiteral("S&upport"));
    mnuHelpTopics = item(mnuHelp, "mnuHelpTopics", QStringLiteral("H&elp Topics"));
}

void frmBrowser::BuildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    client->installEventFilter(this);
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    auto px = [](double twips, double perPixel) { return int(std::lround(twips / perPixel)); };

    brwWebBrowser = m_env.view;
    brwWebBrowser->setParent(client);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));

    // The main toolbar: captioned buttons, keys by position.
    struct ButtonSpec
    {
        const char *key;
        const char *caption;
        const char *tooltip;
    };
    auto addButtons = [](QToolBar *bar, std::initializer_list<ButtonSpec> specs, int iconSize) {
        for (const ButtonSpec &b : specs) {
            if (!b.key) {
                bar->addSeparator();
                continue;
            }
            QAction *a = bar->addAction(ToolbarIcon(QLatin1String(b.key), iconSize),
                                        QString::fromLatin1(b.caption));
            a->setProperty(KeyProperty, QString::fromLatin1(b.key));
            a->setToolTip(QString::fromLatin1(b.tooltip));
            // A key without a caption is named by its tooltip for screen readers.
            bar->widgetForAction(a)->setAccessibleName(
                QString::fromLatin1(*b.caption ? b.caption : b.tooltip));
        }
    };
    tbToolBar = new QToolBar(client);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar->setIconSize(QSize(20, 20));
    tbToolBar->setMovable(false);
    addButtons(tbToolBar,
               {{"Back", "Back", "Back"},
                {"Forward", "Forward", "Forward"},
                {nullptr, nullptr, nullptr},
                {"Stop", "Stop", "Stop"},
                {"Refresh", "Refresh", "Refresh"},
                {nullptr, nullptr, nullptr},
                {"Home", "Home", "Home Page"},
                {"Home2", "Extra", "Extra Home Page"},
                {"Home3", "Extra", "Extra Home Page"},
                {nullptr, nullptr, nullptr},
                {"Add", "Add Fav", "Add Current Page to Favorites"},
                {"Search", "Search", "Search"},
                {"Print", "Print", "Print"},
                {"IP", "IP", "IP Address"},
                {"Full", "Full", "Full Screen"}},
               20);
    // The logo sits at the toolbar's right end; the buttons keep clear of it.
    tbToolBar->setContentsMargins(0, 0, px(680, tx), 0);
    Picture1 = new ClickLabel(tbToolBar);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setToolTip(QStringLiteral("Go to Ombrane Software"));
    Picture1->setAccessibleName(Picture1->toolTip());
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->resize(px(480, tx), px(480, ty));
    Picture1->setPixmap(DrawLogo(qMin(Picture1->width(), Picture1->height())));

    // The full-screen toolbar: small icons, no captions.
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Compact keys, so that all of them, "Normal View" last, fit left of the address box.
    Toolbar1->setStyleSheet(QStringLiteral("QToolButton { padding: 1px; margin: 0px; }"));
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setMovable(false);
    addButtons(Toolbar1,
               {{"Open", "", "Open File"},
                {nullptr, nullptr, nullptr},
                {"Back", "", "Back"},
                {"Forward", "", "Forward"},
                {"Stop", "", "Stop"},
                {"Refresh", "", "Refresh"},
                {"Home", "", "Home"},
                {"Home2", "", "Extra Home Page"},
                {"Home3", "", "Extra Home Page"},
                {"Search", "", "Search"},
                {"Print", "", "Print"},
                {"IP", "", "IP Address"},
                {nullptr, nullptr, nullptr},
                {"Favorites", "", "Favorites"},
                {"Add", "", "Add Current Page To Favorites"},
                {"Edit", "", "Edit Favorites"},
                {nullptr, nullptr, nullptr},
                {"View", "", "Normal View"},
                {nullptr, nullptr, nullptr}},
               16);
    Toolbar1->setContentsMargins(0, 0, px(440, tx), 0);
    Toolbar1->hide();
    cboAddress2 = new AddressBox(Toolbar1);
    cboAddress2->setObjectName(QStringLiteral("cboAddress2"));
    cboAddress2->move(px(5760, tx), 0);
    cboAddress2->resize(px(3000, tx), px(315, ty));
    const int pictureSize = px(240, tx);
    QLabel **pictures[] = {nullptr, &Picture3, &Picture4, &Picture5, &Picture6};
    Picture2 = new ClickLabel(Toolbar1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setToolTip(QStringLiteral("Go to Ombrane Software"));
    Picture2->setAccessibleName(Picture2->toolTip());
    Picture2->setCursor(Qt::PointingHandCursor);
    Picture2->resize(pictureSize, px(240, ty));
    Picture2->setPixmap(DrawActivityPicture(0, pictureSize));
    for (int frame = 1; frame <= 4; ++frame) {
        QLabel *p = new QLabel(Toolbar1);
        p->setObjectName(QStringLiteral("Picture%1").arg(frame + 2));
        p->setToolTip(QStringLiteral("Downloading..."));
        p->resize(pictureSize, px(240, ty));
        p->setPixmap(DrawActivityPicture(frame, pictureSize));
        p->hide();
        *pictures[frame] = p;
    }

    // The address strip.
    picAddress = new QWidget(client);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lbladd = new ClickLabel(QStringLiteral("Favorites"), picAddress);
    lbladd->setObjectName(QStringLiteral("lbladd"));
    lbladd->setToolTip(QStringLiteral("Click to see favorites"));
    lbladd->setCursor(Qt::PointingHandCursor);
    {
        QFont f = lbladd->font();
        f.setBold(true);
        f.setUnderline(true);
        lbladd->setFont(f);
        QPalette pal = lbladd->palette();
        pal.setColor(QPalette::WindowText, pal.color(QPalette::Highlight));
        lbladd->setPalette(pal);
    }
    lbladd->setGeometry(px(120, tx), px(45, ty), px(990, tx), px(240, ty));
    cboAddress = new AddressBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setGeometry(px(1200, tx), 0, px(5980, tx), px(315, ty));
    lblCanceled = new QLabel(picAddress);
    lblCanceled->setObjectName(QStringLiteral("lblCanceled"));
    lblCanceled->setGeometry(px(7000, tx), px(75, ty), px(2295, tx), px(255, ty));
    // The label's left end lies under the address box's; its text starts clear of it, in a
    // size that fits the notice whole.
    lblCanceled->setContentsMargins(px(120, tx), 0, 0, 0);
    for (QFont f = lblCanceled->font(); f.pointSizeF() > 6; f.setPointSizeF(f.pointSizeF() - 0.5)) {
        lblCanceled->setFont(f);
        if (QFontMetrics(f).horizontalAdvance(QLatin1String(PopupNotice)) + px(120, tx)
            <= lblCanceled->width())
            break;
    }
    lblFav = new QLabel(QStringLiteral("Favorites:"), picAddress);
    lblFav->setObjectName(QStringLiteral("lblFav"));
    lblFav->setGeometry(px(120, tx), px(400, ty), px(1095, tx), px(255, ty));
    cboBookMarks = new QComboBox(picAddress);
    cboBookMarks->setObjectName(QStringLiteral("cboBookMarks"));
    cboBookMarks->setAccessibleName(QStringLiteral("Favorite addresses"));
    cboBookMarks->setGeometry(px(1200, tx), px(360, ty), px(5980, tx), px(315, ty));
    lblCanceled->lower();
    picAddress->setFixedHeight(px(345, ty));

    for (QComboBox *box : {cboAddress, cboAddress2}) {
        box->setAccessibleName(QStringLiteral("Address"));
        box->setMaxVisibleItems(20);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
        box->installEventFilter(this);
    }

    List1 = new QListWidget(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(QFont(QStringLiteral("Comic Sans MS"), 9));
    List1->setAccessibleName(QStringLiteral("Favorites"));
    List1->resize(px(3975, tx), px(5160, ty));
    List1->hide();

    txtStatus = new QLineEdit(client);
    txtStatus->setObjectName(QStringLiteral("txtStatus"));
    txtStatus->setReadOnly(true);
    txtStatus->setFocusPolicy(Qt::NoFocus);
    txtStatus->setFixedHeight(px(285, ty));
    txtStatus->setAccessibleName(QStringLiteral("Status"));
    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(1, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->resize(px(2640, tx), px(285, ty));
    ProgressBar1->hide();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(100);
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(500);
    Timer4.setObjectName(QStringLiteral("Timer4"));
    Timer4.setInterval(1000);
    timTimer.setObjectName(QStringLiteral("timTimer"));
    timTimer.setInterval(5);

    // The keys that show what does not fit in a narrow window.
    for (QToolBar *bar : {tbToolBar, Toolbar1})
        for (QWidget *more : bar->findChildren<QWidget *>(QStringLiteral("qt_toolbar_ext_button")))
            more->setAccessibleName(QStringLiteral("More keys"));
    if (auto *more = menuBar()->findChild<QWidget *>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("More menus"));

    resize(px(DesignClientWidth, tx), px(DesignClientHeight, ty) + menuBar()->sizeHint().height());
}

void frmBrowser::ConnectEvents()
{
    // The menu items that carry check marks flip them in their own handlers, so the automatic
    // flip of the click is undone first.
    auto onClick = [this](QAction *a, void (frmBrowser::*handler)()) {
        connect(a, &QAction::triggered, this, [this, a, handler] {
            if (a->isCheckable())
                a->setChecked(!a->isChecked());
            (this->*handler)();
        });
    };
    onClick(mnuNew, &frmBrowser::mnuNew_Click);
    onClick(mnuOpen, &frmBrowser::mnuOpen_Click);
    onClick(mnuClose, &frmBrowser::mnuClose_Click);
    onClick(mnuSaveAs, &frmBrowser::mnuSaveAs_Click);
    onClick(munPageSetup, &frmBrowser::munPageSetup_Click);
    onClick(mnuPrint, &frmBrowser::mnuPrint_Click);
    onClick(mnuExit, &frmBrowser::mnuExit_Click);
    onClick(mnuCut, &frmBrowser::mnuCut_Click);
    onClick(mnuCopy, &frmBrowser::mnuCopy_Click);
    onClick(mnuPaste, &frmBrowser::mnuPaste_Click);
    onClick(mnuAll, &frmBrowser::mnuAll_Click);
    onClick(mnuAddressBar, &frmBrowser::mnuAddressBar_Click);
    onClick(mnuStatusbar, &frmBrowser::mnuStatusbar_Click);
    onClick(mnuToolBAr, &frmBrowser::mnuToolBAr_Click);
    onClick(mnuRefresh, &frmBrowser::mnuRefresh_Click);
    onClick(mnuSource, &frmBrowser::mnuSource_Click);
    onClick(mnuFullScreen, &frmBrowser::mnuFullScreen_Click);
    onClick(mnuAllow, &frmBrowser::mnuAllow_Click);
    onClick(mnuNoPopUps, &frmBrowser::mnuNoPopUps_Click);
    onClick(mnuAllowIE, &frmBrowser::mnuAllowIE_Click);
    onClick(mnugotohome, &frmBrowser::mnugotohome_Click);
    onClick(mnuAddHome, &frmBrowser::mnuAddHome_Click);
    onClick(mnugotohome2, &frmBrowser::mnugotohome2_Click);
    onClick(mnuAddHome2, &frmBrowser::mnuAddHome2_Click);
    onClick(mnugotohome3, &frmBrowser::mnugotohome3_Click);
    onClick(mnuAddHome3, &frmBrowser::mnuAddHome3_Click);
    onClick(mnuGotoSearch, &frmBrowser::mnuGotoSearch_Click);
    onClick(mnuSetSearch, &frmBrowser::mnuSetSearch_Click);
    onClick(mnuBlank, &frmBrowser::mnuBlank_Click);
    onClick(mnuStartHome, &frmBrowser::mnuStartHome_Click);
    onClick(mnuAbout, &frmBrowser::mnuAbout_Click);
    onClick(mnuSplash, &frmBrowser::mnuSplash_Click);
    onClick(mnuSupport, &frmBrowser::mnuSupport_Click);
    onClick(mnuHelpTopics, &frmBrowser::mnuHelpTopics_Click);

    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::tbToolBar_ButtonClick);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &frmBrowser::Toolbar1_ButtonClick);
    connect(Picture1, &ClickLabel::clicked, this, &frmBrowser::Picture1_Click);
    connect(Picture2, &ClickLabel::clicked, this, &frmBrowser::Picture2_Click);
    connect(lbladd, &ClickLabel::clicked, this, [this] {
        // Show favorites: open or close the pop-up.
        if (List1->isVisible()) {
            List1->hide();
        } else {
            List1->raise();
            List1->show();
            List1->setFocus();
        }
    });
    connect(lbladd, &ClickLabel::pressed, this, [this] { lbladd->setFrameStyle(QFrame::Box); });
    connect(lbladd, &ClickLabel::released, this,
            [this] { lbladd->setFrameStyle(QFrame::NoFrame); });
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        // Choose a favorite: the address at the same position.
        if (row < 0 || !List1->isVisible())
            return;
        List1->hide();
        if (row < cboBookMarks->count())
            brwWebBrowser->Navigate(cboBookMarks->itemText(row));
    });

    connect(cboAddress, &AddressBox::Click, this, &frmBrowser::cboAddress_Click);
    connect(cboAddress2, &AddressBox::Click, this, &frmBrowser::cboAddress2_Click);
    connect(cboAddress, &AddressBox::KeyPress, this, &frmBrowser::cboAddress_KeyPress);
    connect(cboAddress2, &AddressBox::KeyPress, this, &frmBrowser::cboAddress2_KeyPress);
    connect(cboAddress, &QComboBox::editTextChanged, this, &frmBrowser::cboAddress_Change);
    connect(cboAddress2, &QComboBox::editTextChanged, this, &frmBrowser::cboAddress2_Change);

    connect(brwWebBrowser, &WebView::StatusTextChange, this,
            &frmBrowser::brwWebBrowser_StatusTextChange);
    connect(brwWebBrowser, &WebView::CommandStateChange, this,
            &frmBrowser::brwWebBrowser_CommandStateChange);
    connect(brwWebBrowser, &WebView::DownloadBegin, this, &frmBrowser::brwWebBrowser_DownloadBegin);
    connect(brwWebBrowser, &WebView::DownloadComplete, this,
            &frmBrowser::brwWebBrowser_DownloadComplete);
    connect(brwWebBrowser, &WebView::NavigateComplete2, this,
            &frmBrowser::brwWebBrowser_NavigateComplete2);
    connect(brwWebBrowser, &WebView::NewWindow2, this, &frmBrowser::brwWebBrowser_NewWindow2);

    connect(&Timer1, &QTimer::timeout, this, &frmBrowser::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &frmBrowser::Timer2_Timer);
    connect(&Timer4, &QTimer::timeout, this, &frmBrowser::Timer4_Timer);
    connect(&timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
}

QAction *frmBrowser::Button(QToolBar *bar, int position)
{
    const QList<QAction *> actions = bar->actions();
    return position >= 1 && position <= actions.size() ? actions[position - 1] : nullptr;
}

double frmBrowser::TwipsPerPixelX() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

double frmBrowser::TwipsPerPixelY() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

// ---------------------------------------------------------------------------------------------
// Load and unload

void frmBrowser::Form_Load()
{
    tbToolBar->update();
    LoadConfig();
    LoadFavList();
    PopupMode mode;
    if (PopupModeFromWord(settings.PopupMode, &mode))
        SelectPopupMode(mode);
    if (settings.FullScreen == 1)
        ShowFullScreenArrangement();
    ApplyWindowSettings();
    Form_Resize();
    FirstPageStep();
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
    if (mnuNoPopUps->isChecked())
        settings.PopupMode = PopupModeWord(PopupMode::CancelAll);
    if (mnuAllow->isChecked())
        settings.PopupMode = PopupModeWord(PopupMode::AllowParent);
    if (mnuAllowIE->isChecked())
        settings.PopupMode = PopupModeWord(PopupMode::AllowAll);
    if (mnuBlank->isChecked())
        settings.StartMode = QStringLiteral("Blank");
    if (mnuStartHome->isChecked())
        settings.StartMode = QStringLiteral("Home");
    // A folder that cannot be written must not keep the window from closing.
    WriteConfigFile(m_env.appFolder, settings);
}

void frmBrowser::ApplyWindowSettings()
{
    switch (settings.WindowState) {
    case 0: {
        setWindowState(Qt::WindowNoState);
        const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect desktop = s ? s->availableVirtualGeometry() : QRect(0, 0, 1024, 768);
        // A record without a size (the first start) gets a comfortable window in the middle of
        // the screen rather than one shrunk to nothing.
        if (!(settings.WindowWidth > 0 && settings.WindowHeight > 0)) {
            if (s) {
                const QRect avail = s->availableGeometry();
                const QSize comfortable
                    = size().expandedTo(avail.size() * 0.7).boundedTo(avail.size());
                resize(comfortable);
                move(avail.center() - QPoint(comfortable.width() / 2, comfortable.height() / 2));
            }
            break;
        }
        // The stored size is the outer one. Until the window manager has framed the window its
        // frame is unknown, so the size is set whole now and corrected once the frame is known.
        // A size beyond the whole desktop is no size a person chose.
        m_outerSize
            = QSize(TwipsToPixels(settings.WindowWidth, TwipsPerPixelX(), 1, desktop.width()),
                    TwipsToPixels(settings.WindowHeight, TwipsPerPixelY(), 1, desktop.height()));
        ApplyOuterSize();
        // X11 keeps coordinates in 16 bits.
        move(TwipsToPixels(settings.WindowLeft, TwipsPerPixelX(), -32768, 32767),
             TwipsToPixels(settings.WindowTop, TwipsPerPixelY(), -32768, 32767));
        break;
    }
    case 1:
        setWindowState(Qt::WindowMinimized);
        break;
    case 2:
        setWindowState(Qt::WindowMaximized);
        break;
    default:
        break; // not a state: left as it is
    }
}

void frmBrowser::ApplyOuterSize()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(qMax(1, m_outerSize.width() - frame.left() - frame.right()),
           qMax(1, m_outerSize.height() - frame.top() - frame.bottom()));
}

void frmBrowser::KeepNativeWindowState()
{
    // The web view replaces the window's native window when it first shows something, before
    // or after the window is shown; the new one starts in the normal state. The state the
    // window was given (maximized, minimized) must reach the window manager all the same.
    QWindow *native = windowHandle();
    const Qt::WindowStates wanted = windowState() & ~Qt::WindowActive;
    if (native && native->windowStates() != wanted)
        native->setWindowStates(wanted);
}

bool frmBrowser::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WinIdChange:
        KeepNativeWindowState();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        FrameMayHaveChanged();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void frmBrowser::FrameMayHaveChanged()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame == m_frame)
        return;
    m_frame = frame;
    // The stored outer size, now that the frame is known.
    if (m_outerSize.isValid() && !frame.isNull()) {
        if (windowState() == Qt::WindowNoState)
            ApplyOuterSize();
        m_outerSize = QSize();
    }
    // The minimum width and the right-hand places count the frame.
    if (m_built)
        Form_Resize();
}

void frmBrowser::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    KeepNativeWindowState();
}

void frmBrowser::FirstPageStep()
{
    const QString handoffPath = AppFilePath(m_env.appFolder, QString::fromLatin1(HandoffFileName));
    const QString handoff = ReadFirstField(handoffPath);
    const FirstPagePlan plan = DecideFirstPage(m_env.commandLine, handoff, settings.StartMode);
    switch (plan.go) {
    case FirstPagePlan::Go::Address:
        brwWebBrowser->Navigate(plan.address);
        break;
    case FirstPagePlan::Go::HomePage:
        break; // after the marks, below
    case FirstPagePlan::Go::Nothing:
        break;
    }
    if (plan.consumeHandoff)
        WriteSingleField(handoffPath, QString());
    if (plan.marks == FirstPagePlan::Marks::Blank) {
        mnuBlank->setChecked(true);
        mnuStartHome->setChecked(false);
    } else if (plan.marks == FirstPagePlan::Marks::Home) {
        mnuStartHome->setChecked(true);
        mnuBlank->setChecked(false);
    }
    if (plan.go == FirstPagePlan::Go::HomePage)
        GoToPage(PageSlot::Home);
}

void frmBrowser::closeEvent(QCloseEvent *event)
{
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
    if (SplashWindow)
        SplashWindow->close();
    SaveConfig();
    if (TipWindow)
        TipWindow->close();
    emit Unloaded();
}

void frmBrowser::LoadFavList()
{
    List1->clear();
    cboBookMarks->clear();
    cboBookMarks->addItems(
        ReadFavoritesFile(AppFilePath(m_env.appFolder, QString::fromLatin1(FavoritesFileName))));
    List1->addItems(
        ReadFavoritesFile(AppFilePath(m_env.appFolder, QString::fromLatin1(FavNameFileName))));
}

// ---------------------------------------------------------------------------------------------
// Window and process commands

void frmBrowser::mnuNew_Click()
{
    if (!m_env.starter || !m_env.starter->StartInstance())
        CommonDialog1->MessageBox(this,
                                  QStringLiteral("A new QuorBrowser window could not be started."),
                                  QStringLiteral("QuorBrowser"));
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
        AboutWindow = new frmAbout(brwWebBrowser, m_env.supportMail);
        AboutWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    AboutWindow->show();
    AboutWindow->raise();
    AboutWindow->activateWindow();
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
    TipWindow->show();
    TipWindow->raise();
    TipWindow->activateWindow();
}

// ---------------------------------------------------------------------------------------------
// Layout, bars and full screen

void frmBrowser::PlaceTopBars()
{
    // The bars aligned to the top stack in this order and take the full client width.
    const int width = centralWidget()->width();
    int y = 0;
    for (QWidget *bar :
         {static_cast<QWidget *>(tbToolBar), picAddress, static_cast<QWidget *>(Toolbar1)}) {
        if (bar->isHidden())
            continue;
        const int h = bar == picAddress ? picAddress->height() : bar->sizeHint().height();
        bar->setGeometry(0, y, width, h);
        y += h;
    }
}

void frmBrowser::Form_Resize()
{
    // Nested runs come from the window's own width correction; a few levels are plenty.
    if (m_layoutDepth > 2)
        return;
    ++m_layoutDepth;
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    auto px = [](double twips, double perPixel) { return int(std::lround(twips / perPixel)); };

    LayoutInput in;
    in.W = frameGeometry().width() * tx;
    const int minimumWidth = px(MinimumWindowWidth, tx) - (frameGeometry().width() - width());
    if (minimumWidth > 0 && minimumSize().width() != minimumWidth)
        setMinimumWidth(minimumWidth);
    if (in.W < MinimumWindowWidth && windowState() == Qt::WindowNoState)
        resize(qMax(minimumWidth, 1), height());

    PlaceTopBars();
    in.SW = centralWidget()->width() * tx;
    in.SH = centralWidget()->height() * ty;
    in.W = frameGeometry().width() * tx;
    in.TB = tbToolBar->sizeHint().height() * ty;
    in.PA = picAddress->height() * ty;
    in.ST = txtStatus->height() * ty;
    in.T1 = Toolbar1->sizeHint().height() * ty;
    in.toolBarMark = mnuToolBAr->isChecked();
    in.addressBarMark = mnuAddressBar->isChecked();
    in.statusBarMark = mnuStatusbar->isChecked();
    in.fileMenuVisible = mnuFile->menuAction()->isVisible();
    in.lbladdWidth = lbladd->width() * tx;
    in.lblFavWidth = lblFav->width() * tx;
    in.progressWidth = ProgressBar1->width() * tx;
    in.picture1Width = Picture1->width() * tx;
    in.picture1Height = Picture1->height() * ty;
    in.pictureWidth = Picture2->width() * tx;
    in.pictureHeight = Picture2->height() * ty;
    const LayoutResult r = ComputeLayout(in);

    // A place the control cannot take (a negative size, while the window is smaller than its
    // bars) is skipped and the control stays where it was.
    auto place = [&](QWidget *w, const Placement &p) {
        QRect g = w->geometry();
        if (p.left)
            g.moveLeft(px(*p.left, tx));
        if (p.top)
            g.moveTop(px(*p.top, ty));
        if (p.width && *p.width >= 0)
            g.setWidth(px(*p.width, tx));
        if (p.height && *p.height >= 0)
            g.setHeight(px(*p.height, ty));
        w->setGeometry(g);
    };
    List1->hide();
    place(List1, r.List1);
    place(brwWebBrowser, r.brwWebBrowser);
    place(txtStatus, r.txtStatus);
    place(ProgressBar1, r.ProgressBar1);
    place(cboAddress, r.cboAddress);
    place(cboBookMarks, r.cboBookMarks);
    place(lblCanceled, r.lblCanceled);
    if (r.fullScreen) {
        place(cboAddress2, r.cboAddress2);
        for (QLabel *p : {static_cast<QLabel *>(Picture2), Picture3, Picture4, Picture5, Picture6})
            place(p, r.activityPictures);
    } else {
        place(Picture1, r.Picture1);
    }
    // The progress bar lies over the status line's right end.
    ProgressBar1->raise();
    --m_layoutDepth;
}

void frmBrowser::mnuToolBAr_Click()
{
    const bool on = !mnuToolBAr->isChecked();
    mnuToolBAr->setChecked(on);
    tbToolBar->setVisible(on);
    Form_Resize();
}

void frmBrowser::mnuAddressBar_Click()
{
    const bool on = !mnuAddressBar->isChecked();
    mnuAddressBar->setChecked(on);
    picAddress->setVisible(on);
    Form_Resize();
}

void frmBrowser::mnuStatusbar_Click()
{
    if (mnuStatusbar->isChecked()) {
        mnuStatusbar->setChecked(false);
        txtStatus->hide();
        StatusLineHidden = 1;
        ProgressBar1->hide();
    } else {
        mnuStatusbar->setChecked(true);
        txtStatus->show();
        StatusLineHidden = 0;
    }
    Form_Resize();
}

void frmBrowser::SetMenusVisible(bool visible)
{
    for (QMenu *m : {mnuFile, mnuEdit, mnuView, mnuHelp, mnuPreferences, mnuFavorites})
        m->menuAction()->setVisible(visible);
    // With every menu hidden there is no menu bar at all.
    menuBar()->setVisible(visible);
}

void frmBrowser::ShowFullScreenArrangement()
{
    StatusLineHidden = 1;
    mnuToolBAr->setChecked(false);
    mnuAddressBar->setChecked(false);
    mnuStatusbar->setChecked(false);
    picAddress->hide();
    tbToolBar->hide();
    txtStatus->hide();
    ProgressBar1->hide();
    SetMenusVisible(false);
    Toolbar1->show();
}

void frmBrowser::mnuFullScreen_Click()
{
    ShowFullScreenArrangement();
    // The resize this causes lays the window out on the way; the run below places it for the
    // final state.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    settings.FullScreen = 1;
    Form_Resize();
}

void frmBrowser::NormalView()
{
    Toolbar1->hide();
    settings.FullScreen = 0;
    StatusLineHidden = 0;
    mnuToolBAr->setChecked(true);
    mnuAddressBar->setChecked(true);
    mnuStatusbar->setChecked(true);
    picAddress->show();
    tbToolBar->show();
    txtStatus->show();
    SetMenusVisible(true);
    Form_Resize();
}

// ---------------------------------------------------------------------------------------------
// Address boxes and page shortcuts

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_built)
        return QMainWindow::eventFilter(watched, event);
    // The client area changes size with the window, and also when the menu bar comes or goes.
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        Form_Resize();
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == cboAddress)
            cboAddress_GotFocus();
        else if (watched == cboAddress2)
            cboAddress2_GotFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmBrowser::AddressBox_Click(QComboBox *box)
{
    List1->hide();
    if (UpdatingAddressLists)
        return;
    timTimer.start();
    brwWebBrowser->Navigate(box->currentText());
}

void frmBrowser::AddressBox_KeyPress(QComboBox *box, int keyAscii)
{
    List1->hide();
    if (keyAscii == 13)
        AddressBox_Click(box);
}

void frmBrowser::cboAddress_Click()
{
    AddressBox_Click(cboAddress);
}

void frmBrowser::cboAddress_KeyPress(int keyAscii)
{
    AddressBox_KeyPress(cboAddress, keyAscii);
}

void frmBrowser::cboAddress_Change()
{
    List1->hide();
}

void frmBrowser::cboAddress_GotFocus()
{
    List1->hide();
}

void frmBrowser::cboAddress2_Click()
{
    AddressBox_Click(cboAddress2);
}

void frmBrowser::cboAddress2_KeyPress(int keyAscii)
{
    AddressBox_KeyPress(cboAddress2, keyAscii);
}

void frmBrowser::cboAddress2_Change()
{
    List1->hide();
}

void frmBrowser::cboAddress2_GotFocus()
{
    List1->hide();
}

void frmBrowser::GoToPage(PageSlot slot)
{
    const QString address = ReadPageFile(m_env.appFolder, slot);
    if (!address.isEmpty())
        brwWebBrowser->Navigate(address);
    else if (slot == PageSlot::Search)
        brwWebBrowser->GoSearch();
    else
        brwWebBrowser->GoHome();
}

void frmBrowser::SetCurrentAs(PageSlot slot)
{
    if (WritePageFile(m_env.appFolder, slot, brwWebBrowser->LocationURL()))
        return;
    // The search page fails silently; a home page says so once, and the page stored before
    // stays in use.
    if (slot != PageSlot::Search)
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("The home page could not be saved, because the file %1 cannot be "
                           "written. The home page set before stays in use.")
                .arg(QDir::toNativeSeparators(
                    AppFilePath(m_env.appFolder, PageFileWriteName(slot)))),
            QStringLiteral("QuorBrowser"));
}

void frmBrowser::mnuSupport_Click()
{
    brwWebBrowser->Navigate(m_env.supportPage);
}

void frmBrowser::Picture1_Click()
{
    brwWebBrowser->Navigate(m_env.homeSite);
}

void frmBrowser::Picture2_Click()
{
    brwWebBrowser->Navigate(m_env.homeSite);
}

// ---------------------------------------------------------------------------------------------
// Toolbars and document commands

void frmBrowser::tbToolBar_ButtonClick(QAction *button)
{
    ButtonClick(button);
}

void frmBrowser::Toolbar1_ButtonClick(QAction *button)
{
    ButtonClick(button);
}

void frmBrowser::ButtonClick(QAction *button)
{
    List1->hide();
    timTimer.start();
    const QString key = button ? button->property(KeyProperty).toString() : QString();
    if (key == QLatin1String("Back"))
        brwWebBrowser->GoBack();
    else if (key == QLatin1String("Forward"))
        brwWebBrowser->GoForward();
    else if (key == QLatin1String("Refresh"))
        brwWebBrowser->Refresh();
    else if (key == QLatin1String("Home"))
        GoToPage(PageSlot::Home);
    else if (key == QLatin1String("Home2"))
        GoToPage(PageSlot::Home2);
    else if (key == QLatin1String("Home3"))
        GoToPage(PageSlot::Home3);
    else if (key == QLatin1String("Search"))
        GoToPage(PageSlot::Search);
    else if (key == QLatin1String("Stop"))
        StopButton();
    else if (key == QLatin1String("Print"))
        brwWebBrowser->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER);
    else if (key == QLatin1String("Full"))
        mnuFullScreen_Click();
    else if (key == QLatin1String("View"))
        NormalView();
    else if (key == QLatin1String("Favorites")) {
        List1->raise();
        List1->show();
        List1->setFocus();
    } else if (key == QLatin1String("Open"))
        mnuOpen_Click();
}

void frmBrowser::StopButton()
{
    m_stopped = true;
    timTimer.stop();
    brwWebBrowser->Stop();
    txtStatus->setText(QStringLiteral("Download Stopped"));
    if (StatusLineHidden != 1)
        ProgressBar1->setValue(100);
    ProgressBar1->hide();
}

void frmBrowser::mnuOpen_Click()
{
    const QString name = CommonDialog1->OpenFileName(this);
    if (!name.isEmpty())
        brwWebBrowser->Navigate(name);
}

void frmBrowser::mnuSaveAs_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_SAVEAS, WebView::OLECMDEXECOPT_PROMPTUSER);
}

void frmBrowser::munPageSetup_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_PAGESETUP, WebView::OLECMDEXECOPT_PROMPTUSER);
}

void frmBrowser::mnuPrint_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER);
}

void frmBrowser::mnuCut_Click()
{
    QGuiApplication::clipboard()->clear();
    brwWebBrowser->ExecWB(WebView::OLECMDID_CUT, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuCopy_Click()
{
    QGuiApplication::clipboard()->clear();
    brwWebBrowser->ExecWB(WebView::OLECMDID_COPY, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuPaste_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_PASTE, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuAll_Click()
{
    QGuiApplication::clipboard()->clear();
    brwWebBrowser->ExecWB(WebView::OLECMDID_SELECTALL, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuRefresh_Click()
{
    brwWebBrowser->Refresh();
}

void frmBrowser::mnuSource_Click()
{
    const QString address = cboAddress->currentText();
    if (!address.isEmpty())
        brwWebBrowser->Navigate(QStringLiteral("view-source:") + address);
}

// ---------------------------------------------------------------------------------------------
// Following the web view

void frmBrowser::SetCaption(const QString &text)
{
    setWindowTitle(text);
}

void frmBrowser::brwWebBrowser_StatusTextChange(const QString &text)
{
    // The view ends a stopped load with "Done" too; the status line keeps saying why it ended.
    if (!(m_stopped && text == QLatin1String("Done")))
        txtStatus->setText(text);
    if (StatusLineHidden == 1 || txtStatus->isHidden()) {
        SetCaption(text);
        if (text.isEmpty() || text == QLatin1String("Done"))
            SetCaption(brwWebBrowser->LocationName() + QLatin1String(CaptionSuffixLoading));
    }
}

void frmBrowser::brwWebBrowser_CommandStateChange(int command, bool enable)
{
    int mainPosition = 0;
    int smallPosition = 0;
    if (command == WebView::CSC_NAVIGATEBACK) {
        mainPosition = 1;
        smallPosition = 3;
    } else if (command == WebView::CSC_NAVIGATEFORWARD) {
        mainPosition = 2;
        smallPosition = 4;
    } else {
        return;
    }
    Button(tbToolBar, mainPosition)->setEnabled(enable);
    Button(Toolbar1, smallPosition)->setEnabled(enable);
}

void frmBrowser::brwWebBrowser_DownloadBegin()
{
    m_stopped = false;
    List1->hide();
    brwWebBrowser->show();
    if (StatusLineHidden == 1) {
        ProgressBar1->hide();
    } else {
        ProgressBar1->show();
        ProgressBar1->setValue(1);
    }
    Timer1.start();
    Timer4.start();
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    SetCaption(brwWebBrowser->LocationName() + QLatin1String(CaptionSuffixDone));
    Timer1.stop();
    Timer4.stop();
    Picture2->show();
    for (QLabel *p : {Picture3, Picture4, Picture5, Picture6})
        p->hide();
    if (StatusLineHidden != 1)
        ProgressBar1->setValue(100);
    ProgressBar1->hide();
}

void frmBrowser::brwWebBrowser_NavigateComplete2()
{
    SetCaption(brwWebBrowser->LocationName() + QLatin1String(CaptionSuffixLoading));
    const QString url = brwWebBrowser->LocationURL();
    for (QComboBox *box : {cboAddress, cboAddress2}) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        UpdatingAddressLists = true;
        box->clear();
        box->addItems(UpdateAddressList(items, url));
        box->setCurrentIndex(0);
        // Selecting the top entry is a click on the box; the flag keeps it from navigating.
        AddressBox_Click(box);
        UpdatingAddressLists = false;
    }
}

PopupMode frmBrowser::CurrentPopupMode() const
{
    if (mnuAllow->isChecked())
        return PopupMode::AllowParent;
    if (mnuAllowIE->isChecked() && !mnuNoPopUps->isChecked())
        return PopupMode::AllowAll;
    return PopupMode::CancelAll;
}

void frmBrowser::SelectPopupMode(PopupMode mode)
{
    mnuAllow->setChecked(mode == PopupMode::AllowParent);
    mnuNoPopUps->setChecked(mode == PopupMode::CancelAll);
    mnuAllowIE->setChecked(mode == PopupMode::AllowAll);
}

void frmBrowser::mnuAllow_Click()
{
    SelectPopupMode(PopupMode::AllowParent);
}

void frmBrowser::mnuNoPopUps_Click()
{
    SelectPopupMode(PopupMode::CancelAll);
}

void frmBrowser::mnuAllowIE_Click()
{
    SelectPopupMode(PopupMode::AllowAll);
}

void frmBrowser::brwWebBrowser_NewWindow2(bool *cancel)
{
    const NewWindowDecision decision = DecideNewWindow(CurrentPopupMode(), txtStatus->text());
    *cancel = decision.cancel;
    if (decision.showNotice)
        CancelNotice();
    if (decision.handOff.isEmpty())
        return;
    const QString path = AppFilePath(m_env.appFolder, QString::fromLatin1(HandoffFileName));
    if (!WriteSingleField(path, decision.handOff)) {
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("The page could not be opened in a new window, because the file "
                           "%1 cannot be written.")
                .arg(QDir::toNativeSeparators(path)),
            QStringLiteral("QuorBrowser"));
        return;
    }
    if (!m_env.starter || !m_env.starter->StartInstance())
        CommonDialog1->MessageBox(this,
                                  QStringLiteral("A new QuorBrowser window could not be started."),
                                  QStringLiteral("QuorBrowser"));
}

void frmBrowser::CancelNotice()
{
    lblCanceled->setText(QLatin1String(PopupNotice));
    Timer2.start();
    NoticeFlashCount = 0;
}

// ---------------------------------------------------------------------------------------------
// Timers

void frmBrowser::Timer1_Timer()
{
    if (ProgressBar1->value() == 100)
        ProgressBar1->setValue(1);
    ProgressBar1->setValue(ProgressBar1->value() + 1);
}

void frmBrowser::Timer2_Timer()
{
    if (lblCanceled->text() == QLatin1String(PopupNotice)) {
        lblCanceled->clear();
        cboAddress2->setEditText(QString());
    } else {
        lblCanceled->setText(QLatin1String(PopupNotice));
        cboAddress2->setEditText(QLatin1String(PopupNotice));
    }
    ++NoticeFlashCount;
    if (NoticeFlashCount == 7) {
        Timer2.stop();
        cboAddress2->setEditText(brwWebBrowser->LocationURL());
    }
}

void frmBrowser::Timer4_Timer()
{
    QLabel *const pictures[] = {Picture2, Picture3, Picture4, Picture5, Picture6};
    for (int i = 0; i < 5; ++i) {
        if (pictures[i]->isHidden())
            continue;
        pictures[i]->hide();
        pictures[i == 4 ? 1 : i + 1]->show();
        return;
    }
}

void frmBrowser::timTimer_Timer()
{
    if (brwWebBrowser->Busy())
        return;
    timTimer.stop();
    SetCaption(brwWebBrowser->LocationName() + QLatin1String(CaptionSuffixDone));
}
