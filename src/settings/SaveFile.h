#pragma once

#include <QByteArray>
#include <QString>

// Writes the whole file through a temporary file and a rename, so a crash or another instance
// reading at the same moment never sees a torn file. False when it could not be written; the
// previous content then stays.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);
