#include "browser/Toolbars.h"

#include "browser/frmBrowser.h"

const std::vector<ToolbarRow> &ToolbarRows(Toolbar bar)
{
    using F = frmBrowser;
    static const std::vector<ToolbarRow> main {
        {"Back", "Back", "Back", "Back", &F::GoBackKey},
        {"Forward", "Forward", "Forward", "Forward", &F::GoForwardKey},
        {nullptr, "", "", "", nullptr},
        {"Stop", "Stop", "Stop", "Stop", &F::StopButton},
        {"Refresh", "Refresh", "Refresh", "Refresh", &F::mnuRefresh_Click},
        {nullptr, "", "", "", nullptr},
        {"Home", "Home", "Home Page", "Home", &F::mnugotohome_Click},
        {"Home2", "Extra", "Extra Home Page", "Home2", &F::mnugotohome2_Click},
        {"Home3", "Extra", "Extra Home Page", "Home3", &F::mnugotohome3_Click},
        {nullptr, "", "", "", nullptr},
        {"Add", "Add Fav", "Add Current Page to Favorites", "Add", &F::mnuAddToFav_Click},
        {"Search", "Search", "Search", "Search", &F::mnuGotoSearch_Click},
        {"Print", "Print", "Print", "Print", &F::mnuPrint_Click},
        // Each click shows or hides the address beside the box.
        {"IP", "IP", "IP Address", "IP", &F::ToggleIPAddressLabel},
        {"Full", "Full", "Full Screen", "Full", &F::mnuFullScreen_Click},
    };
    static const std::vector<ToolbarRow> fullScreen {
        {"Open", "", "Open File", "Open", &F::mnuOpen_Click},
        {nullptr, "", "", "", nullptr},
        {"Back", "", "Back", "Back", &F::GoBackKey},
        {"Forward", "", "Forward", "Forward", &F::GoForwardKey},
        {"Stop", "", "Stop", "Stop", &F::StopButton},
        {"Refresh", "", "Refresh", "Refresh", &F::mnuRefresh_Click},
        {"Home", "", "Home", "Home", &F::mnugotohome_Click},
        {"Home2", "", "Extra Home Page", "Home2", &F::mnugotohome2_Click},
        {"Home3", "", "Extra Home Page", "Home3", &F::mnugotohome3_Click},
        {"Search", "", "Search", "Search", &F::mnuGotoSearch_Click},
        {"Print", "", "Print", "Print", &F::mnuPrint_Click},
        // The address into the address box, where it stays until something else writes it.
        {"IP", "", "IP Address", "IP", &F::IPAddressToBox},
        {nullptr, "", "", "", nullptr},
        {"Favorites", "", "Favorites", "Favorites", &F::ShowFavorites},
        {"Add", "", "Add Current Page To Favorites", "Add", &F::mnuAddToFav_Click},
        {"Edit", "", "Edit Favorites", "Edit", &F::mnuEditFav_Click},
        {nullptr, "", "", "", nullptr},
        {"View", "", "Normal View", "View", &F::NormalView},
        {nullptr, "", "", "", nullptr},
    };
    return bar == Toolbar::Main ? main : fullScreen;
}

ToolbarCommand CommandForKey(Toolbar bar, const QString &key)
{
    for (const ToolbarRow &row : ToolbarRows(bar))
        if (row.key && key == QLatin1String(row.key))
            return row.command;
    return nullptr;
}
