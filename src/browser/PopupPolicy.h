#pragma once

#include <QString>

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
