#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSslConfiguration>
#include <QStringList>
#include <QUrl>

#include <functional>

class QTcpServer;
class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 (a free port) for tests: it serves the routes a test gives
// it and records every request in the order they came, so a test can say exactly what the
// browser asked for and what it never asked for.
class HttpServer : public QObject
{
    Q_OBJECT
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    struct Request
    {
        QByteArray method;
        QString path; // with the query, as sent
        Headers headers;
        QByteArray body;

        // The first header of that name (case-insensitive), empty when absent.
        QByteArray header(const QByteArray &name) const;
        // The path without the query.
        QString route() const;
    };

    struct Response
    {
        int status = 200;
        Headers headers;
        QByteArray body;
        int delayMs = 0; // the reply goes out this long after the request came
        // A slow server: the body goes out chunkBytes at a time, one chunk every
        // chunkIntervalMs (0: all at once).
        int chunkBytes = 0;
        int chunkIntervalMs = 0;
    };

    using Handler = std::function<Response(const Request &)>;

    // Listens at once; with an SSL configuration it speaks HTTPS.
    explicit HttpServer(QObject *parent = nullptr);
    explicit HttpServer(const QSslConfiguration &ssl, QObject *parent = nullptr);
    ~HttpServer() override;

    bool isListening() const;
    quint16 port() const;
    // http(s)://127.0.0.1:port + pathAndQuery
    QUrl url(const QString &pathAndQuery) const;

    // Routes are matched on the path without the query. Unknown paths get a 404 page.
    void route(const QString &path, const Response &response);
    void route(const QString &path, const Handler &handler);
    // A 200 text/html page.
    void html(const QString &path, const QByteArray &body, int delayMs = 0);

    // A basic HTML page with a title and body, for routes and inline pages.
    static QByteArray Page(const QString &title, const QString &body = QString(),
                           const QString &headExtra = QString());

    // false: every response closes its connection.
    void setKeepAlive(bool keepAlive) { m_keepAlive = keepAlive; }

    QList<Request> requests() const { return m_requests; }
    // Paths with their queries, in the order they were requested.
    QStringList requestedPaths() const;
    // With a query in path, the exact path and query; without, any query matches.
    bool wasRequested(const QString &path) const;
    int requestCount(const QString &path) const;
    void clearRequests() { m_requests.clear(); }

    // A port on 127.0.0.1 nothing listens on (bound, then closed).
    static quint16 ClosedPort();

signals:
    void requestReceived(const QString &path);
    // A body sent in chunks has ended: whole, or cut short by the client after sent bytes.
    void streamEnded(const QString &path, qint64 sent, bool whole);

private:
    struct Connection;

    void Listen();
    void OnNewConnection();
    void OnReadyRead(QTcpSocket *socket);
    void ProcessNext(QTcpSocket *socket);
    void Send(QTcpSocket *socket, const Request &request, const Response &response);
    void SendChunks(QTcpSocket *socket, const QString &path, const QByteArray &body, qint64 from,
                    const Response &response);
    void Replied(QTcpSocket *socket);

    QTcpServer *m_server = nullptr;
    bool m_ssl = false;
    bool m_keepAlive = true;
    QHash<QString, Handler> m_routes;
    QList<Request> m_requests;
    QHash<QTcpSocket *, Connection *> m_connections;
};
