#pragma once

#include "webview/Download.h"

#include <QString>

// A number of bytes as a person reads it: "512 bytes", "1.5 KB", "12.0 MB", "1.20 GB".
QString SizeText(qint64 bytes);

// The line under a download's name: how far it is and how fast, or how it ended.
// "1.5 MB of 4.0 MB, 300 KB/s" while running (total unknown: "1.5 MB, 300 KB/s"; no speed yet:
// no speed), "4.0 MB, done", "Cancelled", "Failed: <reason>".
QString DownloadLineText(Download::State state, qint64 received, qint64 total,
                         double bytesPerSecond, const QString &failReason);

// The progress bar's value out of 1000; -1 while the size is unknown.
int DownloadPermille(qint64 received, qint64 total);
