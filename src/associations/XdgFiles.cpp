#include "associations/XdgFiles.h"

#include <QList>

namespace {

struct Line
{
    QByteArray text;
    QByteArray eol; // "\n", "\r\n" or, on a last line without one, empty
};

QList<Line> SplitLines(const QByteArray &bytes)
{
    QList<Line> lines;
    int start = 0;
    while (start < bytes.size()) {
        const int newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.append({bytes.mid(start), QByteArray()});
            break;
        }
        const bool crlf = newline > start && bytes.at(newline - 1) == '\r';
        const int end = crlf ? newline - 1 : newline;
        lines.append({bytes.mid(start, end - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    return lines;
}

QByteArray JoinLines(const QList<Line> &lines)
{
    QByteArray bytes;
    for (const Line &line : lines)
        bytes += line.text + line.eol;
    return bytes;
}

// The line ending the file already uses; "\n" for a file without any.
QByteArray LineEnding(const QList<Line> &lines)
{
    for (const Line &line : lines) {
        if (!line.eol.isEmpty())
            return line.eol;
    }
    return "\n";
}

bool GroupName(const QByteArray &text, QByteArray *name)
{
    const QByteArray trimmed = text.trimmed();
    const int close = trimmed.indexOf(']');
    if (!trimmed.startsWith('[') || close < 0)
        return false;
    *name = trimmed.mid(1, close - 1);
    return true;
}

bool Entry(const QByteArray &text, QByteArray *key, QByteArray *value)
{
    const QByteArray trimmed = text.trimmed();
    const int equals = trimmed.indexOf('=');
    if (trimmed.isEmpty() || trimmed.startsWith('#') || equals < 0)
        return false;
    *key = trimmed.left(equals).trimmed();
    *value = trimmed.mid(equals + 1).trimmed();
    return true;
}

QList<QByteArray> DesktopIds(const QByteArray &value)
{
    QList<QByteArray> ids;
    for (const QByteArray &id : value.split(';')) {
        if (!id.trimmed().isEmpty())
            ids << id.trimmed();
    }
    return ids;
}

QByteArray EntryLine(const QByteArray &key, const QList<QByteArray> &ids)
{
    QByteArray line = key + '=';
    for (const QByteArray &id : ids)
        line += id + ';';
    return line;
}

// A text as a key file's value: backslash, newline, tab and return escaped.
QString KeyFileValue(const QString &text)
{
    QString value;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

} // namespace

QString MimeTypeForExtension(const QString &extension)
{
    QString name = extension.toLower();
    if (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    if (name == QLatin1String("jpg"))
        return QStringLiteral("image/jpeg");
    if (name == QLatin1String("gif"))
        return QStringLiteral("image/gif");
    if (name == QLatin1String("html") || name == QLatin1String("htm"))
        return QStringLiteral("text/html");
    return QString();
}

QString DesktopExecProgram(const QString &path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quoted = false;
    for (const QChar c : path)
        quoted = quoted || reserved.contains(c);

    QString argument;
    for (const QChar c : path) {
        if (c == QLatin1Char('%'))
            argument += QStringLiteral("%%");
        else if (quoted
                 && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                     || c == QLatin1Char('\\')))
            argument += QLatin1Char('\\') + c;
        else
            argument += c;
    }
    if (quoted)
        argument = QLatin1Char('"') + argument + QLatin1Char('"');
    return KeyFileValue(argument);
}

namespace {

// The value of key in an entry's [Desktop Entry] group, key-file escapes undone.
QString EntryValue(const QByteArray &entry, const QByteArray &key)
{
    bool inGroup = false;
    for (const Line &line : SplitLines(entry)) {
        QByteArray name, entryKey, value;
        if (GroupName(line.text, &name)) {
            inGroup = name == "Desktop Entry";
            continue;
        }
        if (!inGroup || !Entry(line.text, &entryKey, &value) || entryKey != key)
            continue;
        const QString raw = QString::fromUtf8(value);
        QString text;
        for (int i = 0; i < raw.size(); ++i) {
            if (raw.at(i) != QLatin1Char('\\') || i + 1 == raw.size()) {
                text += raw.at(i);
                continue;
            }
            const QChar next = raw.at(++i);
            text += next == QLatin1Char('s') ? QChar(QLatin1Char(' '))
                : next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                : next == QLatin1Char('t')   ? QChar(QLatin1Char('\t'))
                : next == QLatin1Char('r')   ? QChar(QLatin1Char('\r'))
                                             : next;
        }
        return text;
    }
    return QString();
}

} // namespace

QStringList DesktopEntryMimeTypes(const QByteArray &entry)
{
    QStringList types;
    for (const QString &type : EntryValue(entry, "MimeType").split(QLatin1Char(';')))
        if (!type.trimmed().isEmpty())
            types << type.trimmed();
    return types;
}

QString DesktopEntryProgram(const QByteArray &entry)
{
    const QString exec = EntryValue(entry, "Exec").trimmed();
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0)
            .replace(QLatin1String("%%"), QLatin1String("%"));
    // Quoted: up to the closing quote, \", \`, \$ and \\ standing for the character.
    QString program;
    for (int i = 1; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == QLatin1Char('"'))
            break;
        if (c == QLatin1Char('\\') && i + 1 < exec.size())
            program += exec.at(++i);
        else
            program += c;
    }
    return program.replace(QLatin1String("%%"), QLatin1String("%"));
}

QByteArray DesktopEntry(const QString &executablePath, const QStringList &fileTypes)
{
    QByteArray entry;
    entry += "# Written by QuorBrowser's Association Wizard.\n";
    entry += "[Desktop Entry]\n";
    entry += "Type=Application\n";
    entry += "Version=1.0\n";
    entry += "Name=QuorBrowser\n";
    entry += "GenericName=Web Browser\n";
    entry += "Comment=Browse the World Wide Web\n";
    entry += "Keywords=Internet;WWW;Web;Favorites;\n";
    // One address or document a time: the program takes its whole command line as one.
    entry += "Exec=" + DesktopExecProgram(executablePath).toUtf8() + " %u\n";
    // Gone from the menus and the lists of programs once the copy itself is gone.
    entry += "TryExec=" + KeyFileValue(executablePath).toUtf8() + '\n';
    entry += QByteArray("Icon=") + DesktopIconName + '\n';
    entry += "Terminal=false\n";
    entry += "StartupWMClass=QuorBrowser\n";
    entry += "Categories=Network;WebBrowser;\n";
    QStringList types
        = QString::fromLatin1(BrowserMimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &type : fileTypes)
        if (!types.contains(type))
            types << type;
    entry += "MimeType=" + types.join(QLatin1Char(';')).toUtf8() + ";\n";
    return entry;
}

QByteArray SetDefaultApplication(const QByteArray &mimeAppsList, const QString &mimeType,
                                 const QString &desktopId, const char *groupName)
{
    QList<Line> lines = SplitLines(mimeAppsList);
    const QByteArray eol = LineEnding(lines);
    const QByteArray key = mimeType.toUtf8();
    const QByteArray id = desktopId.toUtf8();

    int group = -1;
    for (int i = 0; i < lines.size() && group < 0; ++i) {
        QByteArray name;
        if (GroupName(lines[i].text, &name) && name == groupName)
            group = i;
    }
    if (group < 0) {
        if (!lines.isEmpty() && lines.last().eol.isEmpty())
            lines.last().eol = eol;
        if (!lines.isEmpty() && !lines.last().text.trimmed().isEmpty())
            lines.append({QByteArray(), eol});
        lines.append({QByteArray("[") + groupName + ']', eol});
        lines.append({EntryLine(key, {id}), eol});
        return JoinLines(lines);
    }

    int lastEntry = group;
    for (int i = group + 1; i < lines.size(); ++i) {
        QByteArray name, entryKey, value;
        if (GroupName(lines[i].text, &name))
            break;
        if (!Entry(lines[i].text, &entryKey, &value))
            continue;
        if (entryKey == key) {
            QList<QByteArray> ids = DesktopIds(value);
            ids.removeAll(id);
            ids.prepend(id);
            lines[i].text = EntryLine(key, ids);
            return JoinLines(lines);
        }
        lastEntry = i;
    }
    if (lines[lastEntry].eol.isEmpty())
        lines[lastEntry].eol = eol;
    lines.insert(lastEntry + 1, {EntryLine(key, {id}), eol});
    return JoinLines(lines);
}

QByteArray RemoveDefaultApplication(const QByteArray &mimeAppsList, const QString &mimeType,
                                    const QString &desktopId, const char *groupName)
{
    QList<Line> lines = SplitLines(mimeAppsList);
    const QByteArray key = mimeType.toUtf8();
    const QByteArray id = desktopId.toUtf8();
    bool inDefaults = false;
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray name, entryKey, value;
        if (GroupName(lines[i].text, &name)) {
            inDefaults = name == groupName;
            continue;
        }
        if (!inDefaults || !Entry(lines[i].text, &entryKey, &value) || entryKey != key)
            continue;
        QList<QByteArray> ids = DesktopIds(value);
        if (!ids.contains(id))
            continue;
        ids.removeAll(id);
        if (ids.isEmpty())
            lines.removeAt(i--);
        else
            lines[i].text = EntryLine(key, ids);
    }
    return JoinLines(lines);
}

bool NamesApplication(const QByteArray &mimeAppsList, const QString &desktopId)
{
    bool inGroup = false;
    for (const Line &line : SplitLines(mimeAppsList)) {
        QByteArray name, key, value;
        if (GroupName(line.text, &name)) {
            inGroup = name == DefaultApplicationsGroup || name == AddedAssociationsGroup;
            continue;
        }
        if (inGroup && Entry(line.text, &key, &value)
            && DesktopIds(value).contains(desktopId.toUtf8()))
            return true;
    }
    return false;
}
