#pragma once

#include <QString>
#include <optional>

// The three answers to a page asking for a new window.
enum class PopupMode {
    CancelAll, // refuse, with the notice
    AllowParent, // refuse in the view; a link under the pointer opens in a new instance
    AllowAll, // the view opens the window itself
};

// The stored word of a mode, and the mode a stored word restores (exact words only; any other
// restores nothing).
QString PopupModeWord(PopupMode mode);
bool PopupModeFromWord(const QString &word, PopupMode *mode);

struct NewWindowDecision
{
    bool cancel = true;
    bool showNotice = false;
    QString handOff; // an address for a new instance; empty: none

    bool operator==(const NewWindowDecision &o) const
    {
        return cancel == o.cancel && showNotice == o.showNotice && handOff == o.handOff;
    }
};

// What a new-window request gets in a mode, given the status text showing (the address of the
// link under the pointer, when there is one).
NewWindowDecision DecideNewWindow(PopupMode mode, const QString &statusText);

// The mode the Pop-Ups menu's check marks stand for, read as the settings are saved: a later
// mark overrides an earlier one (Cancel All, then Allow Parent, then Allow All); no mark at
// all stands for no mode.
std::optional<PopupMode> PopupModeFromMarks(bool cancelAll, bool allowParent, bool allowAll);
