#include "webview/QtEngineVersion.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

EngineVersion CurrentEngineVersion()
{
    EngineVersion engine;
    engine.qtWebEngine = QString::fromLatin1(qWebEngineVersion());
    engine.chromium = QString::fromLatin1(qWebEngineChromiumVersion());
    engine.chromiumSecurityPatch = QString::fromLatin1(qWebEngineChromiumSecurityPatchVersion());
    return engine;
}
