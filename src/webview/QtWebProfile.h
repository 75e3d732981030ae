#pragma once

// The engine profile the views share. Seen only inside this folder.

#include "webview/QtWebView.h"

class QWebEngineProfile;

// The profile of a kind, made once per process.
QWebEngineProfile *SharedProfile(QtWebView::Profile kind);
