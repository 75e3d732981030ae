#pragma once

#include "webview/WindowRequest.h"

#include <QHash>
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
    bool siteUnheard = false; // the asking site is heard no more until the person goes somewhere

    bool operator==(const NewWindowDecision &o) const
    {
        return cancel == o.cancel && showNotice == o.showNotice && handOff == o.handOff
            && siteUnheard == o.siteUnheard;
    }
};

// What a new-window request for the address requested gets in a mode, given the link the status
// line shows (under the pointer, or focused; any other text is no link) and the person's act it
// came with. Only the link the person activated (clicked, or
// pressed Enter on) is handed to a new instance; what a script asks for, whatever click or key
// it comes with, is not. A link the person chose "Open link in new window" for is handed to a
// new instance in every mode.
NewWindowDecision DecideNewWindow(PopupMode mode, const QString &link, WindowGesture gesture,
                                  const QString &requested);

// What keeps pages from costing the machine dear: one new instance at a time, windows that a
// page opens on its own faster than a person could ask for them refused, a budget of windows
// open, and a site that keeps asking no longer heard.
class PopupGuard
{
public:
    // Windows a site may have refused before it may open no more on its own, counted from the
    // person's last navigation of their own: each refused request still costs the engine a page
    // it throws away.
    static constexpr int RefusedWindowsHeard = 10;

    static constexpr int FloodWindows = 20; // opened on their own within
    static constexpr qint64 FloodMs = 10000;
    static constexpr qint64 HandoffWaitMs = 30000; // for the new instance to take its address

    // Windows open at once, beyond which none opens that nobody asked for: whatever the pace, the
    // windows of a page and the windows those open share one budget.
    static constexpr int MaxWindowsOpen = 20;

    // The whole answer to a request in a mode at nowMs (a steady clock), given whether the
    // hand-off file still holds an address.
    NewWindowDecision Decide(PopupMode mode, const WindowRequest &request, bool handoffWaiting,
                             qint64 nowMs);

    // The decision for a request at nowMs (a steady clock), given the one of DecideNewWindow,
    // whether the hand-off file still holds an address, and how many windows the view has open.
    NewWindowDecision Guard(const NewWindowDecision &decision, bool fromUser, bool handoffWaiting,
                            qint64 nowMs, int windowsOpen = 0);
    // An address was handed to a new instance at nowMs.
    void HandedOff(qint64 nowMs) { m_handedOffAt = nowMs; }

private:
    std::optional<qint64> m_handedOffAt;
    std::deque<qint64> m_ownWindows; // when windows opened without the person asking
    QHash<QString, int> m_refusedBySite; // since the person's navigation below
    quint64 m_personNavigations = 0;
};

// The mode the Pop-Ups menu's check marks stand for, given whether the item of each mode is
// checked, read as the settings are saved: a later mark overrides an earlier one (Cancel All,
// then Allow Parent, then Allow All); no mark at all stands for no mode.
std::optional<PopupMode> PopupModeFromMarks(const std::function<bool(PopupMode)> &checked);
