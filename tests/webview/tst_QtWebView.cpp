#include "HttpServer.h"
#include "WebViewTestKit.h"

#include <QImage>

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTemporaryDir>
#include <QUrlQuery>

// Catches what the view hands to the desktop (mailto:) instead of starting a mail program.
class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void Open(const QUrl &url) { urls << url; }

public:
    QList<QUrl> urls;
};

// The real engine view on pages from 127.0.0.1: the events it raises, the commands it runs and
// what it does by itself.
class tst_QtWebView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void StatusText_LinkUnderPointer();
    void StatusText_LoadStartAndDone();
    void TitleChange_AfterTheLoad();
    void CommandState_FirstAndAfterMoves();
    void LoadEvents_data();
    void LoadEvents();
    void LoadEvents_ViewDestroyedMidLoad();
    void LocalPage_KeepsItsOwnButReadsNoOtherFile();
    void Busy_FromTheRequestToTheEnd_data();
    void Busy_FromTheRequestToTheEnd();
    void Navigate_data();
    void Navigate();
    void Mailto_data();
    void Mailto();
    void GoHome_StartPageSearches();
    void GoSearch_OpensSearchPage();
    void ExecWB_NoPage_data();
    void ExecWB_NoPage();
    void ExecWB_SaveAs_data();
    void ExecWB_SaveAs();
    void ExecWB_PrintUsesPageSetup();
    void ExecWB_PrintCancelled();
    void ExecWB_ViewClosedWhilePrinting();
    void ExecWB_Editing();
    void ScriptDialogs_data();
    void ScriptDialogs();
    void ScriptDialogs_ALoopCanBeStopped();
    void Authentication_data();
    void Authentication();
    void CertificateProblem_data();
    void CertificateProblem();
    void FileDownload_data();
    void FileDownload();
    void PermissionsRefused_data();
    void PermissionsRefused();

private:
    QtWebView *NewView();
    // The search page on the test server; "%s" stands for the words.
    QString SearchPage() const
    {
        return QStringLiteral("http://127.0.0.1:%1/find?q=%s").arg(m_server.port());
    }

    HttpServer m_server;
    FakeViewDialogs m_dialogs;
    std::unique_ptr<QtWebView> m_view;
    std::unique_ptr<DialogWatchdog> m_watchdog;
    QTemporaryDir m_tmp;
};

// Where the element a test points at or clicks sits on a page, and a point inside it.
static const QString kBox = QStringLiteral(
    "style=\"position:absolute;left:100px;top:100px;width:200px;height:60px;display:block\"");
static const QPoint kInBox(150, 130);

static HttpServer::Response HtmlPage(const QByteArray &body, int status = 200)
{
    HttpServer::Response r;
    r.status = status;
    r.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    r.body = body;
    return r;
}

static QString QueryValue(const HttpServer::Request &r, const QString &key)
{
    return QUrlQuery(QUrl(r.path).query()).queryItemValue(key, QUrl::FullyDecoded);
}

void tst_QtWebView::initTestCase()
{
    QVERIFY(m_server.isListening());
    QVERIFY(m_tmp.isValid());
    // /page?title=T: a page titled T.
    m_server.route(QStringLiteral("/page"), [](const HttpServer::Request &r) {
        return HtmlPage(HttpServer::Page(QueryValue(r, QStringLiteral("title")),
                                         QStringLiteral("<p>Page text</p>")));
    });
    m_server.route(QStringLiteral("/slow"), [](const HttpServer::Request &) {
        HttpServer::Response r = HtmlPage(HttpServer::Page(QStringLiteral("Slow")));
        r.delayMs = 5000;
        return r;
    });
    m_server.route(QStringLiteral("/missing"),
                   HtmlPage(HttpServer::Page(QStringLiteral("Missing")), 404));
    m_server.html(QStringLiteral("/links"),
                  HttpServer::Page(QStringLiteral("Links"),
                                   QStringLiteral("<a href=\"/page?title=Target\" style=\"position:"
                                                  "absolute;left:100px;top:100px;width:200px;"
                                                  "height:60px;display:block\">target</a>")));
    m_server.html(
        QStringLiteral("/mailtolink"),
        HttpServer::Page(QStringLiteral("Mail"),
                         QStringLiteral("<a href=\"mailto:clicked@example.invalid\" "
                                        "onmouseover=\"document.title='Armed'\" "
                                        "style=\"position:absolute;left:100px;top:100px;"
                                        "width:200px;height:60px;display:block\">mail</a>")));
    m_server.html(QStringLiteral("/mailscript"),
                  HttpServer::Page(QStringLiteral("Mail"),
                                   QStringLiteral("<script>location = 'mailto:script@example."
                                                  "invalid'; document.title = 'tried'</script>")));
    m_server.html(
        QStringLiteral("/mailrider"),
        HttpServer::Page(QStringLiteral("Mail"),
                         QStringLiteral("<div onmouseover=\"document.title='Armed'\" "
                                        "onclick=\"for (var i = 0; i < 5; ++i) location = "
                                        "'mailto:rider' + i + '@example.invalid'\" "
                                        "style=\"position:absolute;left:100px;top:100px;"
                                        "width:200px;height:60px\">mail</div>")));
    // The field reports that it has the focus, then what it holds.
    m_server.html(QStringLiteral("/edit"),
                  HttpServer::Page(QStringLiteral("Edit"),
                                   QStringLiteral("<input id=\"i\" %1 "
                                                  "onfocus=\"document.title='v:'+this.value\" "
                                                  "oninput=\"document.title='v:'+this.value\">")
                                       .arg(kBox)));
    // Retitled by its script twice, a while after its load.
    m_server.html(QStringLiteral("/retitle"),
                  HttpServer::Page(QStringLiteral("First"),
                                   QStringLiteral("<script>setTimeout(function () {"
                                                  " document.title = 'Later 1';"
                                                  " document.title = 'Later 2'; }, 1000);"
                                                  "</script>")));
    m_server.html(QStringLiteral("/copy"),
                  HttpServer::Page(QStringLiteral("Copy"),
                                   QStringLiteral("<p %1 onclick=\"document.title='clicked'\">"
                                                  "Selectable words</p>")
                                       .arg(kBox)));
    // /dialogs?script=S: runs S on load; S reports through the title.
    m_server.route(QStringLiteral("/dialogs"), [](const HttpServer::Request &r) {
        return HtmlPage(HttpServer::Page(
            QStringLiteral("before"),
            QStringLiteral("<script>%1</script>").arg(QueryValue(r, QStringLiteral("script")))));
    });
    // /<folder>/auth?realm=R: basic log-in as quor/secret. The engine offers a log-in again,
    // unasked, to the same folder, so each case has a folder of its own.
    const auto auth = [](const HttpServer::Request &r) {
        if (r.header("Authorization") == "Basic " + QByteArray("quor:secret").toBase64())
            return HtmlPage(HttpServer::Page(QStringLiteral("Welcome")));
        HttpServer::Response denied = HtmlPage(HttpServer::Page(QStringLiteral("Denied")), 401);
        denied.headers.append(
            {"WWW-Authenticate",
             "Basic realm=\"" + QueryValue(r, QStringLiteral("realm")).toUtf8() + '"'});
        return denied;
    };
    m_server.route(QStringLiteral("/one/auth"), auth);
    m_server.route(QStringLiteral("/two/auth"), auth);
    HttpServer::Response file;
    file.headers = {{"Content-Type", "application/octet-stream"},
                    {"Content-Disposition", "attachment; filename=\"data.bin\""}};
    file.body = "0123456789";
    m_server.route(QStringLiteral("/data.bin"), file);
}

void tst_QtWebView::init()
{
    m_dialogs = FakeViewDialogs();
    m_watchdog = std::make_unique<DialogWatchdog>();
}

void tst_QtWebView::cleanup()
{
    m_view.reset();
    QVERIFY2(m_watchdog->closed.isEmpty(), qPrintable(m_watchdog->closed.join(u',')));
    m_watchdog.reset();
}

QtWebView *tst_QtWebView::NewView()
{
    m_view = NewShownView(&m_dialogs);
    return m_view.get();
}

void tst_QtWebView::StatusText_LinkUnderPointer()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/links")).toString()));
    QTRY_VERIFY(InputTarget(view));
    QSignalSpy status(view, &WebView::StatusTextChange);

    // Moves there (in two steps, so there is always a move to see) and reads the status text.
    const auto statusAfterMoveTo = [&](QPoint pos) {
        QTest::mouseMove(InputTarget(view), pos + QPoint(3, 3));
        QTest::mouseMove(InputTarget(view), pos);
        return status.isEmpty() ? QStringLiteral("<none>") : status.last().at(0).toString();
    };
    const QString link = m_server.url(QStringLiteral("/page?title=Target")).toString();
    QTRY_COMPARE(statusAfterMoveTo(QPoint(150, 130)), link);
    QTRY_COMPARE(statusAfterMoveTo(QPoint(600, 450)), QString());
}

void tst_QtWebView::StatusText_LoadStartAndDone()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QSignalSpy status(view, &WebView::StatusTextChange);
    const QUrl url = m_server.url(QStringLiteral("/page?title=One"));
    QVERIFY(NavigateAndWait(view, url.toString()));

    QStringList texts;
    for (const auto &args : status)
        texts << args.at(0).toString();
    QVERIFY2(!texts.isEmpty(), "no status text at all");
    QCOMPARE(texts.last(), QStringLiteral("Done"));
    // The window takes a text beginning with "http" for a link under the pointer.
    for (const QString &t : texts)
        QVERIFY2(!t.startsWith(QLatin1String("http")), qPrintable(t));
    QVERIFY2(texts.first().contains(url.toString()), qPrintable(texts.first()));
}

void tst_QtWebView::TitleChange_AfterTheLoad()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/retitle")).toString()));
    QCOMPARE(view->LocationName(), QStringLiteral("First"));
    QSignalSpy titles(view, &WebView::TitleChange);
    QTRY_COMPARE_WITH_TIMEOUT(view->LocationName(), QStringLiteral("Later 2"), 10000);
    QTRY_VERIFY(!titles.isEmpty());
    // Each as LocationName() says it then; the last is the page's last.
    QCOMPARE(titles.last().at(0).toString(), QStringLiteral("Later 2"));
    for (const auto &args : std::as_const(titles))
        QVERIFY2(args.at(0).toString().startsWith(QLatin1String("Later")),
                 qPrintable(args.at(0).toString()));
    QVERIFY(!view->Busy());
}

// The last state told for each command.
static QMap<int, bool> LastStates(const QSignalSpy &spy)
{
    QMap<int, bool> out;
    for (const auto &args : spy)
        out[args.at(0).toInt()] = args.at(1).toBool();
    return out;
}

void tst_QtWebView::CommandState_FirstAndAfterMoves()
{
    m_view = std::make_unique<QtWebView>(&m_dialogs, QtWebProfile::Kind::OffTheRecord);
    QtWebView *view = m_view.get();
    QSignalSpy state(view, &WebView::CommandStateChange);
    // The first state comes by itself, once someone could have connected.
    QTRY_COMPARE(state.count(), 2);
    QMap<int, bool> expected {{WebView::CSC_NAVIGATEBACK, false},
                              {WebView::CSC_NAVIGATEFORWARD, false}};
    QCOMPARE(LastStates(state), expected);

    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=A")).toString()));
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=B")).toString()));
    expected[WebView::CSC_NAVIGATEBACK] = true;
    QTRY_COMPARE(LastStates(state), expected);
    const qsizetype afterTwoPages = state.count();

    QSignalSpy done(view, &WebView::DownloadComplete);
    view->GoBack();
    QVERIFY(done.wait(10000));
    QUOR_WAIT_TITLE(view, QStringLiteral("A"));
    expected[WebView::CSC_NAVIGATEBACK] = false;
    expected[WebView::CSC_NAVIGATEFORWARD] = true;
    QTRY_COMPARE(LastStates(state), expected);

    view->GoForward();
    QUOR_WAIT_TITLE(view, QStringLiteral("B"));
    expected[WebView::CSC_NAVIGATEBACK] = true;
    expected[WebView::CSC_NAVIGATEFORWARD] = false;
    QTRY_COMPARE(LastStates(state), expected);
    // Told on change only: two pages gave one "back on".
    QCOMPARE(afterTwoPages, 3);
}

enum class LoadCase {
    Normal,
    NotFound,
    RefusedPort,
    StopBeforeResponse,
    Superseded,
    Reload,
    SameAddress
};
Q_DECLARE_METATYPE(LoadCase)

void tst_QtWebView::LoadEvents_data()
{
    QTest::addColumn<LoadCase>("scenario");
    // B: DownloadBegin, N: NavigateComplete2, C: DownloadComplete
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("location"); // path on the server; "" for the refused port page

    QTest::newRow("normal page") << LoadCase::Normal << "BNC"
                                 << "/page?title=A";
    QTest::newRow("404 page") << LoadCase::NotFound << "BNC"
                              << "/missing";
    QTest::newRow("refused port") << LoadCase::RefusedPort << "BNC"
                                  << "";
    QTest::newRow("stop before response") << LoadCase::StopBeforeResponse << "BC"
                                          << "/page?title=Start";
    QTest::newRow("superseded by another") << LoadCase::Superseded << "BNC"
                                           << "/page?title=B";
    QTest::newRow("reload") << LoadCase::Reload << "BNC"
                            << "/page?title=Start";
    QTest::newRow("same address again") << LoadCase::SameAddress << "BNC"
                                        << "/page?title=Start";
}

void tst_QtWebView::LocalPage_KeepsItsOwnButReadsNoOtherFile()
{
    // A page saved to disk shows its own picture and one from the web, but its scripts cannot
    // read other files of the machine: not one beside it, not one elsewhere.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString beacon = m_server.url(QStringLiteral("/beacon")).toString();
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::green);
    QVERIFY(pixel.save(dir.filePath(QStringLiteral("own.png"))));
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("TOPSECRET");
    secret.close();
    const QString page
        = QStringLiteral("<img src='own.png' onload=\"new Image().src='%1?own'\">"
                         "<img src='%1?remote'>"
                         "<script>"
                         "function read(u, tag) {"
                         "  try { var x = new XMLHttpRequest(); x.open('GET', u, false); x.send();"
                         "        new Image().src = '%1?read-' + tag + '=' + "
                         "encodeURIComponent(x.responseText); }"
                         "  catch (e) { new Image().src = '%1?refused-' + tag; } }"
                         "read('file:///etc/hostname', 'elsewhere'); read('secret.txt', 'beside');"
                         "fetch('secret.txt').then(r => r.text())"
                         "  .then(t => { new Image().src = '%1?read-fetch=' + t; })"
                         "  .catch(() => { new Image().src = '%1?refused-fetch'; });"
                         "</script>")
              .arg(beacon);
    QFile html(dir.filePath(QStringLiteral("page.html")));
    QVERIFY(html.open(QIODevice::WriteOnly));
    html.write(HttpServer::Page(QStringLiteral("Local"), page));
    html.close();

    QtWebView *view = NewView();
    QVERIFY(view);
    view->Navigate(html.fileName());
    for (const char *expected :
         {"own", "remote", "refused-elsewhere", "refused-beside", "refused-fetch"})
        QTRY_VERIFY2_WITH_TIMEOUT(m_server.wasRequested("/beacon?" + QString::fromLatin1(expected)),
                                  qPrintable(m_server.requestedPaths().join(", ")), 10000);
    for (const QString &path : m_server.requestedPaths())
        QVERIFY2(!path.contains(QLatin1String("read-")), qPrintable(path));
}

void tst_QtWebView::Busy_FromTheRequestToTheEnd_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("navigate") << "navigate";
    QTest::newRow("refresh") << "refresh";
    QTest::newRow("back") << "back";
    QTest::newRow("jump within the page") << "jump";
}

void tst_QtWebView::Busy_FromTheRequestToTheEnd()
{
    // The window reads Busy every few milliseconds to put the title in its caption; between
    // the request and the engine's own report of the load it must not read idle.
    QFETCH(QString, how);
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=First")).toString()));
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/links")).toString()));
    QVERIFY(!view->Busy());
    QSignalSpy complete(view, &WebView::DownloadComplete);
    if (how == QLatin1String("navigate"))
        view->Navigate(m_server.url(QStringLiteral("/page?title=Next")).toString());
    else if (how == QLatin1String("refresh"))
        view->Refresh();
    else if (how == QLatin1String("back"))
        view->GoBack();
    else
        view->Navigate(m_server.url(QStringLiteral("/links#part")).toString());
    if (how != QLatin1String("jump")) {
        QVERIFY(view->Busy());
        QVERIFY(complete.wait(10000));
    }
    // Done, or nothing to load: idle again, and for good.
    QTRY_VERIFY(!view->Busy());
}

void tst_QtWebView::LoadEvents()
{
    QFETCH(LoadCase, scenario);
    QFETCH(QString, events);
    QFETCH(QString, location);

    QtWebView *view = NewView();
    QVERIFY(view);
    const QString start = m_server.url(QStringLiteral("/page?title=Start")).toString();
    QVERIFY(NavigateAndWait(view, start));

    QString seen;
    QStringList locationsAtN, namesAtN;
    connect(view, &WebView::DownloadBegin, this, [&] { seen += u'B'; });
    connect(view, &WebView::DownloadComplete, this, [&] { seen += u'C'; });
    connect(view, &WebView::NavigateComplete2, this, [&] {
        seen += u'N';
        locationsAtN << view->LocationURL();
        namesAtN << view->LocationName();
    });
    QSignalSpy begin(view, &WebView::DownloadBegin);
    QSignalSpy complete(view, &WebView::DownloadComplete);

    const quint16 closedPort = HttpServer::ClosedPort();
    const QString closedUrl = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort);
    switch (scenario) {
    case LoadCase::Normal:
        view->Navigate(m_server.url(QStringLiteral("/page?title=A")).toString());
        break;
    case LoadCase::NotFound:
        view->Navigate(m_server.url(QStringLiteral("/missing")).toString());
        break;
    case LoadCase::RefusedPort:
        view->Navigate(closedUrl);
        break;
    case LoadCase::StopBeforeResponse:
        view->Navigate(m_server.url(QStringLiteral("/slow")).toString());
        QVERIFY(begin.wait(10000));
        QTRY_VERIFY(m_server.wasRequested(QStringLiteral("/slow")));
        view->Stop();
        break;
    case LoadCase::Superseded:
        view->Navigate(m_server.url(QStringLiteral("/slow")).toString());
        QVERIFY(begin.wait(10000));
        view->Navigate(m_server.url(QStringLiteral("/page?title=B")).toString());
        break;
    case LoadCase::Reload:
        view->Refresh();
        break;
    case LoadCase::SameAddress:
        view->Navigate(start);
        break;
    }
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 10000);
    QCOMPARE(seen, events);
    QVERIFY(!view->Busy());

    const QString expectedUrl = location.isEmpty() ? closedUrl : m_server.url(location).toString();
    QCOMPARE(view->LocationURL(), expectedUrl);
    // Inside NavigateComplete2 the view already describes the page entered.
    for (const QString &atN : locationsAtN)
        QCOMPARE(atN, expectedUrl);
    if (expectedUrl != start)
        for (const QString &atN : namesAtN)
            QVERIFY2(atN != QLatin1String("Start"), "the name is still the old page's");
}

void tst_QtWebView::LoadEvents_ViewDestroyedMidLoad()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QSignalSpy begin(view, &WebView::DownloadBegin);
    QSignalSpy complete(view, &WebView::DownloadComplete);
    view->Navigate(m_server.url(QStringLiteral("/slow")).toString());
    QVERIFY(begin.wait(10000));
    m_view.reset();
    QCOMPARE(complete.count(), 1);
}

void tst_QtWebView::Navigate_data()
{
    QTest::addColumn<QString>("address"); // "$PORT" and "$DIR" filled in
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("location");

    QTest::newRow("bare host with port and path") << "127.0.0.1:$PORT/page?title=Bare"
                                                  << "Bare"
                                                  << "http://127.0.0.1:$PORT/page?title=Bare";
    QTest::newRow("local file, blanks in the path") << "$DIR/dir with space/file one.html"
                                                    << "Local File"
                                                    << "file://$DIR/dir with space/file one.html";
    QTest::newRow("about:blank") << "about:blank"
                                 << "about:blank"
                                 << "about:blank";
    QTest::newRow("view-source") << "view-source:http://127.0.0.1:$PORT/page?title=VS"
                                 << "view-source:127.0.0.1:$PORT/page?title=VS"
                                 << "view-source:http://127.0.0.1:$PORT/page?title=VS";
}

void tst_QtWebView::Navigate()
{
    QFETCH(QString, address);
    QFETCH(QString, title);
    QFETCH(QString, location);
    const QString dir = m_tmp.path();
    QVERIFY(QDir().mkpath(dir + QStringLiteral("/dir with space")));
    QFile file(dir + QStringLiteral("/dir with space/file one.html"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(HttpServer::Page(QStringLiteral("Local File")));
    file.close();
    for (QString *s : {&address, &title, &location}) {
        s->replace(QLatin1String("$PORT"), QString::number(m_server.port()));
        s->replace(QLatin1String("$DIR"), dir);
    }

    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, address));
    QUOR_WAIT_TITLE(view, title);
    QCOMPARE(QUrl(view->LocationURL()), QUrl(location));
}

void tst_QtWebView::Mailto_data()
{
    QTest::addColumn<QString>("how"); // typed, a link clicked, a script alone, a script on a click
    QTest::addColumn<bool>("yes"); // the person's answer when asked
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("typed") << "typed" << false << QStringList()
                           << QStringList {"mailto:typed@example.invalid"};
    QTest::newRow("link clicked, Yes")
        << "link" << true << QStringList {"OpenExternally:mailto:clicked@example.invalid"}
        << QStringList {"mailto:clicked@example.invalid"};
    QTest::newRow("link clicked, No")
        << "link" << false << QStringList {"OpenExternally:mailto:clicked@example.invalid"}
        << QStringList();
    QTest::newRow("a script alone reaches nothing")
        << "script" << true << QStringList() << QStringList();
    QTest::newRow("a script on a click asks once")
        << "rider" << true << QStringList {"OpenExternally:mailto:rider0@example.invalid"}
        << QStringList {"mailto:rider0@example.invalid"};
}

void tst_QtWebView::Mailto()
{
    QFETCH(QString, how);
    QFETCH(bool, yes);
    QFETCH(QStringList, asked);
    QFETCH(QStringList, opened);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
    auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); });
    m_dialogs.openExternally = yes;

    QtWebView *view = NewView();
    QVERIFY(view);
    const QString page
        = m_server
              .url(how == QLatin1String("script")      ? QStringLiteral("/mailscript")
                       : how == QLatin1String("rider") ? QStringLiteral("/mailrider")
                                                       : QStringLiteral("/mailtolink"))
              .toString();
    QVERIFY(NavigateAndWait(view, page));
    QSignalSpy nav(view, &WebView::NavigateComplete2);
    if (how == QLatin1String("typed")) {
        view->Navigate(QStringLiteral("mailto:typed@example.invalid"));
    } else if (how == QLatin1String("script")) {
        QUOR_WAIT_TITLE(view, QStringLiteral("tried"));
    } else {
        QTRY_VERIFY(PointAt(view, QPoint(150, 130), QStringLiteral("Armed")));
        QTest::mouseClick(InputTarget(view), Qt::LeftButton, {}, QPoint(150, 130));
    }
    if (!opened.isEmpty())
        QTRY_COMPARE(catcher.urls.size(), opened.size());
    else if (!asked.isEmpty())
        QTRY_COMPARE(m_dialogs.asked.size(), asked.size());
    // Whatever was still to come has come once the view has loaded a page after it.
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=After")).toString()));
    QCOMPARE(m_dialogs.asked, asked);
    QStringList got;
    for (const QUrl &u : catcher.urls)
        got << u.toString();
    QCOMPARE(got, opened);
    // The page stayed as it was until then.
    QCOMPARE(nav.count(), 1);
}

void tst_QtWebView::GoHome_StartPageSearches()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    view->SetSearchPage(SearchPage());
    QSignalSpy done(view, &WebView::DownloadComplete);
    view->GoHome();
    QVERIFY(done.wait(10000));
    QCOMPARE(view->LocationName(), QStringLiteral("QuorBrowser"));
    QCOMPARE(view->LocationURL(), view->HomePage());

    // The search box has the focus and submits to the view's search page. Keys reach the page
    // once it shows: its background is drawn then.
    QTRY_VERIFY(InputTarget(view));
    QTRY_COMPARE(view->grab().toImage().pixelColor(5, 5), QColor(0xf4, 0xf6, 0xf9));
    QTest::keyClicks(InputTarget(view), QStringLiteral("two words"));
    QTest::keyClick(InputTarget(view), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(m_server.wasRequested(QStringLiteral("/find?q=two%20words")), 10000);
}

void tst_QtWebView::GoSearch_OpensSearchPage()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    view->SetSearchPage(SearchPage());
    QCOMPARE(view->SearchPage(), SearchPage());
    QSignalSpy done(view, &WebView::DownloadComplete);
    view->GoSearch();
    QVERIFY(done.wait(10000));
    QCOMPARE(m_server.requestedPaths().last(), QStringLiteral("/find?q="));
    // Words typed where an address goes are searched for on the same page.
    QVERIFY(NavigateAndWait(view, QStringLiteral("quokka facts")));
    QCOMPARE(m_server.requestedPaths().last(), QStringLiteral("/find?q=quokka%20facts"));
}

void tst_QtWebView::ExecWB_NoPage_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("result");
    QTest::newRow("save as") << int(WebView::OLECMDID_SAVEAS) << false;
    QTest::newRow("print") << int(WebView::OLECMDID_PRINT) << false;
    QTest::newRow("cut") << int(WebView::OLECMDID_CUT) << false;
    QTest::newRow("copy") << int(WebView::OLECMDID_COPY) << false;
    QTest::newRow("paste") << int(WebView::OLECMDID_PASTE) << false;
    QTest::newRow("select all") << int(WebView::OLECMDID_SELECTALL) << false;
    QTest::newRow("unknown command") << 99 << false;
    // Page setup needs no page: the choice waits for the next print.
    QTest::newRow("page setup") << int(WebView::OLECMDID_PAGESETUP) << true;
}

void tst_QtWebView::ExecWB_NoPage()
{
    QFETCH(int, command);
    QFETCH(bool, result);
    QtWebView *view = NewView();
    QVERIFY(view);
    QCOMPARE(view->ExecWB(command, WebView::OLECMDEXECOPT_PROMPTUSER), result);
    // No page: nobody was asked for a file name or a printer.
    QVERIFY(m_dialogs.AskedStartingWith(QStringLiteral("SaveFileName")).isEmpty());
    QVERIFY(m_dialogs.AskedStartingWith(QStringLiteral("PrintDialog")).isEmpty());
}

void tst_QtWebView::ExecWB_SaveAs_data()
{
    QTest::addColumn<QString>("fileName"); // "" cancels
    QTest::addColumn<QByteArray>("mark"); // in the saved file
    QTest::newRow("archive") << "saved.mhtml" << QByteArray("multipart/related");
    QTest::newRow("complete html") << "saved.html" << QByteArray("<p>Page text</p>");
    QTest::newRow("cancelled") << "" << QByteArray();
}

void tst_QtWebView::ExecWB_SaveAs()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, mark);
    QTemporaryDir out;
    QVERIFY(out.isValid());
    m_dialogs.saveAs = fileName.isEmpty() ? QString() : out.filePath(fileName);

    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(
        NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=Saved Page")).toString()));
    QVERIFY(view->ExecWB(WebView::OLECMDID_SAVEAS, WebView::OLECMDEXECOPT_PROMPTUSER));
    const QStringList asked = m_dialogs.AskedStartingWith(QStringLiteral("SaveFileName:"));
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().endsWith(QLatin1String("/Saved Page.mhtml")), qPrintable(asked.first()));

    if (fileName.isEmpty()) {
        // Saving would have started at once; a page loaded afterwards proves it did not.
        QVERIFY(
            NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=After")).toString()));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList());
        return;
    }
    QFile saved(out.filePath(fileName));
    QTRY_VERIFY_WITH_TIMEOUT(saved.exists() && saved.size() > 0, 10000);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray content = saved.readAll();
    QVERIFY2(content.contains(mark), content.left(300).constData());
    // The page's own file download handling did not ask again.
    QCOMPARE(m_dialogs.AskedStartingWith(QStringLiteral("SaveFileName:")).size(), 1);
}

void tst_QtWebView::ExecWB_PrintUsesPageSetup()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    m_dialogs.printTo = out.filePath(QStringLiteral("printed.pdf"));
    m_dialogs.setupOrientation = QPageLayout::Landscape;

    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=Printed")).toString()));
    QVERIFY(view->ExecWB(WebView::OLECMDID_PAGESETUP, WebView::OLECMDEXECOPT_PROMPTUSER));
    QVERIFY(view->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER));
    QCOMPARE(m_dialogs.asked,
             QStringList({QStringLiteral("PageSetupDialog"), QStringLiteral("PrintDialog")}));
    // The page setup's choice is on the printer the print dialog gets.
    QCOMPARE(m_dialogs.printers.at(0), m_dialogs.printers.at(1));
    QCOMPARE(m_dialogs.printOrientations.first(), QPageLayout::Landscape);

    // A second print while one runs is refused without asking; once printed, it runs.
    QVERIFY(!view->ExecWB(WebView::OLECMDID_PRINT, 0));
    QCOMPARE(m_dialogs.asked.size(), 2);
    bool printedAgain = false;
    QTRY_VERIFY_WITH_TIMEOUT(
        printedAgain = printedAgain || view->ExecWB(WebView::OLECMDID_PRINT, 0), 20000);
    QFile pdf(m_dialogs.printTo);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
}

void tst_QtWebView::ExecWB_ViewClosedWhilePrinting()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    m_dialogs.printTo = out.filePath(QStringLiteral("cut-short.pdf"));
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=Printed")).toString()));
    QVERIFY(view->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER));
    m_view.reset();
    // The print goes on to its end; then nothing of the view is left.
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::topLevelWidgets().isEmpty(), 20000);
    QFile pdf(m_dialogs.printTo);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().trimmed().endsWith("%%EOF"));
}

void tst_QtWebView::ExecWB_PrintCancelled()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(
        NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=NotPrinted")).toString()));
    m_dialogs.printTo.clear();
    QVERIFY(view->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER));
    QCOMPARE(m_dialogs.asked, QStringList {QStringLiteral("PrintDialog")});
    // Nothing is printing: the next print is asked for at once.
    QVERIFY(view->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER));
    QCOMPARE(m_dialogs.asked.size(), 2);
}

void tst_QtWebView::ExecWB_Editing()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QClipboard *clipboard = QGuiApplication::clipboard();

    // Paste into the focused field, then select its text and cut it.
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/edit")).toString()));
    QTRY_VERIFY(ClickAt(view, kInBox, QStringLiteral("v:")));
    clipboard->setText(QStringLiteral("pasted-text"));
    QVERIFY(view->ExecWB(WebView::OLECMDID_PASTE, 0));
    QUOR_WAIT_TITLE(view, QStringLiteral("v:pasted-text"));
    clipboard->setText(QStringLiteral("something else"));
    QVERIFY(view->ExecWB(WebView::OLECMDID_SELECTALL, 0));
    QVERIFY(view->ExecWB(WebView::OLECMDID_CUT, 0));
    QUOR_WAIT_TITLE(view, QStringLiteral("v:"));
    QTRY_COMPARE(clipboard->text(), QStringLiteral("pasted-text"));

    // Select the whole page and copy it.
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/copy")).toString()));
    QTRY_VERIFY(ClickAt(view, kInBox, QStringLiteral("clicked")));
    QVERIFY(view->ExecWB(WebView::OLECMDID_SELECTALL, 0));
    QVERIFY(view->ExecWB(WebView::OLECMDID_COPY, 0));
    QTRY_COMPARE(clipboard->text().trimmed(), QStringLiteral("Selectable words"));
}

void tst_QtWebView::ScriptDialogs_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("confirmAnswer");
    QTest::addColumn<QString>("promptAnswer"); // "<cancel>" cancels
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("title");

    QTest::newRow("alert") << "alert('Hello');document.title='after'" << false << ""
                           << "Alert:Hello"
                           << "after";
    QTest::newRow("confirm, yes") << "document.title='c:'+confirm('Sure?')" << true << ""
                                  << "Confirm:Sure?"
                                  << "c:true";
    QTest::newRow("confirm, no") << "document.title='c:'+confirm('Sure?')" << false << ""
                                 << "Confirm:Sure?"
                                 << "c:false";
    QTest::newRow("prompt, answered")
        << "document.title='p:'+prompt('Name?','def')" << false << "Quor"
        << "Prompt:Name?=def"
        << "p:Quor";
    QTest::newRow("prompt, cancelled")
        << "document.title='p:'+prompt('Name?','def')" << false << "<cancel>"
        << "Prompt:Name?=def"
        << "p:null";
}

void tst_QtWebView::ScriptDialogs()
{
    QFETCH(QString, script);
    QFETCH(bool, confirmAnswer);
    QFETCH(QString, promptAnswer);
    QFETCH(QString, asked);
    QFETCH(QString, title);
    m_dialogs.confirmAnswer = confirmAnswer;
    if (promptAnswer != QLatin1String("<cancel>"))
        m_dialogs.promptAnswer = promptAnswer;

    QtWebView *view = NewView();
    QVERIFY(view);
    QUrl url = m_server.url(QStringLiteral("/dialogs"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("script"), script);
    url.setQuery(query);
    QVERIFY(NavigateAndWait(view, url.toString()));
    QUOR_WAIT_TITLE(view, title);
    QCOMPARE(m_dialogs.asked, QStringList {asked});
}

void tst_QtWebView::ScriptDialogs_ALoopCanBeStopped()
{
    // Each OK brings the next: from the second on, the person may stop them.
    m_dialogs.stopAt = 2;
    QtWebView *view = NewView();
    QVERIFY(view);
    QUrl url = m_server.url(QStringLiteral("/dialogs"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("script"),
                       QStringLiteral("for (var i = 0; i < 1000; ++i) alert('again ' + i);"
                                      "document.title = 'c:' + confirm('More?') + ',p:' +"
                                      " prompt('Name?', 'x')"));
    url.setQuery(query);
    QVERIFY(NavigateAndWait(view, url.toString()));
    QUOR_WAIT_TITLE(view, QStringLiteral("c:false,p:null"));
    QCOMPARE(m_dialogs.asked, (QStringList {"Alert:again 0", "Alert:again 1+stop"}));
    // The page entered again starts afresh.
    m_dialogs.asked.clear();
    m_dialogs.stopAt = 4;
    QVERIFY(NavigateAndWait(view, url.toString()));
    QUOR_WAIT_TITLE(view, QStringLiteral("c:false,p:null"));
    QCOMPARE(m_dialogs.asked, (QStringList {"Alert:again 0", "Alert:again 1+stop"}));
}

void tst_QtWebView::Authentication_data()
{
    QTest::addColumn<QString>("user"); // "" refuses to log in
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title");
    QTest::newRow("logged in") << "quor"
                               << "one"
                               << "Welcome";
    QTest::newRow("refused") << ""
                             << "two"
                             << "Denied";
}

void tst_QtWebView::Authentication()
{
    QFETCH(QString, user);
    QFETCH(QString, folder);
    QFETCH(QString, title);
    const QString realm = QStringLiteral("Realm ") + folder;
    m_dialogs.authUser = user;
    m_dialogs.authPassword = QStringLiteral("secret");

    QtWebView *view = NewView();
    QVERIFY(view);
    QUrl url = m_server.url(QLatin1Char('/') + folder + QStringLiteral("/auth"));
    url.setQuery(QStringLiteral("realm=") + QString::fromLatin1(QUrl::toPercentEncoding(realm)));
    QVERIFY(NavigateAndWait(view, url.toString()));
    QUOR_WAIT_TITLE(view, title);
    QCOMPARE(m_dialogs.asked, QStringList {QStringLiteral("Authenticate:127.0.0.1/") + realm});
}

void tst_QtWebView::CertificateProblem_data()
{
    QTest::addColumn<bool>("accept");
    // Refused first: the engine remembers an accepted certificate for the rest of the run.
    QTest::newRow("refused") << false;
    QTest::newRow("accepted") << true;
}

void tst_QtWebView::CertificateProblem()
{
    QFETCH(bool, accept);
    QFile certFile(QStringLiteral(QUOR_TEST_DATA "/selfsigned-cert.pem"));
    QFile keyFile(QStringLiteral(QUOR_TEST_DATA "/selfsigned-key.pem"));
    QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setLocalCertificate(QSslCertificate(certFile.readAll()));
    ssl.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Rsa));
    HttpServer secure(ssl);
    QVERIFY(secure.isListening());
    secure.html(QStringLiteral("/secret"), HttpServer::Page(QStringLiteral("Secret")));
    m_dialogs.acceptCertificate = accept;

    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, secure.url(QStringLiteral("/secret")).toString()));
    QCOMPARE(m_dialogs.asked,
             QStringList {QStringLiteral("AcceptCertificate:")
                          + secure.url(QStringLiteral("/secret")).toString()});
    if (accept) {
        QUOR_WAIT_TITLE(view, QStringLiteral("Secret"));
    } else {
        QVERIFY(view->LocationName() != QLatin1String("Secret"));
        QVERIFY(!secure.wasRequested(QStringLiteral("/secret")));
    }
}

void tst_QtWebView::FileDownload_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("saved") << true;
    QTest::newRow("cancelled") << false;
}

void tst_QtWebView::FileDownload()
{
    QFETCH(bool, save);
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString target = out.filePath(QStringLiteral("kept.bin"));
    m_dialogs.saveAs = save ? target : QString();

    QtWebView *view = NewView();
    QVERIFY(view);
    const QString page = m_server.url(QStringLiteral("/page?title=Here")).toString();
    QVERIFY(NavigateAndWait(view, page));
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/data.bin")).toString()));
    // The engine asks where to save once the page's load has ended.
    QTRY_COMPARE(m_dialogs.AskedStartingWith(QStringLiteral("SaveFileName:")).size(), 1);
    const QStringList asked = m_dialogs.AskedStartingWith(QStringLiteral("SaveFileName:"));
    QVERIFY2(asked.first().endsWith(QLatin1String("/data.bin")), qPrintable(asked.first()));
    QCOMPARE(view->LocationURL(), page); // a download is no page change

    if (save) {
        QFile file(target);
        QTRY_COMPARE_WITH_TIMEOUT(file.size(), qint64(10), 10000);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("0123456789"));
    } else {
        QVERIFY(
            NavigateAndWait(view, m_server.url(QStringLiteral("/page?title=After")).toString()));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList());
    }
}

void tst_QtWebView::PermissionsRefused_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("title");
    QTest::newRow("notifications")
        << "Notification.requestPermission().then(function(p){document.title='n:'+p})"
        << "n:denied";
    QTest::newRow("location")
        << "navigator.geolocation.getCurrentPosition(function(){document.title='g:yes'},"
           "function(e){document.title='g:'+e.code})"
        << "g:1";
}

void tst_QtWebView::PermissionsRefused()
{
    QFETCH(QString, script);
    QFETCH(QString, title);
    QtWebView *view = NewView();
    QVERIFY(view);
    QUrl url = m_server.url(QStringLiteral("/dialogs"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("script"), script);
    url.setQuery(query);
    QVERIFY(NavigateAndWait(view, url.toString()));
    QUOR_WAIT_TITLE(view, title);
    QVERIFY(m_dialogs.asked.isEmpty());
}

QTEST_MAIN(tst_QtWebView)
#include "tst_QtWebView.moc"
