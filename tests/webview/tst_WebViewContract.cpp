#include "ContractStage.h"

// The same rows against the window tests' FakeWebView and the real view, each made by its
// factory, so the fake keeps behaving as the view does where the window relies on it.

// Who answers a new-window request.
enum class Listener { Nobody, Refuses, Allows };
Q_DECLARE_METATYPE(Listener)

// How a load goes, for the begin/complete pairs.
enum class LoadHow { Page, RefusedPort, StoppedAfterBegin, Superseded, Reload, ViewClosed };
Q_DECLARE_METATYPE(LoadHow)

class tst_WebViewContract : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void NavigateThenLocation_data();
    void NavigateThenLocation();
    void BeginCompletePairs_data();
    void BeginCompletePairs();
    void NewWindow2Answer_data();
    void NewWindow2Answer();
    void NewWindow2Carries_data();
    void NewWindow2Carries();
    void PersonNavigations_data();
    void PersonNavigations();
    void ExecWBResult_data();
    void ExecWBResult();

private:
    WebView *Subject(ViewKind kind, const QString &first = QString())
    {
        return m_stage.Subject(kind, first);
    }
    QString Filled(const QString &text) const { return m_stage.Filled(text); }

    ContractStage m_stage;
    std::unique_ptr<DialogWatchdog> m_watchdog;
};

void tst_WebViewContract::initTestCase()
{
    m_stage.ServePages();
}

void tst_WebViewContract::init()
{
    m_stage.dialogs = FakeViewDialogs();
    m_stage.status.clear();
    m_watchdog = std::make_unique<DialogWatchdog>();
}

void tst_WebViewContract::cleanup()
{
    m_stage.view.reset(); // with the windows it opened
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    QVERIFY2(m_watchdog->closed.isEmpty(), qPrintable(m_watchdog->closed.join(u',')));
    m_watchdog.reset();
}

void tst_WebViewContract::NavigateThenLocation_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("location"); // "=" is the address itself
    BothViews("full address", QStringLiteral("$S/page"), QStringLiteral("="));
    BothViews("full address with query", QStringLiteral("$S/page?a=1&b=two"), QStringLiteral("="));
    BothViews("about:blank", QStringLiteral("about:blank"), QStringLiteral("="));
    BothViews("bare host and port", QStringLiteral("127.0.0.1:$P/page"), QStringLiteral("$S/page"));
    BothViews("empty text keeps the page", QString(), QStringLiteral("$S/page?first"));
    // A local page is shown under an address of its own inside the view; the window is told
    // its file: address.
    BothViews("local file by its path", QStringLiteral("$D/local.html"),
              QStringLiteral("file://$D/local.html"));
    BothViews("local file by its file: address", QStringLiteral("file://$D/local.html"),
              QStringLiteral("="));
    BothViews("local file with a blank in its name", QStringLiteral("$D/local page.html"),
              QStringLiteral("file://$D/local page.html"));
}

void tst_WebViewContract::NavigateThenLocation()
{
    QFETCH(ViewKind, kind);
    QFETCH(QString, address);
    QFETCH(QString, location);
    address = Filled(address);
    location = location == QLatin1String("=") ? address : Filled(location);

    WebView *view = Subject(kind, Filled(QStringLiteral("$S/page?first")));
    QVERIFY(view);
    // Inside NavigateComplete2 the view already tells the page entered.
    QStringList locationsAtN;
    connect(view, &WebView::NavigateComplete2, this, [&] { locationsAtN << view->LocationURL(); });
    if (address.isEmpty()) {
        view->Navigate(address); // nothing to wait for: nothing is loaded
        QVERIFY(locationsAtN.isEmpty());
    } else {
        QVERIFY(NavigateAndWait(view, address));
        QVERIFY(!locationsAtN.isEmpty());
    }
    QCOMPARE(view->LocationURL(), location);
    for (const QString &atN : std::as_const(locationsAtN))
        QCOMPARE(atN, location);
    QVERIFY(!view->Busy());
}

void tst_WebViewContract::BeginCompletePairs_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<LoadHow>("how");
    // B: DownloadBegin, N: NavigateComplete2, C: DownloadComplete
    QTest::addColumn<QString>("events");
    BothViews("a page", LoadHow::Page, QStringLiteral("BNC"));
    BothViews("a refused port: the error page", LoadHow::RefusedPort, QStringLiteral("BNC"));
    BothViews("stopped after it began", LoadHow::StoppedAfterBegin, QStringLiteral("BC"));
    BothViews("superseded by another address", LoadHow::Superseded, QStringLiteral("BNC"));
    BothViews("the person's reload", LoadHow::Reload, QStringLiteral("BNC"));
    BothViews("the view closed during the load", LoadHow::ViewClosed, QStringLiteral("BC"));
}

void tst_WebViewContract::BeginCompletePairs()
{
    QFETCH(ViewKind, kind);
    QFETCH(LoadHow, how);
    QFETCH(QString, events);
    WebView *view = Subject(kind, Filled(QStringLiteral("$S/page?first")));
    QVERIFY(view);
    QString seen;
    connect(view, &WebView::DownloadBegin, this, [&] { seen += u'B'; });
    connect(view, &WebView::NavigateComplete2, this, [&] { seen += u'N'; });
    connect(view, &WebView::DownloadComplete, this, [&] { seen += u'C'; });
    QSignalSpy begin(view, &WebView::DownloadBegin);
    QSignalSpy complete(view, &WebView::DownloadComplete);

    const QString slow = Filled(QStringLiteral("$S/slow"));
    switch (how) {
    case LoadHow::Page:
        view->Navigate(Filled(QStringLiteral("$S/page")));
        break;
    case LoadHow::RefusedPort:
        view->Navigate(QStringLiteral("http://127.0.0.1:%1/").arg(HttpServer::ClosedPort()));
        break;
    case LoadHow::Reload:
        view->Refresh();
        break;
    case LoadHow::StoppedAfterBegin:
    case LoadHow::Superseded:
    case LoadHow::ViewClosed:
        view->Navigate(slow);
        break;
    }
    // Busy from the request on: the window reads it to tell the load is under way.
    QVERIFY(view->Busy());
    QVERIFY(begin.wait(10000));
    switch (how) {
    case LoadHow::StoppedAfterBegin:
        view->Stop();
        break;
    case LoadHow::Superseded:
        view->Navigate(Filled(QStringLiteral("$S/page")));
        break;
    case LoadHow::ViewClosed:
        m_stage.view.reset();
        QCOMPARE(seen, events);
        return;
    default:
        break;
    }
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 10000);
    // Nothing more of that load comes after its end: the next load is a pair of its own.
    QVERIFY(NavigateAndWait(view, Filled(QStringLiteral("$S/sentinel"))));
    QCOMPARE(seen, events + QStringLiteral("BNC"));
    QVERIFY(!view->Busy());
}

void tst_WebViewContract::NewWindow2Answer_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<Listener>("listener");
    QTest::addColumn<bool>("opened");
    BothViews("nobody listens: refused", Listener::Nobody, false);
    BothViews("refused", Listener::Refuses, false);
    BothViews("allowed", Listener::Allows, true);
}

void tst_WebViewContract::NewWindow2Answer()
{
    QFETCH(ViewKind, kind);
    QFETCH(Listener, listener);
    QFETCH(bool, opened);
    WebView *view = Subject(kind);
    QVERIFY(view);
    QSignalSpy asked(view, &WebView::NewWindow2);
    QList<bool> cancelSeen;
    if (listener != Listener::Nobody)
        connect(view, &WebView::NewWindow2, this, [&](const WindowRequest &, WindowAnswer *a) {
            cancelSeen << a->cancel;
            a->cancel = listener == Listener::Refuses;
        });

    m_stage.LoadAsking(kind, Filled(QStringLiteral("$S/opener")),
                       Filled(QStringLiteral("$S/popup")));
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(asked.count(), 1);
    // Whatever the engine was to fetch for the request it has asked for once a later load ends.
    QVERIFY(NavigateAndWait(view, Filled(QStringLiteral("$S/sentinel"))));
    QTRY_COMPARE(view->OpenedWindowCount(), opened ? 1 : 0);
    if (kind == ViewKind::Real)
        QTRY_COMPARE(m_stage.server.wasRequested(QStringLiteral("/popup")), opened);
    // Asked once, with the answer a refusal until the listener says otherwise.
    QCOMPARE(asked.count(), 1);
    QCOMPARE(cancelSeen, listener == Listener::Nobody ? QList<bool>() : QList<bool> {true});
}

void tst_WebViewContract::NewWindow2Carries_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<QString>("page");
    QTest::addColumn<Act>("act");
    QTest::addColumn<WindowGesture>("gesture");
    QTest::addColumn<QString>("link"); // as the status line showed it
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("site");
    const QString popup = QStringLiteral("$S/popup");
    const QString site = QStringLiteral("http://127.0.0.1");
    BothViews("a script as the page loads", QStringLiteral("$S/opener"), Act::Nothing,
              WindowGesture::None, QString(), popup, site);
    BothViews("a click on a link to a new window", QStringLiteral("$S/blanklink"),
              Act::PointAndClick, WindowGesture::Click, popup, popup, site);
    BothViews("a click on a button whose script opens one", QStringLiteral("$S/button"), Act::Click,
              WindowGesture::Click, QString(), popup, site);
    // The menu names its link itself; whether the status line still shows it as the item is
    // chosen depends on when the engine's last hover arrives, so it is not asked ($ANY).
    BothViews("the link's menu: no page asks", QStringLiteral("$S/link"), Act::LinkMenu,
              WindowGesture::LinkMenu, QStringLiteral("$ANY"), popup, QString());
    BothViews("a local page's script: its file: address", QStringLiteral("$D/opener.html"),
              Act::Nothing, WindowGesture::None, QString(), QStringLiteral("file://$D/local.html"),
              QStringLiteral("file://"));
}

void tst_WebViewContract::NewWindow2Carries()
{
    QFETCH(ViewKind, kind);
    QFETCH(QString, page);
    QFETCH(Act, act);
    QFETCH(WindowGesture, gesture);
    QFETCH(QString, link);
    QFETCH(QString, address);
    QFETCH(QString, site);
    link = Filled(link);
    address = Filled(address);
    WebView *view = Subject(kind);
    QVERIFY(view);
    QList<WindowRequest> requests;
    connect(view, &WebView::NewWindow2, this,
            [&](const WindowRequest &request, WindowAnswer *) { requests << request; });

    if (act == Act::Nothing) {
        m_stage.LoadAsking(kind, Filled(page), address);
    } else {
        QVERIFY(NavigateAndWait(view, Filled(page)));
        m_stage.PersonActs(kind, act, address);
    }
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(requests.size(), 1);
    const WindowRequest &request = requests.first();
    QCOMPARE(request.gesture, gesture);
    QCOMPARE(request.FromUser(), gesture != WindowGesture::None);
    if (link != QLatin1String("$ANY"))
        QCOMPARE(request.link, link);
    QCOMPARE(request.address, address);
    QCOMPARE(request.site, site);
    QCOMPARE(request.windowsOpen, 0);
    // Refused, since nobody said otherwise: nothing opened.
    QCOMPARE(view->OpenedWindowCount(), 0);
}

void tst_WebViewContract::PersonNavigations_data()
{
    QTest::addColumn<ViewKind>("kind");
    // What the person does, in turn: "asker" goes to a page that asks twice for a window as it
    // loads, "page" to one that asks for none; "refresh" reloads, "stop" stops.
    QTest::addColumn<QStringList>("steps");
    // The count each request carried, in order.
    QTest::addColumn<QList<int>>("counts");
    BothViews("the person's address", QStringList {QStringLiteral("asker")}, QList<int> {1, 1});
    BothViews("the person's reload",
              QStringList {QStringLiteral("asker"), QStringLiteral("refresh")},
              QList<int> {1, 1, 2, 2});
    BothViews(
        "another page between",
        QStringList {QStringLiteral("asker"), QStringLiteral("page"), QStringLiteral("asker")},
        QList<int> {1, 1, 3, 3});
    BothViews(
        "stop is going nowhere",
        QStringList {QStringLiteral("asker"), QStringLiteral("stop"), QStringLiteral("refresh")},
        QList<int> {1, 1, 2, 2});
}

void tst_WebViewContract::PersonNavigations()
{
    QFETCH(ViewKind, kind);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, counts);
    WebView *view = Subject(kind);
    QVERIFY(view);
    QList<int> seen;
    connect(view, &WebView::NewWindow2, this, [&](const WindowRequest &request, WindowAnswer *) {
        seen << int(request.personNavigations);
    });
    const QString asker = Filled(QStringLiteral("$S/asker"));
    const QString popup = Filled(QStringLiteral("$S/popup"));
    for (const QString &step : std::as_const(steps)) {
        if (step == QLatin1String("stop")) {
            view->Stop();
            continue;
        }
        QSignalSpy done(view, &WebView::DownloadComplete);
        if (step == QLatin1String("refresh"))
            view->Refresh();
        else
            view->Navigate(step == QLatin1String("asker") ? asker
                                                          : Filled(QStringLiteral("$S/page")));
        QVERIFY(done.wait(10000));
        if (kind == ViewKind::Fake && view->LocationURL() == asker)
            for (int i = 0; i < 2; ++i)
                static_cast<FakeWebView *>(view)->RaiseNewWindow2(WindowGesture::None, popup);
    }
    // Whatever the pages asked for has been asked once a later load ends.
    QVERIFY(NavigateAndWait(view, Filled(QStringLiteral("$S/sentinel"))));
    QCOMPARE(seen, counts);
}

void tst_WebViewContract::ExecWBResult_data()
{
    QTest::addColumn<ViewKind>("kind");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("withPage");
    QTest::addColumn<bool>("result");
    BothViews("copy on a page", int(WebView::OLECMDID_COPY), true, true);
    BothViews("select all on a page", int(WebView::OLECMDID_SELECTALL), true, true);
    BothViews("page setup", int(WebView::OLECMDID_PAGESETUP), false, true);
    BothViews("copy with no page", int(WebView::OLECMDID_COPY), false, false);
    BothViews("unknown command", 99, true, false);
}

void tst_WebViewContract::ExecWBResult()
{
    QFETCH(ViewKind, kind);
    QFETCH(int, command);
    QFETCH(bool, withPage);
    QFETCH(bool, result);
    WebView *view = Subject(kind, withPage ? Filled(QStringLiteral("$S/page")) : QString());
    QVERIFY(view);
    QCOMPARE(view->ExecWB(command, WebView::OLECMDEXECOPT_DONTPROMPTUSER), result);
}

QTEST_MAIN(tst_WebViewContract)
#include "tst_WebViewContract.moc"
