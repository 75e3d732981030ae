#include "webview/EngineVersion.h"

namespace {

QString Known(const QString &version)
{
    return version.isEmpty() ? QStringLiteral("unknown") : version;
}

} // namespace

QString EngineVersionLine(const EngineVersion &engine)
{
    return QStringLiteral("Qt WebEngine %1, Chromium %2, security fixes to Chromium %3")
        .arg(Known(engine.qtWebEngine), Known(engine.chromium),
             Known(engine.chromiumSecurityPatch));
}
