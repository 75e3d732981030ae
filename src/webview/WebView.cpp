#include "webview/WebView.h"
