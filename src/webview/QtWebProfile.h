#pragma once

// The engine profile the views share. Seen only inside this folder.

#include "webview/QtWebView.h"

class QWebEngineProfile;

// The profile of a kind, made once per process.
QWebEngineProfile *SharedProfile(QtWebView::Profile kind);

// Makes the scheme local files are shown under known to the engine; before the engine starts.
void RegisterLocalPageScheme();
