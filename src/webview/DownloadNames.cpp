#include "webview/DownloadNames.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool Refused(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format: // direction overrides make "exe.txt" out of "txt.exe"
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return QStringLiteral(":*?\"<>|").contains(c);
    }
}

// "archive.tar.gz" keeps both parts as its extension; anything else its last.
qsizetype ExtensionStart(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name.size();
    const qsizetype before = name.lastIndexOf(QLatin1Char('.'), dot - 1);
    if (before > 0
        && name.mid(before, dot - before).compare(QLatin1String(".tar"), Qt::CaseInsensitive) == 0)
        return before;
    return dot;
}

} // namespace

QString PlainDownloadName(const QString &suggested)
{
    QString name = suggested;
    // Only the last part of a path is a name.
    const qsizetype slash
        = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0)
        name = name.mid(slash + 1);
    QString kept;
    kept.reserve(name.size());
    for (const QChar c : std::as_const(name)) {
        if (c.isSpace()) // tabs and line breaks too
            kept += QLatin1Char(' ');
        else if (Refused(c))
            kept += QLatin1Char('_');
        else
            kept += c;
    }
    // Leading dots hide a file or climb a folder; trailing dots and spaces vanish elsewhere.
    qsizetype from = 0;
    while (from < kept.size() && (kept[from] == QLatin1Char('.') || kept[from] == QLatin1Char(' ')))
        ++from;
    qsizetype to = kept.size();
    while (to > from && (kept[to - 1] == QLatin1Char('.') || kept[to - 1] == QLatin1Char(' ')))
        --to;
    kept = kept.mid(from, to - from);
    if (kept.isEmpty())
        return QStringLiteral("download");
    if (kept.size() > MaxDownloadNameLength) {
        const qsizetype ext = ExtensionStart(kept);
        const QString extension = kept.size() - ext < 20 ? kept.mid(ext) : QString();
        kept = kept.left(MaxDownloadNameLength - extension.size()) + extension;
    }
    return kept;
}

QString FreeDownloadPath(const QString &folder, const QString &name,
                         const std::function<bool(const QString &)> &exists)
{
    const QDir dir(folder);
    QString path = dir.filePath(name);
    const qsizetype ext = ExtensionStart(name);
    for (int n = 1; exists(path) && n < 10000; ++n)
        path = dir.filePath(name.left(ext) + QStringLiteral(" (%1)").arg(n) + name.mid(ext));
    return path;
}

QString DownloadFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        return QDir::homePath();
    QDir().mkpath(folder);
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}
