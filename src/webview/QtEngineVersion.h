#pragma once

#include "webview/EngineVersion.h"

// The engine this program is linked with, as its library tells it. Reads three texts built
// into the library: the engine is not started and no application object is needed, so
// --version stays fast and works without a display.
EngineVersion CurrentEngineVersion();
