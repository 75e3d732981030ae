#pragma once

#include <QString>

// The web engine a build runs on. The Chromium its security fixes reach is often later than
// the Chromium it is made from: Qt WebEngine takes security fixes into a release without moving
// it to a newer Chromium.
struct EngineVersion
{
    QString qtWebEngine; // "6.4.2"
    QString chromium; // "102.0.5005.177"
    QString chromiumSecurityPatch; // "108.0.5359.94"

    bool operator==(const EngineVersion &o) const
    {
        return qtWebEngine == o.qtWebEngine && chromium == o.chromium
            && chromiumSecurityPatch == o.chromiumSecurityPatch;
    }
    bool operator!=(const EngineVersion &o) const { return !(*this == o); }
};

// The engine on one line, as --version prints it and About shows it:
// "Qt WebEngine 6.4.2, Chromium 102.0.5005.177, security fixes to Chromium 108.0.5359.94".
// A version the engine does not tell is "unknown".
QString EngineVersionLine(const EngineVersion &engine);
