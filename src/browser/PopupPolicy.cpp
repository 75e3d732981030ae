#include "browser/PopupPolicy.h"

QString PopupModeWord(PopupMode mode)
{
    switch (mode) {
    case PopupMode::CancelAll:
        return QStringLiteral("all");
    case PopupMode::AllowParent:
        return QStringLiteral("allow");
    case PopupMode::AllowAll:
        return QStringLiteral("allowie");
    }
    return QString();
}

bool PopupModeFromWord(const QString &word, PopupMode *mode)
{
    if (word == QLatin1String("allow"))
        *mode = PopupMode::AllowParent;
    else if (word == QLatin1String("allowie"))
        *mode = PopupMode::AllowAll;
    else if (word == QLatin1String("all"))
        *mode = PopupMode::CancelAll;
    else
        return false;
    return true;
}

NewWindowDecision DecideNewWindow(PopupMode mode, const QString &statusText)
{
    NewWindowDecision d;
    switch (mode) {
    case PopupMode::AllowParent:
        // Refused in the view either way: only the link under the pointer goes on, to a new
        // instance.
        if (statusText.startsWith(QLatin1String("http")))
            d.handOff = statusText;
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

std::optional<PopupMode> PopupModeFromMarks(bool cancelAll, bool allowParent, bool allowAll)
{
    std::optional<PopupMode> mode;
    if (cancelAll)
        mode = PopupMode::CancelAll;
    if (allowParent)
        mode = PopupMode::AllowParent;
    if (allowAll)
        mode = PopupMode::AllowAll;
    return mode;
}
