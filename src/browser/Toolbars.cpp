#include "browser/Toolbars.h"

const std::vector<ToolbarButton> &ToolbarButtons(Toolbar bar)
{
    static const std::vector<ToolbarButton> main {
        {"Back", "Back", "Back"},
        {"Forward", "Forward", "Forward"},
        {nullptr, "", ""},
        {"Stop", "Stop", "Stop"},
        {"Refresh", "Refresh", "Refresh"},
        {nullptr, "", ""},
        {"Home", "Home", "Home Page"},
        {"Home2", "Extra", "Extra Home Page"},
        {"Home3", "Extra", "Extra Home Page"},
        {nullptr, "", ""},
        {"Add", "Add Fav", "Add Current Page to Favorites"},
        {"Search", "Search", "Search"},
        {"Print", "Print", "Print"},
        {"IP", "IP", "IP Address"},
        {"Full", "Full", "Full Screen"},
    };
    static const std::vector<ToolbarButton> fullScreen {
        {"Open", "", "Open File"},
        {nullptr, "", ""},
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
        {nullptr, "", ""},
        {"Favorites", "", "Favorites"},
        {"Add", "", "Add Current Page To Favorites"},
        {"Edit", "", "Edit Favorites"},
        {nullptr, "", ""},
        {"View", "", "Normal View"},
        {nullptr, "", ""},
    };
    return bar == Toolbar::Main ? main : fullScreen;
}

ToolbarCommand CommandForKey(Toolbar bar, const QString &key)
{
    struct Row
    {
        const char *key;
        ToolbarCommand main;
        ToolbarCommand fullScreen;
    };
    using C = ToolbarCommand;
    static const Row rows[] = {
        {"Back", C::Back, C::Back},          {"Forward", C::Forward, C::Forward},
        {"Refresh", C::Refresh, C::Refresh}, {"Home", C::Home, C::Home},
        {"Home2", C::Home2, C::Home2},       {"Home3", C::Home3, C::Home3},
        {"Search", C::Search, C::Search},    {"Stop", C::Stop, C::Stop},
        {"Print", C::Print, C::Print},       {"IP", C::ToggleAddressLabel, C::AddressToBox},
        {"Full", C::FullScreen, C::None},    {"Add", C::AddCurrentPage, C::AddCurrentPage},
        {"View", C::None, C::NormalView},    {"Favorites", C::None, C::ShowFavorites},
        {"Edit", C::None, C::EditFavorites}, {"Open", C::None, C::OpenFile},
    };
    for (const Row &r : rows)
        if (key == QLatin1String(r.key))
            return bar == Toolbar::Main ? r.main : r.fullScreen;
    return C::None;
}
