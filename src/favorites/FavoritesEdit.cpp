#include "favorites/FavoritesEdit.h"

namespace {

// The commands that work on a favorite look for it in the address list, as the files are
// matched from the addresses; a names file longer than the addresses leaves its extra names
// without a favorite to act on.
bool HasSelectedAddress(const FavoritesEdit &edit)
{
    return edit.selected >= 0 && edit.selected < edit.addresses.size();
}

void DisableEditing(FavoritesEdit &edit)
{
    edit.deleteEnabled = false;
    edit.updateEnabled = false;
    edit.addEnabled = false;
}

} // namespace

void SelectFavorite(FavoritesEdit &edit, int row)
{
    if (row < 0 || row >= qMax(edit.addresses.size(), edit.names.size())) {
        edit.selected = -1;
        return;
    }
    edit.deleteEnabled = true;
    edit.updateEnabled = true;
    edit.selected = row;
    edit.address = row < edit.addresses.size() ? edit.addresses[row] : FavoriteText();
    edit.name = row < edit.names.size() ? edit.names[row] : FavoriteText();
}

void TypeInFavorite(FavoritesEdit &edit)
{
    edit.addEnabled = true;
}

bool AddToFavorites(FavoritesEdit &edit)
{
    if (!edit.addEnabled || edit.address.isEmpty() || edit.name.isEmpty())
        return false;
    edit.names.append(edit.name);
    edit.addresses.append(edit.address);
    edit.addEnabled = false;
    edit.updateEnabled = false;
    return true;
}

bool UpdateFavorite(FavoritesEdit &edit)
{
    if (!edit.updateEnabled || !HasSelectedAddress(edit) || edit.address.isEmpty()
        || edit.name.isEmpty())
        return false;
    const int i = edit.selected;
    edit.addresses[i] = edit.address;
    if (i < edit.names.size())
        edit.names[i] = edit.name;
    edit.address = FavoriteText();
    edit.name = FavoriteText();
    edit.selected = -1;
    DisableEditing(edit);
    return true;
}

bool DeleteFavorite(FavoritesEdit &edit)
{
    if (!edit.deleteEnabled || !HasSelectedAddress(edit))
        return false;
    const int i = edit.selected;
    edit.addresses.removeAt(i);
    if (i < edit.names.size())
        edit.names.removeAt(i);
    edit.selected = -1;
    DisableEditing(edit);
    edit.address = FavoriteText();
    edit.name = FavoriteText();
    return true;
}

bool MoveFavoriteUp(FavoritesEdit &edit)
{
    const int i = edit.selected;
    if (!HasSelectedAddress(edit) || i == 0)
        return false;
    edit.addresses.move(i, i - 1);
    if (i < edit.names.size())
        edit.names.move(i, i - 1);
    SelectFavorite(edit, i - 1);
    return true;
}

bool MoveFavoriteDown(FavoritesEdit &edit)
{
    const int i = edit.selected;
    if (!HasSelectedAddress(edit) || i == edit.addresses.size() - 1)
        return false;
    edit.addresses.move(i, i + 1);
    if (i + 1 < edit.names.size())
        edit.names.move(i, i + 1);
    SelectFavorite(edit, i + 1);
    return true;
}

int FindFavorite(const FavoriteList &addresses, const FavoriteList &names,
                 const FavoriteText &address, const FavoriteText &name)
{
    const int n = qMin(addresses.size(), names.size());
    for (int i = 0; i < n; ++i) {
        if (addresses[i] == address && names[i] == name)
            return i;
    }
    return -1;
}
