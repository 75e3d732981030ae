#include "CaptionChanges.h"
#include "HttpServer.h"
#include "WebViewTestKit.h"

#include <QPointer>

// New-window requests of the real view, for every way a page can ask for one: NewWindow2 comes
// first, and a refused window neither appears nor has its page requested from the server.
class tst_NewWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void Trigger_data();
    void Trigger();
    void Popup_WindowCloseClosesIt();
    void Popup_ItsNewWindowsAskTheMainView();
    void Popup_SharesTheProfile();
    void Popup_GoesWithTheView();
    void Popup_AsksThroughTheViewsDialogs();
    void Popup_CaptionKeepsAPaceInATitleLoop();
    void Refused_ASiteReloadingItselfStaysUnheard();

private:
    QtWebView *NewView();
    // Every window the view asks for is allowed: a view nobody answers opens none.
    void AllowWindows(QtWebView *view);
    // Loads a page in the main view and waits for it: whatever the engine was about to fetch
    // for an earlier request has reached the server by then.
    void LoadSentinel();

    HttpServer m_server;
    FakeViewDialogs m_dialogs;
    std::unique_ptr<QtWebView> m_view;
    std::unique_ptr<DialogWatchdog> m_watchdog;
};

// The element a test clicks sits here on every trigger page; the pointer over it retitles the
// page, which tells the test the page takes input.
static const QPoint kClickAt(150, 130);
static const QString kBox = QStringLiteral(
    "style=\"position:absolute;left:100px;top:100px;width:200px;height:60px;display:block\" "
    "onmouseover=\"document.title='Armed'\"");

struct TriggerPage
{
    const char *kind;
    QString body; // "$T" is the target page's path
    Qt::MouseButton button; // Qt::NoButton: the page asks by itself
    Qt::KeyboardModifiers modifiers;
};

static QList<TriggerPage> TriggerPages()
{
    const QString link = QStringLiteral("<a href=\"$T\" ") + kBox + QStringLiteral(">link</a>");
    return {
        {"window.open on load",
         QStringLiteral("<script>window.open('$T')</script>"),
         Qt::NoButton,
         {}},
        {"window.open from a timer",
         QStringLiteral("<script>setTimeout(function(){window.open('$T')}, 30)</script>"),
         Qt::NoButton,
         {}},
        {"window.open from a click handler",
         QStringLiteral("<button onclick=\"window.open('$T')\" ") + kBox
             + QStringLiteral(">open</button>"),
         Qt::LeftButton,
         {}},
        {"window.open with features",
         QStringLiteral("<script>window.open('$T','_blank','width=300,height=200')</script>"),
         Qt::NoButton,
         {}},
        {"link with target _blank",
         QStringLiteral("<a target=\"_blank\" href=\"$T\" ") + kBox + QStringLiteral(">link</a>"),
         Qt::LeftButton,
         {}},
        {"form with a target",
         QStringLiteral("<form target=\"_blank\" action=\"$T\"><input type=\"hidden\" name=\"x\" "
                        "value=\"1\"><button type=\"submit\" ")
             + kBox + QStringLiteral(">send</button></form>"),
         Qt::LeftButton,
         {}},
        {"middle click on a link", link, Qt::MiddleButton, {}},
        {"shift click on a link", link, Qt::LeftButton, Qt::ShiftModifier},
    };
}

static QString Slug(const QString &kind)
{
    QString s = kind;
    s.replace(QLatin1Char(' '), QLatin1Char('-'));
    s.remove(QLatin1Char('.'));
    return s;
}

void tst_NewWindow::initTestCase()
{
    QVERIFY(m_server.isListening());
    for (const TriggerPage &t : TriggerPages()) {
        const QString slug = Slug(QString::fromLatin1(t.kind));
        QString body = t.body;
        body.replace(QLatin1String("$T"), QStringLiteral("/target/") + slug);
        m_server.html(QStringLiteral("/trigger/") + slug,
                      HttpServer::Page(QStringLiteral("Trigger"), body));
        m_server.html(QStringLiteral("/target/") + slug,
                      HttpServer::Page(QStringLiteral("Popup ") + slug));
    }
    m_server.html(QStringLiteral("/sentinel"), HttpServer::Page(QStringLiteral("Sentinel")));
    m_server.html(QStringLiteral("/closer"),
                  HttpServer::Page(QStringLiteral("Closer"),
                                   QStringLiteral("<script>window.open('/closing')</script>")));
    m_server.html(QStringLiteral("/closing"),
                  HttpServer::Page(QStringLiteral("Closing"),
                                   QStringLiteral("<script>setTimeout(function(){window.close()},"
                                                  " 30)</script>")));
    m_server.html(QStringLiteral("/grandparent"),
                  HttpServer::Page(QStringLiteral("Grandparent"),
                                   QStringLiteral("<script>window.open('/parent')</script>")));
    m_server.html(QStringLiteral("/parent"),
                  HttpServer::Page(QStringLiteral("Parent"),
                                   QStringLiteral("<script>window.open('/child')</script>")));
    m_server.html(QStringLiteral("/child"), HttpServer::Page(QStringLiteral("Child")));
    // A window whose page retitles itself thousands of times as fast as it can, then ends.
    m_server.html(QStringLiteral("/retitler"),
                  HttpServer::Page(QStringLiteral("Retitler"),
                                   QStringLiteral("<script>window.open('/retitling')</script>")));
    m_server.html(QStringLiteral("/retitling"),
                  HttpServer::Page(QStringLiteral("t0"),
                                   QStringLiteral("<script>var n = 0; (function more() {"
                                                  "for (var i = 0; i < 100; ++i) document.title = "
                                                  "'t' + (++n); if (n < 5000) setTimeout(more, 0);"
                                                  " else document.title = 'done'; })()</script>")));
    // Asks for fifteen windows at every load and reloads itself three times.
    m_server.html(QStringLiteral("/asker"),
                  HttpServer::Page(QStringLiteral("Asker"),
                                   QStringLiteral("<script>for (var i = 0; i < 15; ++i) "
                                                  "window.open('/asked' + i);"
                                                  "var n = +(sessionStorage.n || 0) + 1;"
                                                  "sessionStorage.n = n; if (n < 4) "
                                                  "setTimeout(function () { location.reload() }, "
                                                  "20); else document.title = 'asked ' + n;"
                                                  "</script>")));
    m_server.html(QStringLiteral("/alerter"),
                  HttpServer::Page(QStringLiteral("Alerter"),
                                   QStringLiteral("<script>window.open('/alerting')</script>")));
    m_server.html(
        QStringLiteral("/alerting"),
        HttpServer::Page(QStringLiteral("Alerting"),
                         QStringLiteral("<script>alert('from the popup');"
                                        "document.title='c:'+confirm('Sure?')</script>")));
    HttpServer::Response setCookie;
    setCookie.headers = {{"Content-Type", "text/html"}, {"Set-Cookie", "who=quor; Path=/"}};
    setCookie.body
        = HttpServer::Page(QStringLiteral("Cookie set"),
                           QStringLiteral("<script>window.open('/showcookie')</script>"));
    m_server.route(QStringLiteral("/setcookie"), setCookie);
    m_server.route(QStringLiteral("/showcookie"), [](const HttpServer::Request &r) {
        HttpServer::Response out;
        out.headers = {{"Content-Type", "text/html"}};
        out.body
            = HttpServer::Page(QStringLiteral("cookie:") + QString::fromLatin1(r.header("Cookie")));
        return out;
    });
}

void tst_NewWindow::init()
{
    m_server.clearRequests();
    m_watchdog = std::make_unique<DialogWatchdog>();
}

void tst_NewWindow::cleanup()
{
    m_view.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    QVERIFY2(m_watchdog->closed.isEmpty(), qPrintable(m_watchdog->closed.join(u',')));
    m_watchdog.reset();
}

QtWebView *tst_NewWindow::NewView()
{
    m_view = NewShownView(&m_dialogs);
    return m_view.get();
}

void tst_NewWindow::AllowWindows(QtWebView *view)
{
    connect(view, &WebView::NewWindow2, this,
            [](const WindowRequest &, WindowAnswer *answer) { answer->cancel = false; });
}

void tst_NewWindow::LoadSentinel()
{
    QVERIFY(NavigateAndWait(m_view.get(), m_server.url(QStringLiteral("/sentinel")).toString()));
    QVERIFY(m_server.wasRequested(QStringLiteral("/sentinel")));
}

void tst_NewWindow::Trigger_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("allow");
    const QList<TriggerPage> pages = TriggerPages();
    for (int i = 0; i < pages.size(); ++i) {
        QTest::addRow("%s, refused", pages.at(i).kind) << i << false;
        QTest::addRow("%s, allowed", pages.at(i).kind) << i << true;
    }
}

void tst_NewWindow::Trigger()
{
    QFETCH(int, index);
    QFETCH(bool, allow);
    const TriggerPage trigger = TriggerPages().at(index);
    const QString slug = Slug(QString::fromLatin1(trigger.kind));
    const QString target = QStringLiteral("/target/") + slug;

    QtWebView *view = NewView();
    QVERIFY(view);
    int asked = 0;
    connect(view, &WebView::NewWindow2, this, [&](const WindowRequest &, WindowAnswer *answer) {
        ++asked;
        // Nothing of the new window exists yet when the view asks.
        QVERIFY(view->OpenedWindows().isEmpty());
        QVERIFY(!m_server.wasRequested(target));
        answer->cancel = !allow;
    });
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/trigger/") + slug).toString()));
    const QString opener = view->LocationURL();
    if (trigger.button != Qt::NoButton) {
        QTRY_VERIFY(PointAt(view, kClickAt, QStringLiteral("Armed")));
        QTest::mouseClick(InputTarget(view), trigger.button, trigger.modifiers, kClickAt);
    }
    QTRY_COMPARE(asked, 1);

    if (!allow) {
        LoadSentinel();
        QVERIFY2(!m_server.wasRequested(target), qPrintable(m_server.requestedPaths().join(u' ')));
        QVERIFY(view->OpenedWindows().isEmpty());
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList {view});
        QCOMPARE(view->LocationName(), QStringLiteral("Sentinel"));
    } else {
        QTRY_VERIFY(m_server.wasRequested(target));
        QCOMPARE(view->OpenedWindows().size(), 1);
        QWidget *window = view->OpenedWindows().first();
        QVERIFY(window->isWindow());
        QVERIFY(window->isVisible());
        QVERIFY(window->window() != view->window());
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Popup ") + slug);
        if (slug.contains(QLatin1String("features")))
            QTRY_COMPARE(window->size(), QSize(300, 200));
        // The opener stays where it was.
        QCOMPARE(view->LocationURL(), opener);
    }
    QCOMPARE(asked, 1);
}

void tst_NewWindow::Popup_WindowCloseClosesIt()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    AllowWindows(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/closer")).toString()));
    QTRY_COMPARE(view->OpenedWindows().size(), 1);
    QPointer<QWidget> window = view->OpenedWindows().first();
    QTRY_VERIFY(window.isNull());
    QVERIFY(view->OpenedWindows().isEmpty());
    QVERIFY(m_server.wasRequested(QStringLiteral("/closing")));
}

void tst_NewWindow::Popup_ItsNewWindowsAskTheMainView()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    int asked = 0;
    // The first window (the popup) is allowed, the one the popup asks for is refused.
    connect(view, &WebView::NewWindow2, this,
            [&](const WindowRequest &, WindowAnswer *answer) { answer->cancel = ++asked > 1; });
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/grandparent")).toString()));
    QTRY_COMPARE(asked, 2);
    QTRY_VERIFY(m_server.wasRequested(QStringLiteral("/parent")));
    LoadSentinel();
    QVERIFY(!m_server.wasRequested(QStringLiteral("/child")));
    QCOMPARE(view->OpenedWindows().size(), 1);
    QCOMPARE(QApplication::topLevelWidgets().size(), 2);
}

void tst_NewWindow::Popup_SharesTheProfile()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    AllowWindows(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/setcookie")).toString()));
    QTRY_COMPARE(view->OpenedWindows().size(), 1);
    QTRY_COMPARE(view->OpenedWindows().first()->windowTitle(), QStringLiteral("cookie:who=quor"));
}

void tst_NewWindow::Popup_GoesWithTheView()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    AllowWindows(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/grandparent")).toString()));
    QTRY_COMPARE(view->OpenedWindows().size(), 2);
    QPointer<QWidget> first = view->OpenedWindows().at(0);
    QPointer<QWidget> second = view->OpenedWindows().at(1);
    m_view.reset();
    QVERIFY(first.isNull());
    QVERIFY(second.isNull());
}

void tst_NewWindow::Popup_AsksThroughTheViewsDialogs()
{
    m_dialogs = FakeViewDialogs();
    m_dialogs.confirmAnswer = true;
    QtWebView *view = NewView();
    QVERIFY(view);
    AllowWindows(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/alerter")).toString()));
    QTRY_COMPARE(view->OpenedWindows().size(), 1);
    QTRY_COMPARE(view->OpenedWindows().first()->windowTitle(), QStringLiteral("c:true"));
    QCOMPARE(m_dialogs.asked,
             QStringList(
                 {QStringLiteral("Alert:from the popup"), QStringLiteral("Confirm:Sure?+stop")}));
}

void tst_NewWindow::Popup_CaptionKeepsAPaceInATitleLoop()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    AllowWindows(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/retitler")).toString()));
    QTRY_COMPARE(view->OpenedWindows().size(), 1);
    // Every caption the window system is asked to show is counted.
    CaptionChanges captions(view->OpenedWindows().first());
    QTRY_COMPARE_WITH_TIMEOUT(view->OpenedWindows().first()->windowTitle(), QStringLiteral("done"),
                              30000);
    // Thousands of titles; a few captions a second of them, and the last one.
    QVERIFY2(captions.count < 200, qPrintable(QString::number(captions.count)));
}

void tst_NewWindow::Refused_ASiteReloadingItselfStaysUnheard()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    // The window's rule, as far as this needs it: every request refused, and from the tenth one
    // on the site is to be heard no more. The view obeys across the site's own reloads, until
    // the person goes somewhere.
    const int refusedWindowsHeard = 10;
    const QUrl asker = m_server.url(QStringLiteral("/asker"));
    const QString site = asker.scheme() + QStringLiteral("://") + asker.host();
    int heard = 0;
    QSet<quint64> navigations;
    connect(view, &WebView::NewWindow2, this,
            [&](const WindowRequest &request, WindowAnswer *answer) {
                QCOMPARE(request.site, site);
                navigations << request.personNavigations;
                answer->cancel = true;
                answer->siteUnheard = ++heard >= refusedWindowsHeard;
            });
    QVERIFY(NavigateAndWait(view, asker.toString()));
    QUOR_WAIT_TITLE(view, QStringLiteral("asked 4"));
    // Sixty requests in four loads; the site is heard ten times in all.
    QCOMPARE(heard, refusedWindowsHeard);
    // The person going there again is a new start, and the requests say so.
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/sentinel")).toString()));
    heard = 0;
    view->Navigate(asker.toString());
    QTRY_COMPARE(heard, refusedWindowsHeard);
    QCOMPARE(navigations.size(), 2);
}

QTEST_MAIN(tst_NewWindow)
#include "tst_NewWindow.moc"
