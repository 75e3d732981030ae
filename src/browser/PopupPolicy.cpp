#include "browser/PopupPolicy.h"

#include <QUrl>

const std::vector<PopupModeRow> &PopupModeRows()
{
    static const std::vector<PopupModeRow> rows {
        {PopupMode::CancelAll, "all", "mnuNoPopUps"},
        {PopupMode::AllowParent, "allow", "mnuAllow"},
        {PopupMode::AllowAll, "allowie", "mnuAllowIE"},
    };
    return rows;
}

QString PopupModeWord(PopupMode mode)
{
    for (const PopupModeRow &row : PopupModeRows())
        if (row.mode == mode)
            return QLatin1String(row.word);
    return QString();
}

bool PopupModeFromWord(const QString &word, PopupMode *mode)
{
    for (const PopupModeRow &row : PopupModeRows()) {
        if (word == QLatin1String(row.word)) {
            *mode = row.mode;
            return true;
        }
    }
    return false;
}

NewWindowDecision DecideNewWindow(PopupMode mode, const QString &link, WindowGesture gesture,
                                  const QString &requested)
{
    NewWindowDecision d;
    if (gesture == WindowGesture::LinkMenu) {
        // The person chose a new window for the link: whatever the mode, it opens in a new
        // instance, if it is a page a window can show.
        const QString scheme = QUrl(requested).scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https")
            || scheme == QLatin1String("file"))
            d.handOff = requested;
        else
            d.showNotice = true;
        return d;
    }
    const bool activated = gesture == WindowGesture::Click || gesture == WindowGesture::EnterKey;
    switch (mode) {
    case PopupMode::AllowParent:
        // Refused in the view either way: only the link the person activated goes on, to a new
        // instance.
        if (activated && link.startsWith(QLatin1String("http")) && QUrl(requested) == QUrl(link))
            d.handOff = link;
        else
            d.showNotice = true;
        break;
    case PopupMode::CancelAll:
        d.showNotice = true;
        break;
    case PopupMode::AllowAll:
        d.cancel = false;
        break;
    }
    return d;
}

std::optional<PopupMode> PopupModeFromMarks(const std::function<bool(PopupMode)> &checked)
{
    std::optional<PopupMode> mode;
    for (const PopupModeRow &row : PopupModeRows())
        if (checked(row.mode))
            mode = row.mode;
    return mode;
}

NewWindowDecision PopupGuard::Decide(PopupMode mode, const WindowRequest &request,
                                     bool handoffWaiting, qint64 nowMs)
{
    // The person went somewhere of their own: every site is heard afresh.
    if (request.personNavigations != m_personNavigations) {
        m_personNavigations = request.personNavigations;
        m_refusedBySite.clear();
    }
    NewWindowDecision d
        = Guard(DecideNewWindow(mode, request.link, request.gesture, request.address),
                request.FromUser(), handoffWaiting, nowMs, request.windowsOpen);
    // Whatever the refusal, from the page itself or a window it opened, and whether or not the
    // person's act came with it.
    if (d.cancel && !request.site.isEmpty()
        && ++m_refusedBySite[request.site] >= RefusedWindowsHeard)
        d.siteUnheard = true;
    return d;
}

NewWindowDecision PopupGuard::Guard(const NewWindowDecision &decision, bool fromUser,
                                    bool handoffWaiting, qint64 nowMs, int windowsOpen)
{
    NewWindowDecision refused;
    refused.cancel = true;
    refused.showNotice = true;
    if (!decision.handOff.isEmpty()) {
        // The last new instance has not taken its address yet: another one would only race it
        // for the same file.
        if (handoffWaiting && m_handedOffAt && nowMs - *m_handedOffAt < HandoffWaitMs)
            return refused;
        return decision;
    }
    if (!decision.cancel && !fromUser && windowsOpen >= MaxWindowsOpen)
        return refused;
    if (!decision.cancel && !fromUser) {
        while (!m_ownWindows.empty() && nowMs - m_ownWindows.front() >= FloodMs)
            m_ownWindows.pop_front();
        if (int(m_ownWindows.size()) >= FloodWindows)
            return refused;
        m_ownWindows.push_back(nowMs);
    }
    return decision;
}
