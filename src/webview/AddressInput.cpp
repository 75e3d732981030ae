#include "webview/AddressInput.h"

#include <QDir>
#include <QRegularExpression>

namespace {

AddressAction Act(AddressAction::Kind kind, const QUrl &url)
{
    AddressAction a;
    a.kind = kind;
    a.url = url;
    return a;
}

// "http://", "file://", ...: the text says plainly that it is an address, blanks or not.
bool StartsWithSchemeAndSlashes(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return re.match(text).hasMatch();
}

// A word an address bar cannot take for a host: no dot, no port, no path, no scheme. The host
// part may still be "localhost".
bool IsBareWord(const QString &text)
{
    for (const QChar c : text)
        if (c == QLatin1Char('.') || c == QLatin1Char(':') || c == QLatin1Char('/')
            || c == QLatin1Char('['))
            return false;
    const QString host = text.section(QRegularExpression(QStringLiteral("[?#]")), 0, 0);
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0;
}

} // namespace

QUrl SearchPageUrl(const QString &searchPage, const QString &words)
{
    QString address = searchPage;
    address.replace(QLatin1String("%s"), QString::fromLatin1(QUrl::toPercentEncoding(words)));
    return QUrl(address);
}

AddressAction ResolveAddressInput(const QString &text, const QString &workingDir,
                                  const QString &searchPage)
{
    const QString input = text.trimmed();
    if (input.isEmpty())
        return {};
    if (input.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return Act(AddressAction::Mail, QUrl(input));

    // A path that says it is relative names a file in the working folder, even a missing one
    // (the view then shows that it is missing rather than searching for the path).
    if (input.startsWith(QLatin1String("./")) || input.startsWith(QLatin1String("../")))
        return Act(AddressAction::Load,
                   QUrl::fromLocalFile(QDir::cleanPath(QDir(workingDir).absoluteFilePath(input))));

    // With a working folder, fromUserInput prefers an existing file of that name to a host.
    const QUrl url = QUrl::fromUserInput(input, workingDir);
    const QUrl search = SearchPageUrl(searchPage, input.simplified());

    static const QRegularExpression blank(QStringLiteral("\\s"));
    if (input.contains(blank)) {
        // Blanks belong to file names and to addresses typed in full; otherwise they part words.
        if (url.isValid() && (url.isLocalFile() || StartsWithSchemeAndSlashes(input)))
            return Act(AddressAction::Load, url);
        return Act(AddressAction::Search, search);
    }
    if (!url.isValid())
        return Act(AddressAction::Search, search);
    if (url.isLocalFile())
        return Act(AddressAction::Load, url);
    if (IsBareWord(input))
        return Act(AddressAction::Search, search);
    return Act(AddressAction::Load, url);
}
