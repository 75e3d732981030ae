#pragma once

#include <QString>

// The application folder holds every file of the program. It is the executable's folder, unless
// that cannot be written (an installed copy): then the per-user data folder. QUORBROWSER_HOME,
// when set, names it outright.
QString ChooseApplicationFolder(const QString &executableFolder, bool executableFolderWritable,
                                const QString &homeVariable, const QString &userDataFolder);

// The folder for this process, created when missing.
QString ApplicationFolder();

// The path of a file of the application folder. Names are matched without regard to case, so
// "\homepage" written and "\HomePage" read are one file, also when the file on disk has yet
// another case. A leading backslash or slash on the name is dropped. When no file matches,
// the name as given is used.
QString AppFilePath(const QString &folder, const QString &name);
