#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The files through which a freedesktop desktop learns which program opens which kind of file:
// the program's desktop entry and the user's mimeapps.list.

// The installed desktop entry's file name, which is also how mimeapps.list names the program.
inline constexpr char DesktopEntryId[] = "org.ombrane.QuorBrowser.desktop";
// The id of the entry the association wizard writes for a copy of the program that is not
// installed: no package uses it, so it never stands in for the installed entry.
inline constexpr char PortableEntryId[] = "org.ombrane.QuorBrowser.Portable.desktop";
// What every entry of the program opens, as the installed entry says: web pages and web links.
inline constexpr char BrowserMimeTypes[]
    = "text/html;application/xhtml+xml;x-scheme-handler/http;x-scheme-handler/https;";
// The icon the desktop entry names.
inline constexpr char DesktopIconName[] = "org.ombrane.QuorBrowser";
// The group of mimeapps.list that holds the default program of each MIME type.
inline constexpr char DefaultApplicationsGroup[] = "Default Applications";
// The group of mimeapps.list that names programs for MIME types their entries do not list.
inline constexpr char AddedAssociationsGroup[] = "Added Associations";

// The MIME type of the files with the extension ("jpg" or ".jpg", any case): one of the kinds
// the association wizard offers; empty for any other. *.htm and *.html are both text/html.
QString MimeTypeForExtension(const QString &extension);

// The program's path as the first word of a desktop entry's Exec value: quoted, with its
// specials escaped, when it holds a character that the Exec rules reserve; every "%" doubled;
// then escaped as a key file's text value.
QString DesktopExecProgram(const QString &path);

// The desktop entry that opens web pages and links, and the files of fileTypes, with the
// program at executablePath.
QByteArray DesktopEntry(const QString &executablePath, const QStringList &fileTypes = {});
// The MIME types a desktop entry lists.
QStringList DesktopEntryMimeTypes(const QByteArray &entry);
// The program a desktop entry's Exec starts: its first word, unquoted and unescaped.
QString DesktopEntryProgram(const QByteArray &entry);

// mimeapps.list with desktopId first among the default programs of mimeType (or the programs
// of another group); any others named there stay after it. Every other line is kept byte for
// byte.
QByteArray SetDefaultApplication(const QByteArray &mimeAppsList, const QString &mimeType,
                                 const QString &desktopId,
                                 const char *group = DefaultApplicationsGroup);

// mimeapps.list with desktopId no longer among the default programs of mimeType (or the
// programs of another group); an entry left with no program goes. Every other line is kept
// byte for byte.
QByteArray RemoveDefaultApplication(const QByteArray &mimeAppsList, const QString &mimeType,
                                    const QString &desktopId,
                                    const char *group = DefaultApplicationsGroup);

// Whether mimeapps.list names desktopId as a default program or an added one, of any type.
bool NamesApplication(const QByteArray &mimeAppsList, const QString &desktopId);
