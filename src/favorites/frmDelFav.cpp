#include "favorites/frmDelFav.h"

#include "forms/DesignedForm.h"

#include "favorites/FavoritesFiles.h"
#include "favorites/FavoritesPictures.h"
#include "services/UserDialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <cmath>

namespace {

// The window's client area as designed, in twips.
constexpr double ClientWidth = 9405;
constexpr double ClientHeight = 6180;
// The button pictures' side, in twips: about a quarter inch.
constexpr double IconSide = 360;

void ShowList(QListWidget *list, const FavoriteList &entries)
{
    const int n = entries.size();
    for (int i = 0; i < qMin(list->count(), n); ++i) {
        const QString shown = entries[i].shown();
        if (list->item(i)->text() != shown)
            list->item(i)->setText(shown);
    }
    while (list->count() > n)
        delete list->takeItem(list->count() - 1);
    for (int i = list->count(); i < n; ++i)
        list->addItem(entries[i].shown());
}

void ShowSelection(QListWidget *list, int row)
{
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
}

// Shows the text in the box, shortened when long; what the box stands for is kept whole.
void ShowText(QLineEdit *box, const FavoriteText &text, frmDelFav::BoxText &held)
{
    held.whole = text;
    held.shown = text.shown();
    if (box->text() != held.shown)
        box->setText(held.shown);
}

// What the box holds: the whole text it stands for while it still shows it unchanged (a long
// entry selected and not edited stays whole), else what was typed.
FavoriteText TextOf(const QLineEdit *box, const frmDelFav::BoxText &held)
{
    const QString text = box->text();
    return text == held.shown ? held.whole : FavoriteText(text);
}

// The designed sizes suit the dialog font the window was drawn with; another system's font may
// run wider, so a label's font is made smaller until its caption shows whole.
void FitCaption(QLabel *label)
{
    const QFont f = label->font();
    label->setFont(FitFontSize(f, f.pointSizeF(), 6, 0.25, [label](const QFont &type) {
        return QFontMetrics(type).horizontalAdvance(label->text()) <= label->width();
    }));
}

QString SaveFailureText(const FavoritesWriteResult &result)
{
    const QString kept = QStringLiteral("Nothing has been lost: your changes are still in this "
                                        "window.");
    if (result.outcome == FavoritesWriteResult::Busy)
        return QStringLiteral("Your favorites could not be saved, because another QuorBrowser "
                              "window is changing them. %1 Please close it again in a moment.")
            .arg(kept);
    return QStringLiteral("Your favorites could not be saved, because the file \"%1\" could not "
                          "be written. %2 Please close it again once the file can be written.")
        .arg(QDir::toNativeSeparators(result.failedPath), kept);
}

} // namespace

frmDelFav::frmDelFav(const QString &appFolder, UserDialogs *dialogs,
                     std::function<void(const FavoritesPair &)> showFavList,
                     std::function<void(const FavoriteText &, const FavoriteText &)> removeFavorite,
                     QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_appFolder(appFolder)
    , m_dialogs(dialogs)
    , m_showFavList(std::move(showFavList))
    , m_removeFavorite(std::move(removeFavorite))
{
    setObjectName(QStringLiteral("frmDelFav"));
    setWindowTitle(QString::fromLatin1(Caption));
    BuildControls();
    LoadEditFavList();
}

void frmDelFav::BuildControls()
{
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    auto place = [&](QWidget *w, double left, double top, double width, double height) {
        w->setGeometry(PixelsForTwips(left, tx), PixelsForTwips(top, ty), PixelsForTwips(width, tx),
                       PixelsForTwips(height, ty));
    };
    setFixedSize(PixelsForTwips(ClientWidth, tx), PixelsForTwips(ClientHeight, ty));

    // The designed controls are laid out for the system's small dialog font.
    QFont formFont = font();
    formFont.setPointSizeF(8);
    setFont(formFont);

    const int iconSide = PixelsForTwips(IconSide, tx);
    auto iconButton
        = [&](const char *name, const char *key, const char *caption, const char *tooltip) {
              auto *b = new QToolButton(this);
              b->setObjectName(QLatin1String(name));
              b->setText(QLatin1String(caption));
              b->setToolTip(QLatin1String(tooltip));
              b->setAccessibleName(QLatin1String(caption));
              b->setIcon(EditorButtonIcon(QLatin1String(key), iconSide));
              b->setIconSize(QSize(iconSide, iconSide));
              b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
              b->setFocusPolicy(Qt::StrongFocus);
              return b;
          };
    Command1 = iconButton("Command1", "Up", "Up", "Move Up");
    Command2 = iconButton("Command2", "Down", "Down", "Move Down");
    cmdDelete = iconButton("cmdDelete", "Delete", "Delete", "Delete");
    cmdAdd = iconButton("cmdAdd", "Add", "Add", "Add Favorite");
    cmdChange = iconButton("cmdChange", "Update", "Update", "Update Favorite");
    place(Command1, 120, 120, 735, 855);
    place(Command2, 960, 120, 735, 855);
    place(cmdDelete, 1800, 120, 735, 855);
    place(cmdAdd, 2640, 120, 735, 855);
    place(cmdChange, 3480, 120, 735, 855);

    Label1 = new QLabel(QStringLiteral("Ombrane Software"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont makerFont(QStringLiteral("MS Sans Serif"));
    makerFont.setPointSizeF(9.75);
    makerFont.setBold(true);
    Label1->setFont(makerFont);
    place(Label1, 4440, 360, 3015, 375);

    auto button = [&](const char *name, const char *caption) {
        auto *b = new QPushButton(QLatin1String(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAccessibleName(QLatin1String(caption));
        b->setAutoDefault(false);
        return b;
    };
    Command3 = button("Command3", "Cancel");
    cmdDone = button("cmdDone", "Done");
    place(Command3, 7680, 120, 735, 855);
    place(cmdDone, 8520, 120, 735, 855);

    auto textBox = [&](const char *name, const QString &accessibleName) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(accessibleName);
        box->installEventFilter(this);
        return box;
    };
    txtFavname = textBox("txtFavname", QStringLiteral("Favorite Name"));
    txtFavAddress = textBox("txtFavAddress", QStringLiteral("Favorite URL Address"));
    place(txtFavname, 120, 1080, 2775, 285);
    place(txtFavAddress, 2880, 1080, 6375, 285);

    lblFavName = new QLabel(QStringLiteral("Favorite Name"), this);
    lblFavName->setObjectName(QStringLiteral("lblFavName"));
    lblAddress = new QLabel(QStringLiteral("Favorite URL Address"), this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    place(lblFavName, 240, 1440, 1035, 195);
    place(lblAddress, 3000, 1440, 1560, 195);
    for (QLabel *label : {Label1, lblFavName, lblAddress})
        FitCaption(label);

    auto list = [&](const char *name, const QString &accessibleName) {
        auto *l = new QListWidget(this);
        l->setObjectName(QLatin1String(name));
        l->setAccessibleName(accessibleName);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->setSortingEnabled(false);
        // A click on the row already selected counts as a click too.
        connect(l, &QListWidget::itemSelectionChanged, this, [this, l] { ListClicked(l); });
        connect(l, &QListWidget::itemClicked, this, [this, l] { ListClicked(l); });
        return l;
    };
    List2 = list("List2", QStringLiteral("Favorite Names"));
    List1 = list("List1", QStringLiteral("Favorite URL Addresses"));
    place(List2, 120, 1680, 2775, 4350);
    place(List1, 2880, 1680, 6375, 4350);

    connect(Command1, &QToolButton::clicked, this, &frmDelFav::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &frmDelFav::Command2_Click);
    connect(cmdDelete, &QToolButton::clicked, this, &frmDelFav::cmdDelete_Click);
    connect(cmdAdd, &QToolButton::clicked, this, &frmDelFav::cmdAdd_Click);
    connect(cmdChange, &QToolButton::clicked, this, &frmDelFav::cmdChange_Click);
    connect(Command3, &QPushButton::clicked, this, &frmDelFav::Command3_Click);
    connect(cmdDone, &QPushButton::clicked, this, &frmDelFav::cmdDone_Click);

    // The keyboard's order through the window; labels take no focus.
    const QList<QWidget *> order
        = {List1,      cmdDone,       cmdDelete, List2,  Command1, Command2,
           txtFavname, txtFavAddress, cmdChange, cmdAdd, Command3};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    List1->setFocus();

    ShowEdit();
}

double frmDelFav::TwipsPerPixelX() const
{
    return ::TwipsPerPixelX(this);
}

double frmDelFav::TwipsPerPixelY() const
{
    return ::TwipsPerPixelY(this);
}

void frmDelFav::LoadEditFavList()
{
    const FavoritesForEdit read = LoadFavoritesForEdit(m_appFolder);
    m_loaded = read;
    m_edit.addresses += read.addresses;
    m_edit.names += read.names;
    m_addressesShown = m_edit.addresses.size();
    m_namesShown = m_edit.names.size();
    ShowEdit();
}

bool frmDelFav::SaveFavList()
{
    FavoritesPair saved;
    const FavoritesWriteResult result
        = SaveFavorites(m_appFolder, m_edit.addresses, m_edit.names, m_addressesShown, m_namesShown,
                        FavoritesLockWaitMs, &saved);
    if (!result.ok()) {
        if (m_dialogs)
            m_dialogs->MessageBox(this, SaveFailureText(result), QString::fromLatin1(ProductTitle));
        return false;
    }
    // The files now begin with exactly these lists; anything after them is someone else's.
    m_addressesShown = m_edit.addresses.size();
    m_namesShown = m_edit.names.size();
    if (m_showFavList)
        m_showFavList(saved);
    return true;
}

void frmDelFav::TakeTexts()
{
    m_edit.name = TextOf(txtFavname, m_nameInBox);
    m_edit.address = TextOf(txtFavAddress, m_addressInBox);
}

void frmDelFav::ShowEdit()
{
    m_showing = true;
    ShowList(List1, m_edit.addresses);
    ShowList(List2, m_edit.names);
    ShowSelection(List1, m_edit.selected);
    ShowSelection(List2, m_edit.selected);
    ShowText(txtFavname, m_edit.name, m_nameInBox);
    ShowText(txtFavAddress, m_edit.address, m_addressInBox);
    cmdDelete->setEnabled(m_edit.deleteEnabled);
    cmdChange->setEnabled(m_edit.updateEnabled);
    cmdAdd->setEnabled(m_edit.addEnabled);
    m_showing = false;
}

void frmDelFav::ListClicked(QListWidget *list)
{
    if (m_showing)
        return;
    const QList<QListWidgetItem *> items = list->selectedItems();
    TakeTexts();
    SelectFavorite(m_edit, items.isEmpty() ? -1 : list->row(items.first()));
    ShowEdit();
}

void frmDelFav::List1_Click()
{
    ListClicked(List1);
}

void frmDelFav::List2_Click()
{
    ListClicked(List2);
}

void frmDelFav::txtFavname_KeyPress()
{
    TakeTexts();
    TypeInFavorite(m_edit);
    ShowEdit();
}

void frmDelFav::txtFavAddress_KeyPress()
{
    TakeTexts();
    TypeInFavorite(m_edit);
    ShowEdit();
}

void frmDelFav::cmdAdd_Click()
{
    TakeTexts();
    AddToFavorites(m_edit);
    ShowEdit();
}

void frmDelFav::cmdChange_Click()
{
    TakeTexts();
    UpdateFavorite(m_edit);
    ShowEdit();
}

void frmDelFav::cmdDelete_Click()
{
    TakeTexts();
    const int i = m_edit.selected;
    const FavoriteText address
        = i >= 0 && i < m_edit.addresses.size() ? m_edit.addresses[i] : FavoriteText();
    const FavoriteText name = i >= 0 && i < m_edit.names.size() ? m_edit.names[i] : FavoriteText();
    if (DeleteFavorite(m_edit) && m_removeFavorite)
        m_removeFavorite(address, name);
    ShowEdit();
}

void frmDelFav::Command1_Click()
{
    TakeTexts();
    MoveFavoriteUp(m_edit);
    ShowEdit();
}

void frmDelFav::Command2_Click()
{
    TakeTexts();
    MoveFavoriteDown(m_edit);
    ShowEdit();
}

void frmDelFav::Command3_Click()
{
    // Cancel closes like Done: closing always saves.
    close();
}

void frmDelFav::cmdDone_Click()
{
    close();
}

bool frmDelFav::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtFavname || watched == txtFavAddress)) {
        // Keys that only move the focus, or a modifier held alone, type nothing.
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool types = key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Shift
            && key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Meta
            && key != Qt::Key_AltGr;
        if (types) {
            if (watched == txtFavname)
                txtFavname_KeyPress();
            else
                txtFavAddress_KeyPress();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmDelFav::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
}

void frmDelFav::closeEvent(QCloseEvent *event)
{
    if (SaveFavList())
        event->accept();
    else
        event->ignore();
}
