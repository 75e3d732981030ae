#include "HttpServer.h"

#include <QPointer>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

bool HasHeader(const HttpServer::Headers &headers, const QByteArray &name)
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

// What one connection has read and not yet answered. Requests on a connection are answered one
// at a time, in order, even when a reply is delayed.
struct HttpServer::Connection
{
    QByteArray buffer;
    bool busy = false; // a reply is pending
    bool closeAfterReply = false;
};

QByteArray HttpServer::Request::header(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return {};
}

QString HttpServer::Request::route() const
{
    return path.section(QLatin1Char('?'), 0, 0);
}

HttpServer::HttpServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    Listen();
}

HttpServer::HttpServer(const QSslConfiguration &ssl, QObject *parent)
    : QObject(parent)
{
    auto *server = new QSslServer(this);
    server->setSslConfiguration(ssl);
    // A handshake the browser abandons (it refuses the certificate) is not an error of ours.
    server->setHandshakeTimeout(5000);
    m_server = server;
    m_ssl = true;
    Listen();
}

HttpServer::~HttpServer()
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        it.key()->disconnect(this);
        delete it.value();
    }
    m_connections.clear();
}

void HttpServer::Listen()
{
    connect(m_server, &QTcpServer::pendingConnectionAvailable, this, &HttpServer::OnNewConnection);
    m_server->listen(QHostAddress::LocalHost, 0);
}

bool HttpServer::isListening() const
{
    return m_server->isListening();
}

quint16 HttpServer::port() const
{
    return m_server->serverPort();
}

QUrl HttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                    .arg(m_ssl ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port())
                    .arg(pathAndQuery));
}

void HttpServer::route(const QString &path, const Response &response)
{
    m_routes.insert(path, [response](const Request &) { return response; });
}

void HttpServer::route(const QString &path, const Handler &handler)
{
    m_routes.insert(path, handler);
}

void HttpServer::html(const QString &path, const QByteArray &body, int delayMs)
{
    Response r;
    r.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    r.body = body;
    r.delayMs = delayMs;
    route(path, r);
}

QByteArray HttpServer::Page(const QString &title, const QString &body, const QString &headExtra)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title>%3"
                          "</head><body>%2</body></html>")
        .arg(title, body, headExtra)
        .toUtf8();
}

QStringList HttpServer::requestedPaths() const
{
    QStringList out;
    for (const Request &r : m_requests)
        out << r.path;
    return out;
}

bool HttpServer::wasRequested(const QString &path) const
{
    return requestCount(path) > 0;
}

int HttpServer::requestCount(const QString &path) const
{
    const bool withQuery = path.contains(QLatin1Char('?'));
    int n = 0;
    for (const Request &r : m_requests)
        if ((withQuery ? r.path : r.route()) == path)
            ++n;
    return n;
}

quint16 HttpServer::ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void HttpServer::OnNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        m_connections.insert(socket, new Connection);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            delete m_connections.take(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            OnReadyRead(socket);
    }
}

void HttpServer::OnReadyRead(QTcpSocket *socket)
{
    Connection *c = m_connections.value(socket);
    if (!c)
        return;
    c->buffer += socket->readAll();
    ProcessNext(socket);
}

void HttpServer::ProcessNext(QTcpSocket *socket)
{
    Connection *c = m_connections.value(socket);
    if (!c || c->busy)
        return;
    const int headerEnd = c->buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    Request request;
    const QList<QByteArray> lines = c->buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = QString::fromLatin1(requestLine.value(1));
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    const int length = request.header("Content-Length").toInt();
    if (c->buffer.size() < headerEnd + 4 + length)
        return; // the body is still coming
    request.body = c->buffer.mid(headerEnd + 4, length);
    c->buffer.remove(0, headerEnd + 4 + length);

    const bool http10 = requestLine.value(2) == "HTTP/1.0";
    const QByteArray connection = request.header("Connection").toLower();
    c->closeAfterReply
        = !m_keepAlive || connection == "close" || (http10 && connection != "keep-alive");

    m_requests.append(request);
    emit requestReceived(request.path);

    Response response;
    const auto route = m_routes.constFind(request.route());
    if (route != m_routes.constEnd()) {
        response = route.value()(request);
    } else {
        response.status = 404;
        response.headers = {{"Content-Type", "text/html; charset=utf-8"}};
        response.body = Page(QStringLiteral("Not Found"), QStringLiteral("No such page"));
    }

    c->busy = true;
    if (response.delayMs > 0) {
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(response.delayMs, this, [this, guard, request, response] {
            if (guard)
                Send(guard, request, response);
        });
    } else {
        Send(socket, request, response);
    }
}

void HttpServer::Send(QTcpSocket *socket, const Request &request, const Response &response)
{
    Connection *c = m_connections.value(socket);
    if (!c || socket->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' '
        + ReasonPhrase(response.status) + "\r\n";
    for (const auto &h : response.headers)
        out += h.first + ": " + h.second + "\r\n";
    if (!HasHeader(response.headers, "Content-Length"))
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    if (!HasHeader(response.headers, "Cache-Control"))
        out += "Cache-Control: no-store\r\n";
    out += c->closeAfterReply ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
    out += "\r\n";
    const bool chunked = response.chunkBytes > 0 && request.method != "HEAD";
    if (request.method != "HEAD" && !chunked)
        out += response.body;
    socket->write(out);
    if (chunked) {
        SendChunks(socket, request.route(), response.body, 0, response);
        return;
    }
    Replied(socket);
}

void HttpServer::Replied(QTcpSocket *socket)
{
    Connection *c = m_connections.value(socket);
    if (!c)
        return;
    c->busy = false;
    if (c->closeAfterReply)
        socket->disconnectFromHost();
    else
        ProcessNext(socket);
}

void HttpServer::SendChunks(QTcpSocket *socket, const QString &path, const QByteArray &body,
                            qint64 from, const Response &response)
{
    if (!m_connections.contains(socket) || socket->state() != QAbstractSocket::ConnectedState) {
        emit streamEnded(path, from, false);
        return;
    }
    const qint64 to = qMin<qint64>(body.size(), from + response.chunkBytes);
    socket->write(body.constData() + from, to - from);
    if (to == body.size()) {
        emit streamEnded(path, to, true);
        Replied(socket);
        return;
    }
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(response.chunkIntervalMs, this, [=] {
        if (!alive) {
            emit streamEnded(path, to, false);
            return;
        }
        SendChunks(alive, path, body, to, response);
    });
}
