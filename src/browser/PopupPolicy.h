#pragma once

#include "webview/WindowRequest.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// The three answers to a page asking for a new window.
enum class PopupMode {
    CancelAll, // refuse, with the notice
    AllowParent, // refuse in the view; a link under the pointer opens in a new instance
    AllowAll, // the view opens the window itself
};

// One row per mode: its stored word in the settings file and the object name of its item in the
// Pop-Ups menu. The rows' order is the marks' precedence: where several items are checked, the
// later row wins. A new mode is one row here, its menu row and its answer in DecideNewWindow.
struct PopupModeRow
{
    PopupMode mode;
    const char *word;
    const char *item;
};
const std::vector<PopupModeRow> &PopupModeRows();

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

// What a new-window request for the address requested gets in a mode, given the status text
// showing (the address of the link under the pointer, or of the focused link, when there is
// one) and the person's act it came with. Only the link the person activated (clicked, or
// pressed Enter on) is handed to a new instance; what a script asks for, whatever click or key
// it comes with, is not. A link the person chose "Open link in new window" for is handed to a
// new instance in every mode.
NewWindowDecision DecideNewWindow(PopupMode mode, const QString &statusText, WindowGesture gesture,
                                  const QString &requested);

// What keeps pages from costing the machine dear: one new instance at a time, and windows that a
// page opens on its own faster than a person could ask for them refused.
class PopupGuard
{
public:
    static constexpr int FloodWindows = 20; // opened on their own within
    static constexpr qint64 FloodMs = 10000;
    static constexpr qint64 HandoffWaitMs = 30000; // for the new instance to take its address

    // Windows open at once, beyond which none opens that nobody asked for: whatever the pace, the
    // windows of a page and the windows those open share one budget.
    static constexpr int MaxWindowsOpen = 20;

    // The decision for a request at nowMs (a steady clock), given the one of DecideNewWindow,
    // whether the hand-off file still holds an address, and how many windows the view has open.
    NewWindowDecision Guard(const NewWindowDecision &decision, bool fromUser, bool handoffWaiting,
                            qint64 nowMs, int windowsOpen = 0);
    // An address was handed to a new instance at nowMs.
    void HandedOff(qint64 nowMs) { m_handedOffAt = nowMs; }

private:
    std::optional<qint64> m_handedOffAt;
    std::deque<qint64> m_ownWindows; // when windows opened without the person asking
};

// The mode the Pop-Ups menu's check marks stand for, given whether the item of each mode is
// checked, read as the settings are saved: a later mark overrides an earlier one (Cancel All,
// then Allow Parent, then Allow All); no mark at all stands for no mode.
std::optional<PopupMode> PopupModeFromMarks(const std::function<bool(PopupMode)> &checked);
