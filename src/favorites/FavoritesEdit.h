#pragma once

#include "favorites/FavoriteText.h"

// The favorites editor's own copy of the favorites and the state of its controls. The commands
// below are the editor's buttons; the window shows this state and nothing else. A command whose
// button is disabled does nothing, as a disabled button cannot be pressed.
struct FavoritesEdit
{
    FavoriteList addresses; // List1
    FavoriteList names; // List2
    int selected = -1; // the row selected in both lists, -1 for none
    FavoriteText address; // txtFavAddress
    FavoriteText name; // txtFavname
    bool deleteEnabled = false; // cmdDelete
    bool updateEnabled = false; // cmdChange
    bool addEnabled = false; // cmdAdd
};

// A click on row `row` of either list (or a selection made by a command): the same row in both
// lists, its texts in the boxes, Delete and Update enabled. A row outside both lists clears the
// selection and changes nothing else.
void SelectFavorite(FavoritesEdit &edit, int row);

// A key press in either text box.
void TypeInFavorite(FavoritesEdit &edit);

// Add: with both boxes filled, appends their texts as a new last favorite and disables Add and
// Update; the boxes and the selection stay. False when nothing was added.
bool AddToFavorites(FavoritesEdit &edit);

// Update: with a selected favorite and both boxes filled, replaces it by the boxes' texts,
// empties the boxes, clears the selection and disables Delete, Update and Add.
bool UpdateFavorite(FavoritesEdit &edit);

// Delete: removes the selected favorite, empties the boxes and disables Delete, Update and Add.
// False, with nothing changed, when none is selected.
bool DeleteFavorite(FavoritesEdit &edit);

// Up and Down: move the selected favorite one place, keeping it selected. Nothing happens with
// no selection, or for Up on the first and Down on the last favorite.
bool MoveFavoriteUp(FavoritesEdit &edit);
bool MoveFavoriteDown(FavoritesEdit &edit);

// The position of the favorite (address, name) in a pair of lists matched by position; -1 when
// it is not there. The main window uses it to take out a favorite the editor deleted: matching
// the pair rather than the editor's row stays right after the editor has moved or added entries.
int FindFavorite(const FavoriteList &addresses, const FavoriteList &names,
                 const FavoriteText &address, const FavoriteText &name);
