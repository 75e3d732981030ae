#pragma once

#include <QString>
#include <functional>

// The name a server suggests for a download is the server's word, not a place on this machine:
// it is reduced to a plain file name before anyone proposes it.
//
// No folder parts (either slash), no control or direction characters, none of the characters
// other systems refuse in names, no leading dots (no hidden file, no "..") and no trailing dots
// or spaces; at most MaxDownloadNameLength characters, the extension kept. Nothing left gives
// "download".
QString PlainDownloadName(const QString &suggested);
constexpr int MaxDownloadNameLength = 200;

// A path in folder for the plain name that names no file yet: "report.pdf", then
// "report (1).pdf", "report (2).pdf", ... as exists says.
QString FreeDownloadPath(const QString &folder, const QString &name,
                         const std::function<bool(const QString &)> &exists);

// The folder downloads are proposed in (the user's download folder, made if missing; the home
// folder when there is none).
QString DownloadFolder();
