#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Writes the whole file through a temporary file and a rename, so a crash or another instance
// reading at the same moment never sees a torn file. False when it could not be written; the
// previous content then stays.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

// Writes the whole file in place, through to the disk, for a file that is moved into place
// afterwards. False when it could not be written; it may then hold part of the bytes.
// afterOpen, when given, runs once the file is open and still empty.
bool WriteFileThrough(const QString &path, const QByteArray &bytes,
                      const std::function<void()> &afterOpen = {});

// Moves the file at from over the file at to, replacing it in one step, as a rename in one
// folder does. False when it could not be moved; both files then stay as they were.
bool ReplaceFile(const QString &from, const QString &to);
