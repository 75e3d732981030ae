#pragma once

#include "browser/frmBrowser.h"

// The start routine: loads the main window (its load sequence opens the first page) and shows
// it, minimized when the instance was started that way. The window lives until it is closed.
frmBrowser *Main(const BrowserEnvironment &env, bool startMinimized);

// The command line as one text: everything after the program's name, as the shell passed it.
QString CommandLineText(int argc, char **argv);
