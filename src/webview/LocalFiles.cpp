#include "webview/LocalFiles.h"

#include <QCryptographicHash>
#include <QDir>

const char kLocalPageScheme[] = "localfile";

namespace {

const QLatin1String kFile("file");
const QLatin1String kViewSource("view-source:");

bool IsLocalPage(const QUrl &url)
{
    return url.scheme() == QLatin1String(kLocalPageScheme);
}

bool IsLocal(const QUrl &url)
{
    return url.scheme() == kFile || IsLocalPage(url);
}

// The page a view-source: address shows the source of; the address itself otherwise.
QUrl Inner(const QUrl &url)
{
    if (url.scheme() == QLatin1String("view-source"))
        return QUrl(url.path(QUrl::FullyEncoded));
    return url;
}

QString CleanPath(const QUrl &url)
{
    const QString path = QDir::cleanPath(url.path(QUrl::FullyDecoded));
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

// A host name no two paths share in practice: a letter (so it never reads as an IP address)
// and 128 bits of the path's SHA-256.
QString HostFor(const QString &path)
{
    const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
    return QLatin1Char('f') + QString::fromLatin1(digest.left(16).toHex());
}

// Web archives are shown by the engine from file: only, with their scripts off.
bool IsWebArchive(const QString &path)
{
    return path.endsWith(QLatin1String(".mht"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".mhtml"), Qt::CaseInsensitive);
}

} // namespace

QUrl LocalPageUrl(const QUrl &fileUrl)
{
    const QString path = CleanPath(fileUrl);
    QUrl url = fileUrl; // the query and fragment stay
    url.setScheme(QLatin1String(kLocalPageScheme));
    url.setUserInfo(QString());
    url.setPort(-1);
    url.setHost(HostFor(path));
    url.setPath(path, QUrl::DecodedMode);
    return url;
}

QUrl LocalFileUrl(const QUrl &url)
{
    if (!IsLocalPage(url))
        return url;
    QUrl file = url;
    file.setScheme(kFile);
    file.setHost(QString());
    return file;
}

QString ShownAddress(const QString &engineAddress)
{
    if (engineAddress.startsWith(kViewSource))
        return kViewSource + ShownAddress(engineAddress.mid(kViewSource.size()));
    const QUrl url(engineAddress);
    if (!IsLocalPage(url))
        return engineAddress;
    return LocalFileUrl(url).toString();
}

LocalRequestDecision DecideLocalRequest(LocalRequestKind kind, const QUrl &url,
                                        const QUrl &initiator, const QUrl &firstParty,
                                        LocalPathKind at)
{
    using D = LocalRequestDecision;
    if (!IsLocal(url))
        return {};
    // The browser asks for what the person typed, chose from history or gave on the command
    // line, with the top page its own target; a server's redirect comes the same way, but from
    // under a page of the web.
    const bool trusted = initiator.isEmpty() ? firstParty.isEmpty() || IsLocal(Inner(firstParty))
                                             : IsLocal(initiator);
    if (!trusted)
        return {D::Block, {}};
    switch (kind) {
    case LocalRequestKind::ScriptRead:
        return {D::Block, {}};
    case LocalRequestKind::Subresource:
        return IsLocalPage(url) ? D {D::Redirect, LocalFileUrl(url)} : D {};
    case LocalRequestKind::Document:
        break;
    }
    if (at != LocalPathKind::File || IsWebArchive(CleanPath(url)))
        return IsLocalPage(url) ? D {D::Redirect, LocalFileUrl(url)} : D {};
    const QUrl own = LocalPageUrl(url);
    return own == url ? D {} : D {D::Redirect, own};
}
