#include "HttpServer.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QtTest>

// The test server the engine tests rely on: it answers as told and writes down every request.
class tst_HttpServer : public QObject
{
    Q_OBJECT

private slots:
    void Replies_data();
    void Replies();
    void RecordsRequestsInOrder();
    void KeepAliveOrClose_data();
    void KeepAliveOrClose();

private:
    // Sends the request and waits for the whole reply.
    QNetworkReply *Fetch(const QNetworkRequest &request, const QByteArray &postBody = QByteArray());
    QNetworkAccessManager m_net;
};

QNetworkReply *tst_HttpServer::Fetch(const QNetworkRequest &request, const QByteArray &postBody)
{
    QNetworkReply *reply = postBody.isNull() ? m_net.get(request) : m_net.post(request, postBody);
    reply->setParent(this);
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!reply->isFinished())
        done.wait(10000);
    return reply;
}

void tst_HttpServer::Replies_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("header"); // "X-Test" value

    QTest::newRow("route") << "/page" << 200 << QByteArray("<p>page</p>") << QByteArray("yes");
    QTest::newRow("route, query ignored")
        << "/page?x=1" << 200 << QByteArray("<p>page</p>") << QByteArray("yes");
    QTest::newRow("handler sees the query")
        << "/echo?word=quokka" << 200 << QByteArray("/echo?word=quokka") << QByteArray();
    QTest::newRow("status of the route") << "/gone" << 410 << QByteArray("gone") << QByteArray();
    QTest::newRow("unknown path") << "/nowhere" << 404 << QByteArray("No such page")
                                  << QByteArray();
}

void tst_HttpServer::Replies()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, header);
    HttpServer server;
    QVERIFY(server.isListening());
    HttpServer::Response page;
    page.headers = {{"Content-Type", "text/html"}, {"X-Test", "yes"}};
    page.body = "<p>page</p>";
    server.route(QStringLiteral("/page"), page);
    server.route(QStringLiteral("/echo"), [](const HttpServer::Request &r) {
        HttpServer::Response out;
        out.body = r.path.toUtf8();
        return out;
    });
    HttpServer::Response gone;
    gone.status = 410;
    gone.body = "gone";
    server.route(QStringLiteral("/gone"), gone);

    QNetworkReply *reply = Fetch(QNetworkRequest(server.url(path)));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
    QVERIFY(reply->readAll().contains(body));
    QCOMPARE(reply->rawHeader("X-Test"), header);
}

void tst_HttpServer::RecordsRequestsInOrder()
{
    HttpServer server;
    HttpServer::Response slow;
    slow.body = "slow";
    slow.delayMs = 300;
    server.route(QStringLiteral("/slow"), slow);

    QElapsedTimer clock;
    clock.start();
    QNetworkReply *first = Fetch(QNetworkRequest(server.url(QStringLiteral("/slow?n=1"))));
    QVERIFY(clock.elapsed() >= 300);
    QCOMPARE(first->readAll(), QByteArray("slow"));

    QNetworkRequest post(server.url(QStringLiteral("/form")));
    post.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    post.setRawHeader("X-Who", "test");
    Fetch(post, "a=1&b=2");

    QCOMPARE(server.requestedPaths(),
             QStringList({QStringLiteral("/slow?n=1"), QStringLiteral("/form")}));
    const HttpServer::Request r = server.requests().at(1);
    QCOMPARE(r.method, QByteArray("POST"));
    QCOMPARE(r.body, QByteArray("a=1&b=2"));
    QCOMPARE(r.header("x-who"), QByteArray("test"));
    QVERIFY(server.wasRequested(QStringLiteral("/slow")));
    QVERIFY(server.wasRequested(QStringLiteral("/slow?n=1")));
    QVERIFY(!server.wasRequested(QStringLiteral("/slow?n=2")));
    QCOMPARE(server.requestCount(QStringLiteral("/form")), 1);
}

void tst_HttpServer::KeepAliveOrClose_data()
{
    QTest::addColumn<bool>("keepAlive");
    QTest::newRow("keep-alive") << true;
    QTest::newRow("close after each") << false;
}

void tst_HttpServer::KeepAliveOrClose()
{
    QFETCH(bool, keepAlive);
    HttpServer server;
    server.setKeepAlive(keepAlive);
    server.html(QStringLiteral("/a"), "a");
    for (int i = 0; i < 3; ++i) {
        QNetworkReply *reply = Fetch(QNetworkRequest(server.url(QStringLiteral("/a"))));
        QCOMPARE(reply->error(), QNetworkReply::NoError);
        QCOMPARE(reply->rawHeader("Connection").toLower(),
                 keepAlive ? QByteArray("keep-alive") : QByteArray("close"));
    }
    QCOMPARE(server.requestCount(QStringLiteral("/a")), 3);
}

QTEST_GUILESS_MAIN(tst_HttpServer)
#include "tst_HttpServer.moc"
