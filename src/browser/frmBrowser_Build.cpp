// Building the window: the bars and every control, and connecting their events.

#include "browser/frmBrowser.h"

#include "forms/DesignedForm.h"

#include "browser/Pictures.h"
#include "webview/WebView.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QWindow>

namespace {

const char *const KeyProperty = "Key";

// The window's client area as designed, in twips.
constexpr double DesignClientWidth = 9570;
constexpr double DesignClientHeight = 6315;
// The activity pictures' side, in twips.
constexpr double ActivityPictureTwips = 240;

} // namespace

void frmBrowser::BuildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    client->installEventFilter(this);

    brwWebBrowser = m_env.view;
    brwWebBrowser->setParent(client);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    BuildToolbars(client);
    BuildAddressStrip(client);

    List1 = new FavoritesList(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(QFont(QStringLiteral("Comic Sans MS"), 9));
    List1->setAccessibleName(QStringLiteral("Favorites"));
    List1->resize(PixelsX(3975), PixelsY(5160));
    List1->hide();

    txtStatus = new QLineEdit(client);
    txtStatus->setObjectName(QStringLiteral("txtStatus"));
    txtStatus->setReadOnly(true);
    txtStatus->setFocusPolicy(Qt::NoFocus);
    txtStatus->setFixedHeight(PixelsY(285));
    txtStatus->setAccessibleName(QStringLiteral("Status"));
    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(1, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->resize(PixelsX(2640), PixelsY(285));
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

    resize(PixelsX(DesignClientWidth),
           PixelsY(DesignClientHeight) + menuBar()->sizeHint().height());
}

void frmBrowser::BuildToolbars(QWidget *client)
{
    auto addButtons = [](QToolBar *bar, Toolbar which, int iconSize) {
        for (const ToolbarRow &row : ToolbarRows(which)) {
            if (!row.key) {
                bar->addSeparator();
                continue;
            }
            QAction *a = bar->addAction(ToolbarIcon(QLatin1String(row.picture), iconSize),
                                        QString::fromLatin1(row.caption));
            a->setProperty(KeyProperty, QString::fromLatin1(row.key));
            a->setToolTip(QString::fromLatin1(row.tooltip));
            // A key without a caption is named by its tooltip for screen readers.
            bar->widgetForAction(a)->setAccessibleName(
                QString::fromLatin1(*row.caption ? row.caption : row.tooltip));
        }
    };

    // The main toolbar: captioned keys.
    tbToolBar = new QToolBar(client);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar->setIconSize(QSize(20, 20));
    tbToolBar->setMovable(false);
    addButtons(tbToolBar, Toolbar::Main, 20);
    // The logo sits at the toolbar's right end; the keys keep clear of it.
    tbToolBar->setContentsMargins(0, 0, PixelsX(680), 0);
    Picture1 = new ClickLabel(tbToolBar);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setToolTip(QStringLiteral("Go to Ombrane Software"));
    Picture1->setAccessibleName(Picture1->toolTip());
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->resize(PixelsX(480), PixelsY(480));
    Picture1->setPixmap(DrawLogo(qMin(Picture1->width(), Picture1->height())));

    // The full-screen toolbar: small icons, no captions.
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Compact keys, so that all of them, "Normal View" last, fit left of the address box.
    Toolbar1->setStyleSheet(QStringLiteral("QToolButton { padding: 1px; margin: 0px; }"));
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setMovable(false);
    addButtons(Toolbar1, Toolbar::FullScreen, 16);
    Toolbar1->setContentsMargins(0, 0, PixelsX(440), 0);
    Toolbar1->hide();
    cboAddress2 = new AddressBox(Toolbar1);
    cboAddress2->setObjectName(QStringLiteral("cboAddress2"));
    cboAddress2->move(PixelsX(5760), 0);
    cboAddress2->resize(PixelsX(3000), PixelsY(315));
    const int pictureSize = PixelsX(ActivityPictureTwips);
    QLabel **pictures[] = {nullptr, &Picture3, &Picture4, &Picture5, &Picture6};
    Picture2 = new ClickLabel(Toolbar1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setToolTip(QStringLiteral("Go to Ombrane Software"));
    Picture2->setAccessibleName(Picture2->toolTip());
    Picture2->setCursor(Qt::PointingHandCursor);
    Picture2->resize(pictureSize, PixelsY(ActivityPictureTwips));
    for (int frame = 1; frame <= 4; ++frame) {
        QLabel *p = new QLabel(Toolbar1);
        p->setObjectName(QStringLiteral("Picture%1").arg(frame + 2));
        p->setToolTip(QStringLiteral("Downloading..."));
        p->resize(pictureSize, PixelsY(ActivityPictureTwips));
        p->hide();
        *pictures[frame] = p;
    }
}

// The activity pictures live on the full-screen toolbar: drawn when it is first shown.
void frmBrowser::DrawActivityPictures()
{
    if (!Picture2->pixmap().isNull())
        return;
    const int pictureSize = PixelsX(ActivityPictureTwips);
    QLabel *const pictures[] = {Picture2, Picture3, Picture4, Picture5, Picture6};
    for (int frame = 0; frame <= 4; ++frame)
        pictures[frame]->setPixmap(DrawActivityPicture(frame, pictureSize));
}

void frmBrowser::BuildAddressStrip(QWidget *client)
{
    picAddress = new QWidget(client);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lbladd = new ClickLabel(QStringLiteral("Favorites"), picAddress);
    lbladd->setObjectName(QStringLiteral("lbladd"));
    lbladd->setToolTip(QStringLiteral("Click to see favorites"));
    lbladd->setCursor(Qt::PointingHandCursor);
    QFont linkFont = lbladd->font();
    linkFont.setBold(true);
    linkFont.setUnderline(true);
    lbladd->setFont(linkFont);
    QPalette linkPalette = lbladd->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Highlight));
    lbladd->setPalette(linkPalette);
    lbladd->setGeometry(PixelsX(120), PixelsY(45), PixelsX(990), PixelsY(240));
    cboAddress = new AddressBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setGeometry(PixelsX(1200), 0, PixelsX(5980), PixelsY(315));
    lblCanceled = new QLabel(picAddress);
    lblCanceled->setObjectName(QStringLiteral("lblCanceled"));
    lblCanceled->setGeometry(PixelsX(7000), PixelsY(75), PixelsX(2295), PixelsY(255));
    // The label's left end lies under the address box's; its text starts clear of it, in a
    // size that fits the notice whole.
    lblCanceled->setContentsMargins(PixelsX(120), 0, 0, 0);
    // Sizes above 6 points only: the last tried lies in (6, 6.5].
    const QFont notice = lblCanceled->font();
    lblCanceled->setFont(FitFontSize(notice, notice.pointSizeF(), 6.5, 0.5, [this](const QFont &f) {
        return QFontMetrics(f).horizontalAdvance(QLatin1String(PopupNotice)) + PixelsX(120)
            <= lblCanceled->width();
    }));
    lblFav = new QLabel(QStringLiteral("Favorites:"), picAddress);
    lblFav->setObjectName(QStringLiteral("lblFav"));
    lblFav->setGeometry(PixelsX(120), PixelsY(400), PixelsX(1095), PixelsY(255));
    cboBookMarks = new QComboBox(picAddress);
    cboBookMarks->setObjectName(QStringLiteral("cboBookMarks"));
    cboBookMarks->setAccessibleName(QStringLiteral("Favorite addresses"));
    cboBookMarks->setGeometry(PixelsX(1200), PixelsY(360), PixelsX(5980), PixelsY(315));
    lblCanceled->lower();
    picAddress->setFixedHeight(PixelsY(345));

    for (QComboBox *box : {cboAddress, cboAddress2}) {
        box->setAccessibleName(QStringLiteral("Address"));
        // Some screen readers read an editable box's text as its name; its text field is named
        // too, so the box can be found by name whatever it shows.
        box->lineEdit()->setAccessibleName(QStringLiteral("Address"));
        box->setMaxVisibleItems(20);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
        box->installEventFilter(this);
    }
}

void frmBrowser::ConnectEvents()
{
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::tbToolBar_ButtonClick);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &frmBrowser::Toolbar1_ButtonClick);
    connect(Picture1, &ClickLabel::clicked, this, &frmBrowser::Picture1_Click);
    connect(Picture2, &ClickLabel::clicked, this, &frmBrowser::Picture2_Click);
    connect(lbladd, &ClickLabel::clicked, this, &frmBrowser::lbladd_Click);
    connect(lbladd, &ClickLabel::pressed, this, [this] { lbladd->setFrameStyle(QFrame::Box); });
    connect(lbladd, &ClickLabel::released, this,
            [this] { lbladd->setFrameStyle(QFrame::NoFrame); });
    connect(List1, &FavoritesList::Choose, this, &frmBrowser::List1_Choose);
    connect(List1, &FavoritesList::LostFocus, this, &frmBrowser::HideFavorites);

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
    connect(brwWebBrowser, &WebView::TitleChange, this, &frmBrowser::brwWebBrowser_TitleChange);

    connect(&Timer1, &QTimer::timeout, this, &frmBrowser::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &frmBrowser::Timer2_Timer);
    connect(&Timer4, &QTimer::timeout, this, &frmBrowser::Timer4_Timer);
    connect(&timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
}

// Events of controls that have no signal for them.
bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_built)
        return QMainWindow::eventFilter(watched, event);
    if (watched == static_cast<QObject *>(windowHandle()) && event->type() == QEvent::Expose) {
        NativeWindowMayBeGone();
        return false;
    }
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

QAction *frmBrowser::Button(QToolBar *bar, const QString &key)
{
    for (QAction *a : bar->actions())
        if (!key.isEmpty() && ButtonKey(a) == key)
            return a;
    return nullptr;
}

QString frmBrowser::ButtonKey(const QAction *button)
{
    return button ? button->property(KeyProperty).toString() : QString();
}
