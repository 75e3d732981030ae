#pragma once

// The engine profile the views share. Seen only inside this folder.

#include "webview/QtWebView.h"

class QWebEngineProfile;

// The profile of a kind, made once per process.
QWebEngineProfile *SharedProfile(QtWebView::Profile kind);

// Once the last view of the process is gone: the profile goes, and the folders of an instance
// that did not own the per-user profile go with it.
void ReleaseSharedProfiles();

// Makes the scheme local files are shown under known to the engine; before the engine starts.
void RegisterLocalPageScheme();
