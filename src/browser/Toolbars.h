#pragma once

#include <QString>
#include <vector>

// The two toolbars: the captioned main toolbar of the normal arrangement and the small-icon one
// of full screen. Their buttons, by position, and what a click on each key runs.
enum class Toolbar {
    Main, // tbToolBar
    FullScreen, // Toolbar1
};

struct ToolbarButton
{
    const char *key; // nullptr: a separator
    const char *caption; // empty on the full-screen toolbar
    const char *tooltip;
};

// The buttons of a toolbar in their order; positions count from 1, separators included.
const std::vector<ToolbarButton> &ToolbarButtons(Toolbar bar);

enum class ToolbarCommand {
    None, // a separator, or a key the toolbar does not have
    Back,
    Forward,
    Refresh,
    Home,
    Home2,
    Home3,
    Search,
    Stop,
    Print,
    ToggleAddressLabel, // the main toolbar's "IP": show or hide the address beside the box
    AddressToBox, // the full-screen toolbar's "IP": the address into the address box
    FullScreen,
    AddCurrentPage,
    NormalView,
    ShowFavorites,
    EditFavorites,
    OpenFile,
};

// What a click on the key of a toolbar runs. Keys compare exactly, case and all.
ToolbarCommand CommandForKey(Toolbar bar, const QString &key);
