#pragma once

#include <QString>
#include <vector>

class frmBrowser;

// The two toolbars: the captioned main toolbar of the normal arrangement and the small-icon one
// of full screen.
enum class Toolbar {
    Main, // tbToolBar
    FullScreen, // Toolbar1
};

// What a click on a key runs: a handler of the browser window.
using ToolbarCommand = void (frmBrowser::*)();

// One row of a toolbar, in its order: a key, or a separator. Adding a key is one row here and
// its handler; the row builds the key, names it and runs it, and the window finds it by key.
struct ToolbarRow
{
    const char *key; // nullptr: a separator
    const char *caption; // empty on the full-screen toolbar
    const char *tooltip;
    const char *picture; // the drawing of Pictures.h the key shows
    ToolbarCommand command;
};

// The rows of a toolbar in their order.
const std::vector<ToolbarRow> &ToolbarRows(Toolbar bar);

// What a click on the key of a toolbar runs; nullptr for a key the toolbar does not have. Keys
// compare exactly, case and all.
ToolbarCommand CommandForKey(Toolbar bar, const QString &key);
