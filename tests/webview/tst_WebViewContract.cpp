#include "FakeWebView.h"
#include "HttpServer.h"
#include "WebViewTestKit.h"

// The same rows against the window tests' FakeWebView and the real view, so the fake keeps
// behaving as the view does where the window relies on it.
class tst_WebViewContract : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void NavigateThenLocation_data();
    void NavigateThenLocation();
    void NewWindow2Cancel_data();
    void NewWindow2Cancel();
    void ExecWBResult_data();
    void ExecWBResult();

private:
    // The view under test; for the real one, also loaded with first (if any) and settled.
    WebView *Subject(bool real, const QString &first = QString());
    // Navigate, then wait until the real view's load has ended (the fake is done at once).
    bool NavigateAndSettle(WebView *view, const QString &address);

    HttpServer m_server;
    FakeViewDialogs m_dialogs;
    std::unique_ptr<WebView> m_view;
};

void tst_WebViewContract::initTestCase()
{
    QVERIFY(m_server.isListening());
    m_server.html(QStringLiteral("/page"), HttpServer::Page(QStringLiteral("Page")));
    m_server.html(QStringLiteral("/opener"),
                  HttpServer::Page(QStringLiteral("Opener"),
                                   QStringLiteral("<script>window.open('/popup')</script>")));
    m_server.html(QStringLiteral("/popup"), HttpServer::Page(QStringLiteral("Popup")));
    m_server.html(QStringLiteral("/sentinel"), HttpServer::Page(QStringLiteral("Sentinel")));
}

void tst_WebViewContract::cleanup()
{
    m_view.reset();
}

WebView *tst_WebViewContract::Subject(bool real, const QString &first)
{
    if (real)
        m_view = std::make_unique<QtWebView>(&m_dialogs, QtWebProfile::Kind::OffTheRecord);
    else
        m_view = std::make_unique<FakeWebView>();
    m_view->resize(800, 600);
    m_view->show();
    if (!first.isEmpty() && !NavigateAndSettle(m_view.get(), first))
        return nullptr;
    return m_view.get();
}

bool tst_WebViewContract::NavigateAndSettle(WebView *view, const QString &address)
{
    if (!qobject_cast<QtWebView *>(view)) {
        view->Navigate(address);
        return true;
    }
    return NavigateAndWait(view, address);
}

void tst_WebViewContract::NavigateThenLocation_data()
{
    QTest::addColumn<bool>("real");
    QTest::addColumn<QString>("address"); // "$S" is the test server
    QTest::addColumn<QString>("location"); // "=" is the address itself
    const auto rows = [](const char *name, const QString &address, const QString &location) {
        QTest::addRow("%s, fake", name) << false << address << location;
        QTest::addRow("%s, real", name) << true << address << location;
    };
    rows("full address", QStringLiteral("$S/page"), QStringLiteral("="));
    rows("full address with query", QStringLiteral("$S/page?a=1&b=two"), QStringLiteral("="));
    rows("about:blank", QStringLiteral("about:blank"), QStringLiteral("="));
    rows("bare host and port", QStringLiteral("127.0.0.1:$P/page"), QStringLiteral("$S/page"));
    rows("empty text keeps the page", QString(), QStringLiteral("$S/page?first"));
}

void tst_WebViewContract::NavigateThenLocation()
{
    QFETCH(bool, real);
    QFETCH(QString, address);
    QFETCH(QString, location);
    const QString server = m_server.url(QString()).toString();
    address.replace(QLatin1String("$S"), server);
    address.replace(QLatin1String("$P"), QString::number(m_server.port()));
    location
        = location == QLatin1String("=") ? address : location.replace(QLatin1String("$S"), server);

    WebView *view = Subject(real, server + QStringLiteral("/page?first"));
    QVERIFY(view);
    if (address.isEmpty()) {
        view->Navigate(address); // nothing to wait for: nothing is loaded
    } else {
        QVERIFY(NavigateAndSettle(view, address));
    }
    QCOMPARE(view->LocationURL(), location);
    QVERIFY(!view->Busy());
}

void tst_WebViewContract::NewWindow2Cancel_data()
{
    QTest::addColumn<bool>("real");
    QTest::addColumn<bool>("cancel");
    QTest::addRow("refused, fake") << false << true;
    QTest::addRow("refused, real") << true << true;
    QTest::addRow("allowed, fake") << false << false;
    QTest::addRow("allowed, real") << true << false;
}

void tst_WebViewContract::NewWindow2Cancel()
{
    QFETCH(bool, real);
    QFETCH(bool, cancel);
    WebView *view = Subject(real);
    QVERIFY(view);
    QList<bool> cancelSeen;
    connect(view, &WebView::NewWindow2, this, [&](const WindowRequest &, WindowAnswer *c) {
        cancelSeen << c->cancel;
        c->cancel = cancel;
    });

    bool opened = false;
    if (!real) {
        opened = !static_cast<FakeWebView *>(view)->RaiseNewWindow2();
    } else {
        auto *qt = static_cast<QtWebView *>(view);
        QVERIFY(NavigateAndWait(qt, m_server.url(QStringLiteral("/opener")).toString()));
        QTRY_COMPARE(cancelSeen.size(), 1);
        if (cancel)
            QVERIFY(NavigateAndWait(qt, m_server.url(QStringLiteral("/sentinel")).toString()));
        else
            QTRY_VERIFY(m_server.wasRequested(QStringLiteral("/popup")));
        opened = !qt->OpenedWindows().isEmpty();
    }
    // Asked once, with the flag set: a refusal unless the listener clears it.
    QCOMPARE(cancelSeen, QList<bool> {true});
    QCOMPARE(opened, !cancel);
}

void tst_WebViewContract::ExecWBResult_data()
{
    QTest::addColumn<bool>("real");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("withPage");
    QTest::addColumn<bool>("result");
    const auto rows = [](const char *name, int command, bool withPage, bool result) {
        QTest::addRow("%s, fake", name) << false << command << withPage << result;
        QTest::addRow("%s, real", name) << true << command << withPage << result;
    };
    rows("copy on a page", WebView::OLECMDID_COPY, true, true);
    rows("select all on a page", WebView::OLECMDID_SELECTALL, true, true);
    rows("page setup", WebView::OLECMDID_PAGESETUP, false, true);
    rows("copy with no page", WebView::OLECMDID_COPY, false, false);
    rows("unknown command", 99, true, false);
}

void tst_WebViewContract::ExecWBResult()
{
    QFETCH(bool, real);
    QFETCH(int, command);
    QFETCH(bool, withPage);
    QFETCH(bool, result);
    m_dialogs = FakeViewDialogs(); // page setup: cancelled
    WebView *view
        = Subject(real, withPage ? m_server.url(QStringLiteral("/page")).toString() : QString());
    QVERIFY(view);
    QCOMPARE(view->ExecWB(command, WebView::OLECMDEXECOPT_DONTPROMPTUSER), result);
}

QTEST_MAIN(tst_WebViewContract)
#include "tst_WebViewContract.moc"
