#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// Writes the whole file through a temporary file and a rename, so a crash or another instance
// reading at the same moment never sees a torn file. False when it could not be written; the
// previous content then stays.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

// A save cut short (the process killed between writing and renaming) leaves its temporary file:
// the file's name and six more characters, "QuorBrowser.cfg.a1B2c3". Whether name is one for a
// file of fileNames (compared without regard to case, as the application folder's names are).
bool IsLeftoverSaveName(const QString &name, const QStringList &fileNames);

// Removes from folder the leftovers of saves of fileNames last written before notAfter (a younger
// one may be another instance's save under way). Returns how many went.
int RemoveLeftoverSaves(const QString &folder, const QStringList &fileNames,
                        const QDateTime &notAfter);

// Writes the whole file in place, through to the disk, for a file that is moved into place
// afterwards. False when it could not be written; it may then hold part of the bytes.
// afterOpen, when given, runs once the file is open and still empty.
bool WriteFileThrough(const QString &path, const QByteArray &bytes,
                      const std::function<void()> &afterOpen = {});
// The same for a file made of pieces, written one after the other.
bool WriteFileThrough(const QString &path, const QByteArrayList &pieces,
                      const std::function<void()> &afterOpen = {});

// Moves the file at from over the file at to, replacing it in one step, as a rename in one
// folder does. False when it could not be moved; both files then stay as they were.
bool ReplaceFile(const QString &from, const QString &to);
