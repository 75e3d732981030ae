#pragma once

#include "browser/frmBrowser.h"
#include "webview/EngineVersion.h"

#include <QDate>

// The start routine: loads the main window (its load sequence opens the first page) and shows
// it, minimized when the instance was started that way. The window lives until it is closed.
frmBrowser *Main(const BrowserEnvironment &env, bool startMinimized);

// The word about an engine whose security fixes are old, when it is due (EngineNotice.h): once
// the event loop runs, so after the window shows and its first page is asked for. The message
// neither blocks nor takes the keys from the window; the folder's notice file remembers that
// this engine was told about. Where the file cannot be written the word comes once a run.
void TellOldEngine(QWidget *window, const QString &appFolder, const EngineVersion &engine,
                   const QDate &today);
// The title of that message.
inline constexpr char OldEngineNoticeTitle[] = "Web Engine Security";

// The command line as one text: everything after the program's name, as the shell passed it.
QString CommandLineText(int argc, char **argv);
