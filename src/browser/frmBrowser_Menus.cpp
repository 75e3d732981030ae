// The menu bar as a table: one row per menu, item and separator, which both builds and
// connects it; and the Pop-Ups menu's marks, which the pop-up mode rows name.

#include "browser/frmBrowser.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace {

// One row of the menu bar, in order: a menu, an item or a separator.
struct MenuRow
{
    enum Kind { Menu, Item, Separator } kind;
    QMenu *frmBrowser::*parent; // nullptr: the menu bar itself
    QMenu *frmBrowser::*menu; // a Menu row's own member
    QAction *frmBrowser::*item; // an Item row's member
    const char *name;
    const char *caption;
    const char *shortcut; // "" for none
    int checked; // -1: no check mark; 0 or 1: its mark at creation
    void (frmBrowser::*handler)();
};

using F = frmBrowser;

MenuRow M(QMenu *F::*parent, QMenu *F::*menu, const char *name, const char *caption)
{
    return {MenuRow::Menu, parent, menu, nullptr, name, caption, "", -1, nullptr};
}

MenuRow I(QMenu *F::*parent, QAction *F::*item, const char *name, const char *caption,
          void (F::*handler)(), const char *shortcut = "", int checked = -1)
{
    return {MenuRow::Item, parent, nullptr, item, name, caption, shortcut, checked, handler};
}

MenuRow S(QMenu *F::*parent, const char *name)
{
    return {MenuRow::Separator, parent, nullptr, nullptr, name, "-", "", -1, nullptr};
}

// The whole menu bar. Adding a command is one row here and its handler.
const std::vector<MenuRow> &MenuBarRows()
{
    static const std::vector<MenuRow> rows {
        M(nullptr, &F::mnuFile, "mnuFile", "&File"),
        I(&F::mnuFile, &F::mnuNew, "mnuNew", "&New", &F::mnuNew_Click),
        I(&F::mnuFile, &F::mnuOpen, "mnuOpen", "&Open", &F::mnuOpen_Click, "Ctrl+O"),
        I(&F::mnuFile, &F::mnuClose, "mnuClose", "&Close", &F::mnuClose_Click),
        S(&F::mnuFile, "mnuline"),
        I(&F::mnuFile, &F::mnuSaveAs, "mnuSaveAs", "Save &As...", &F::mnuSaveAs_Click),
        S(&F::mnuFile, "mnuLine2"),
        I(&F::mnuFile, &F::munPageSetup, "munPageSetup", "Page Set&up...", &F::munPageSetup_Click),
        I(&F::mnuFile, &F::mnuPrint, "mnuPrint", "&Print...", &F::mnuPrint_Click, "Ctrl+P"),
        S(&F::mnuFile, "mnuLine3"),
        I(&F::mnuFile, &F::mnuExit, "mnuExit", "E&xit", &F::mnuExit_Click),

        M(nullptr, &F::mnuEdit, "mnuEdit", "&Edit"),
        I(&F::mnuEdit, &F::mnuCut, "mnuCut", "Cut", &F::mnuCut_Click, "Ctrl+X"),
        I(&F::mnuEdit, &F::mnuCopy, "mnuCopy", "&Copy", &F::mnuCopy_Click),
        I(&F::mnuEdit, &F::mnuPaste, "mnuPaste", "&Paste", &F::mnuPaste_Click),
        S(&F::mnuEdit, "mnuline4"),
        I(&F::mnuEdit, &F::mnuAll, "mnuAll", "Select &All", &F::mnuAll_Click, "Ctrl+A"),

        M(nullptr, &F::mnuView, "mnuView", "&View"),
        I(&F::mnuView, &F::mnuAddressBar, "mnuAddressBar", "A&ddress Bar", &F::mnuAddressBar_Click,
          "", 1),
        I(&F::mnuView, &F::mnuStatusbar, "mnuStatusbar", "Status&Bar", &F::mnuStatusbar_Click, "",
          1),
        I(&F::mnuView, &F::mnuToolBAr, "mnuToolBAr", "&ToolBar", &F::mnuToolBAr_Click, "", 1),
        S(&F::mnuView, "mnuline6"),
        I(&F::mnuView, &F::mnuRefresh, "mnuRefresh", "Refresh", &F::mnuRefresh_Click, "F5"),
        I(&F::mnuView, &F::mnuSource, "mnuSource", "Sour&ce", &F::mnuSource_Click),
        I(&F::mnuView, &F::mnuFullScreen, "mnuFullScreen", "Full Screen", &F::mnuFullScreen_Click,
          "F11"),

        M(nullptr, &F::mnuPreferences, "mnuPreferences", "&Preferences"),
        M(&F::mnuPreferences, &F::mnuPopUps, "mnuPopUps", "&Pop-Ups"),
        I(&F::mnuPopUps, &F::mnuAllow, "mnuAllow", "Allow &Parent Windows", &F::mnuAllow_Click, "",
          0),
        I(&F::mnuPopUps, &F::mnuNoPopUps, "mnuNoPopUps", "&Cancel All Windows",
          &F::mnuNoPopUps_Click, "", 1),
        I(&F::mnuPopUps, &F::mnuAllowIE, "mnuAllowIE", "&Allow All Windows", &F::mnuAllowIE_Click,
          "", 0),
        M(&F::mnuPreferences, &F::mnuHomePage, "mnuHomePage", "&Home Page"),
        I(&F::mnuHomePage, &F::mnugotohome, "mnugotohome", "&Go to Home", &F::mnugotohome_Click),
        I(&F::mnuHomePage, &F::mnuAddHome, "mnuAddHome", "&Set Current as Home",
          &F::mnuAddHome_Click),
        I(&F::mnuHomePage, &F::mnugotohome2, "mnugotohome2", "Go to Extra Home 2",
          &F::mnugotohome2_Click),
        I(&F::mnuHomePage, &F::mnuAddHome2, "mnuAddHome2", "Set Current as Extra Home 2",
          &F::mnuAddHome2_Click),
        I(&F::mnuHomePage, &F::mnugotohome3, "mnugotohome3", "Go to Extra Home 3",
          &F::mnugotohome3_Click),
        I(&F::mnuHomePage, &F::mnuAddHome3, "mnuAddHome3", "Set Current as Extra Home 3",
          &F::mnuAddHome3_Click),
        M(&F::mnuPreferences, &F::mnuSearch, "mnuSearch", "S&earch"),
        I(&F::mnuSearch, &F::mnuGotoSearch, "mnuGotoSearch", "&Go to Search",
          &F::mnuGotoSearch_Click),
        I(&F::mnuSearch, &F::mnuSetSearch, "mnuSetSearch", "&Set Current as Search Page",
          &F::mnuSetSearch_Click),
        M(&F::mnuPreferences, &F::mnuStartUp, "mnuStartUp", "S&tart Up"),
        I(&F::mnuStartUp, &F::mnuBlank, "mnuBlank", "&Blank", &F::mnuBlank_Click, "", 1),
        I(&F::mnuStartUp, &F::mnuStartHome, "mnuStartHome", "Ho&me", &F::mnuStartHome_Click, "", 0),
        I(&F::mnuPreferences, &F::mnuAssociate, "mnuAssociate", "Associate Files",
          &F::mnuAssociate_Click),

        M(nullptr, &F::mnuFavorites, "mnuFavorites", "&Favorites"),
        I(&F::mnuFavorites, &F::mnuAddToFav, "mnuAddToFav", "&Add Current Page",
          &F::mnuAddToFav_Click),
        I(&F::mnuFavorites, &F::mnuEditFav, "mnuEditFav", "&Edit Favorites", &F::mnuEditFav_Click),

        M(nullptr, &F::mnuHelp, "mnuHelp", "&Help"),
        I(&F::mnuHelp, &F::mnuAbout, "mnuAbout", "&About", &F::mnuAbout_Click),
        I(&F::mnuHelp, &F::mnuSplash, "mnuSplash", "&Splash", &F::mnuSplash_Click),
        I(&F::mnuHelp, &F::mnuSupport, "mnuSupport", "S&upport", &F::mnuSupport_Click),
        I(&F::mnuHelp, &F::mnuHelpTopics, "mnuHelpTopics", "H&elp Topics", &F::mnuHelpTopics_Click),
    };
    return rows;
}

} // namespace

void frmBrowser::BuildMenus()
{
    for (const MenuRow &row : MenuBarRows()) {
        QMenu *parentMenu = row.parent ? this->*row.parent : nullptr;
        switch (row.kind) {
        case MenuRow::Menu: {
            const QString caption = QString::fromLatin1(row.caption);
            QMenu *m = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
            m->setObjectName(QLatin1String(row.name));
            m->menuAction()->setObjectName(QLatin1String(row.name));
            this->*row.menu = m;
            break;
        }
        case MenuRow::Separator:
            parentMenu->addSeparator()->setObjectName(QLatin1String(row.name));
            break;
        case MenuRow::Item: {
            QAction *a = parentMenu->addAction(QString::fromLatin1(row.caption));
            a->setObjectName(QLatin1String(row.name));
            a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            if (row.checked >= 0) {
                a->setCheckable(true);
                a->setChecked(row.checked == 1);
            }
            // Items with check marks set them in their own handlers, so the automatic flip of
            // the click is undone first.
            connect(a, &QAction::triggered, this, [this, a, handler = row.handler] {
                if (a->isCheckable())
                    a->setChecked(!a->isChecked());
                (this->*handler)();
            });
            this->*row.item = a;
            break;
        }
        }
    }
}

void frmBrowser::RestorePopupMode()
{
    // A stored word that is no mode leaves "Cancel All Windows" checked.
    PopupMode mode;
    if (PopupModeFromWord(settings.PopupMode, &mode))
        SelectPopupMode(mode);
}

void frmBrowser::StorePopupMode()
{
    if (const std::optional<PopupMode> mode
        = PopupModeFromMarks([this](PopupMode m) { return PopupModeItem(m)->isChecked(); }))
        settings.PopupMode = PopupModeWord(*mode);
}

PopupMode frmBrowser::CurrentPopupMode() const
{
    return PopupModeFromMarks([this](PopupMode m) { return PopupModeItem(m)->isChecked(); })
        .value_or(PopupMode::CancelAll);
}

QAction *frmBrowser::PopupModeItem(PopupMode mode) const
{
    for (const PopupModeRow &row : PopupModeRows())
        if (row.mode == mode)
            return mnuPopUps->findChild<QAction *>(QLatin1String(row.item));
    return nullptr;
}

void frmBrowser::SelectPopupMode(PopupMode mode)
{
    for (const PopupModeRow &row : PopupModeRows())
        PopupModeItem(row.mode)->setChecked(row.mode == mode);
}

void frmBrowser::mnuAllow_Click()
{
    SelectPopupMode(PopupMode::AllowParent);
}

void frmBrowser::mnuNoPopUps_Click()
{
    SelectPopupMode(PopupMode::CancelAll);
}

void frmBrowser::mnuAllowIE_Click()
{
    SelectPopupMode(PopupMode::AllowAll);
}
