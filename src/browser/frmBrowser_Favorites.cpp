// The favorites: the two lists filled from their files, the pop-up list over the page, and
// going to the favorite chosen there.

#include "browser/frmBrowser.h"

#include "favorites/FavoritesFiles.h"
#include "settings/AppFolder.h"
#include "webview/WebView.h"

#include <QComboBox>
#include <QListWidget>

void frmBrowser::LoadFavList()
{
    List1->clear();
    cboBookMarks->clear();
    cboBookMarks->addItems(
        ReadFavoritesFile(AppFilePath(m_env.appFolder, QString::fromLatin1(FavoritesFileName))));
    List1->addItems(
        ReadFavoritesFile(AppFilePath(m_env.appFolder, QString::fromLatin1(FavNameFileName))));
}

void frmBrowser::ShowFavorites()
{
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
    if (row < 0 || !List1->isVisible())
        return;
    HideFavorites();
    if (row < cboBookMarks->count())
        brwWebBrowser->Navigate(cboBookMarks->itemText(row));
}

void frmBrowser::mnuAddToFav_Click()
{
    // Not yet: adding the current page arrives with the favorites editor.
}

void frmBrowser::mnuEditFav_Click()
{
    // Not yet: the favorites editor.
}
