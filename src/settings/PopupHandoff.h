#pragma once

#include <QString>
#include <QStringList>

// The hand-off of a page to the next instance that starts without a command line: the file
// Popupurl holds its address, and Popupurl.taken the address last taken where Popupurl itself
// could not be emptied, so that it opens once.

// The names of the hand-off's files, as they are written.
QStringList HandoffFileNames();

// The hand-off file in the application folder.
QString HandoffPath(const QString &folder);

// Gives an address to the next instance. False when the file could not be written.
bool GiveHandoff(const QString &folder, const QString &address);

// Whether the file still holds an address: the last instance given one has not taken it yet.
bool HandoffWaiting(const QString &folder);

// The address given and not taken yet; empty when none.
QString PendingHandoff(const QString &folder);

// The address is open: the file is emptied. False when it could not be; the address is then
// kept as taken, so it is not opened again.
bool TakeHandoff(const QString &folder, const QString &address);
