// The favorites: the two lists filled from their files, the pop-up list over the page, and
// going to the favorite chosen there.

#include "browser/frmBrowser.h"

#include "forms/DesignedForm.h"

#include "favorites/FavoritesEdit.h"
#include "favorites/FavoritesFiles.h"
#include "favorites/frmDelFav.h"
#include "services/UserDialogs.h"
#include "settings/AppFolder.h"
#include "webview/WebView.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// Each entry is shown shortened when long and kept whole in the item's data: choosing a
// favorite goes to its whole address, and taking one out matches it whole.
constexpr int WholeEntryRole = Qt::UserRole;

FavoriteText WholeEntry(const QListWidgetItem *item)
{
    return item->data(WholeEntryRole).value<FavoriteText>();
}

} // namespace

void frmBrowser::LoadFavList()
{
    ShowFavList(ReadFavorites(m_env.appFolder));
}

void frmBrowser::ShowFavList(const FavoritesPair &pair)
{
    m_favoritesRead = true;
    List1->clear();
    cboBookMarks->clear();
    for (const FavoriteText &address : pair.addresses)
        cboBookMarks->addItem(address.shown(), QVariant::fromValue(address));
    for (const FavoriteText &name : pair.names) {
        auto *item = new QListWidgetItem(name.shown());
        item->setData(WholeEntryRole, QVariant::fromValue(name));
        List1->addItem(item);
    }
}

void frmBrowser::EnsureFavorites()
{
    if (!m_favoritesRead)
        LoadFavList();
}

void frmBrowser::ShowFavorites()
{
    EnsureFavorites();
    List1->raise();
    List1->show();
    List1->setFocus();
}

void frmBrowser::HideFavorites()
{
    List1->hide();
}

void frmBrowser::lbladd_Click()
{
    // The label opens the pop-up, or closes it when it is open.
    if (List1->isVisible())
        HideFavorites();
    else
        ShowFavorites();
}

void frmBrowser::List1_Choose(int row)
{
    // The address at the same position as the name chosen.
    if (!List1->isVisible())
        return;
    HideFavorites();
    if (row < cboBookMarks->count())
        brwWebBrowser->Navigate(
            cboBookMarks->itemData(row, WholeEntryRole).value<FavoriteText>().text());
}

void frmBrowser::mnuAddToFav_Click()
{
    const FavoritesWriteResult r
        = AddFavorite(m_env.appFolder, brwWebBrowser->LocationURL(), brwWebBrowser->LocationName());
    if (r.outcome == FavoritesWriteResult::Written)
        LoadFavList();
    else if (!r.ok()) // a page without an address adds nothing, silently
        CommonDialog1->MessageBox(this, AddFavoriteFailureText(r), QLatin1String(ProductTitle));
}

void frmBrowser::RemoveFavorite(const FavoriteText &address, const FavoriteText &name)
{
    // Deleted in the editor: gone from the pop-up at once, by what it is rather than by row, so
    // the names left still lead to their own addresses.
    EnsureFavorites();
    FavoriteList addresses, names;
    for (int i = 0; i < cboBookMarks->count(); ++i)
        addresses << cboBookMarks->itemData(i, WholeEntryRole).value<FavoriteText>();
    for (int i = 0; i < List1->count(); ++i)
        names << WholeEntry(List1->item(i));
    const int at = FindFavorite(addresses, names, address, name);
    if (at < 0)
        return;
    delete List1->takeItem(at);
    cboBookMarks->removeItem(at);
}

void frmBrowser::mnuEditFav_Click()
{
    HideFavorites();
    if (!DelFavWindow) {
        // Modeless and without an owner; it may outlive the window only as long as it takes
        // to close, so it reaches back through a guarded pointer.
        QPointer<frmBrowser> self(this);
        DelFavWindow = new frmDelFav(
            m_env.appFolder, CommonDialog1,
            // The editor hands over what it saved: reading the files again would take as long
            // as writing them.
            [self](const FavoritesPair &saved) {
                if (self)
                    self->ShowFavList(saved);
            },
            [self](const FavoriteText &address, const FavoriteText &name) {
                if (self)
                    self->RemoveFavorite(address, name);
            });
        DelFavWindow->setAttribute(Qt::WA_DeleteOnClose);
        // Opened before the favorites were first read: the editor has just read them, under
        // the lock, and reading them again would double the wait.
        if (!m_favoritesRead)
            ShowFavList(DelFavWindow->Loaded());
    }
    BringToFront(DelFavWindow);
}
