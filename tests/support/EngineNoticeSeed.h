#pragma once

#include "app/EngineNotice.h"
#include "webview/QtEngineVersion.h"

#include <QDir>

// An application folder that has been told about this engine already: the program started
// there says nothing about old security fixes, and so behaves as it did before that word
// existed. The tests of the word itself start without it. Needs the app and webview_engine
// libraries.
inline bool SeedEngineNotice(const QString &appFolder)
{
    return QDir().mkpath(appFolder) && WriteEngineNotice(appFolder, CurrentEngineVersion());
}
