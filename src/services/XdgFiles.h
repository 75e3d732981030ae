#pragma once

#include <QByteArray>
#include <QString>

// The files through which a freedesktop desktop learns which program opens which kind of file:
// the program's desktop entry and the user's mimeapps.list.

// The desktop entry's file name, which is also how mimeapps.list names the program.
inline constexpr char DesktopEntryId[] = "org.ombrane.QuorBrowser.desktop";
// The icon the desktop entry names.
inline constexpr char DesktopIconName[] = "org.ombrane.QuorBrowser";
// The group of mimeapps.list that holds the default program of each MIME type.
inline constexpr char DefaultApplicationsGroup[] = "Default Applications";

// The MIME type of the files with the extension ("jpg" or ".jpg", any case): one of the kinds
// the association wizard offers; empty for any other. *.htm and *.html are both text/html.
QString MimeTypeForExtension(const QString &extension);

// The program's path as the first word of a desktop entry's Exec value: quoted, with its
// specials escaped, when it holds a character that the Exec rules reserve; every "%" doubled;
// then escaped as a key file's text value.
QString DesktopExecProgram(const QString &path);

// The desktop entry that opens documents with the program at executablePath.
QByteArray DesktopEntry(const QString &executablePath);

// mimeapps.list with desktopId first among the default programs of mimeType; any others named
// there stay after it. Every other line is kept byte for byte.
QByteArray SetDefaultApplication(const QByteArray &mimeAppsList, const QString &mimeType,
                                 const QString &desktopId);

// mimeapps.list with desktopId no longer among the default programs of mimeType; an entry
// left with no program goes. Every other line is kept byte for byte.
QByteArray RemoveDefaultApplication(const QByteArray &mimeAppsList, const QString &mimeType,
                                    const QString &desktopId);
