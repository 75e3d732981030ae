// Pages opened from files, in the main window on the real engine: they show what is theirs and
// what the web gives them, and no script of theirs reads another file of the machine, by any
// route, whatever the pop-up mode.
#include "EngineWindow.h"
#include "HttpServer.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QUrlQuery>

namespace {

// What the secret files hold: a word that is also a script's name (so a script error shows it)
// and a colour for the picture.
const char *const SecretWord = "TOPSECRET_42";
const QColor SecretColour(17, 34, 51);
const char *const SecretPixel = "17,34,51";

// A local page of a test: files by their place in the folder ("site/page.html" is opened).
using Files = QList<QPair<QString, QString>>;

struct Route
{
    const char *name;
    Files files;
};

// The start of every page a route writes: report(value) tells the test server what the page got,
// once; poll(fn) tries a read for a while, as a page would until a frame or window is there, and
// reports the secret at once should it ever come, else the last outcome.
QString Helper(const QString &route, quint16 port)
{
    return QString(R"(<script>
var reported = false;
function report(v) {
  if (reported) return;
  reported = true;
  new Image().src = 'http://127.0.0.1:%2/report?route=%1&got=' + encodeURIComponent(String(v).slice(0, 300));
}
function poll(fn) {
  var until = Date.now() + 1000, last = 'nothing';
  (function again() {
    Promise.resolve().then(fn).then(function (v) {
      if (/TOPSECRET_42|17,34,51/.test(String(v))) { report('read:' + v); return; }
      last = 'got:' + v;
    }, function (e) { last = 'refused:' + e; }).then(function () {
      if (reported) return;
      if (Date.now() < until) setTimeout(again, 100); else report(last);
    });
  })();
}
function pixel(img) {
  var c = document.createElement('canvas');
  c.width = c.height = 1;
  var g = c.getContext('2d');
  g.drawImage(img, 0, 0);
  return Array.from(g.getImageData(0, 0, 1, 1).data).join();
}
</script>)")
        .arg(route)
        .arg(port);
}

// Every way a script has to a file it may not read. "../private/" is the secret's folder beside
// the page's; FILE/ stands for that folder as a file: address.
const QList<Route> &Routes()
{
    static const QList<Route> routes = {
        {"iframe",
         {{"site/page.html",
           "<iframe id=x src='../private/secret.html'></iframe>"
           "<script>poll(() => x.contentDocument.body.innerText)"
           "</script>"}}},
        {"iframe at a file address",
         {{"site/page.html",
           "<iframe id=x src='FILE/secret.html'></iframe>"
           "<script>poll(() => x.contentDocument.body.innerText)</script>"}}},
        {"frameset",
         {{"site/page.html",
           "<frameset cols='50%,50%'><frame src='reader.html'>"
           "<frame name=s src='../private/secret.html'></frameset>"},
          {"site/reader.html", "<script>poll(() => parent.s.document.body.innerText)</script>"}}},
        {"object",
         {{"site/page.html",
           "<object id=x data='../private/secret.txt' "
           "type='text/plain'></object>"
           "<script>poll(() => x.contentDocument.body.innerText)"
           "</script>"}}},
        {"embed",
         {{"site/page.html",
           "<embed id=x src='../private/secret.svg' "
           "type='image/svg+xml'><script>"
           "poll(() => x.getSVGDocument().documentElement.textContent)"
           "</script>"}}},
        {"window.open",
         {{"site/page.html",
           "<script>var w = window.open('../private/secret.html');"
           "poll(() => w.document.body.innerText)</script>"}}},
        {"named target",
         {{"site/page.html",
           "<a id=a target=peek href='../private/secret.html'>x</a><script>"
           "a.click(); setTimeout(() => { var w = window.open('', 'peek');"
           "poll(() => w.document.body.innerText); }, 300)</script>"}}},
        {"link prefetch",
         {{"site/page.html",
           "<link rel=prefetch href='../private/secret.txt'><script>"
           "poll(() => fetch('../private/secret.txt').then(r => r.text()))"
           "</script>"}}},
        {"XMLHttpRequest",
         {{"site/page.html",
           "<script>poll(() => { var x = new XMLHttpRequest();"
           "x.open('GET', '../private/secret.txt', false); x.send();"
           "return x.responseText; })</script>"}}},
        {"fetch at a file address",
         {{"site/page.html",
           "<script>poll(() => fetch('FILE/secret.txt').then(r => r.text()))"
           "</script>"}}},
        {"worker",
         {{"site/page.html",
           "<script>var got = 'nothing'; try { var w = new Worker('worker.js');"
           "w.onmessage = e => got = e.data;"
           "w.onerror = e => got = 'refused:' + e.message; }"
           "catch (e) { got = 'refused:' + e; } poll(() => got)</script>"},
          {"site/worker.js",
           "fetch('../private/secret.txt').then(r => r.text())"
           ".then(t => postMessage(t), e => postMessage('refused:' + e));"}}},
        {"shared worker",
         {{"site/page.html",
           "<script>var got = 'nothing'; try {"
           "var s = new SharedWorker('shared.js');"
           "s.port.onmessage = e => got = e.data;"
           "s.onerror = e => got = 'refused:' + e.message; s.port.start(); }"
           "catch (e) { got = 'refused:' + e; } poll(() => got)</script>"},
          {"site/shared.js",
           "onconnect = c => fetch('../private/secret.txt').then(r => r.text())"
           ".then(t => c.ports[0].postMessage(t),"
           "e => c.ports[0].postMessage('refused:' + e));"}}},
        {"importScripts",
         {{"site/page.html",
           "<script>var got = 'nothing'; try { var w = new Worker('import.js');"
           "w.onmessage = e => got = e.data;"
           "w.onerror = e => got = 'refused:' + e.message; }"
           "catch (e) { got = 'refused:' + e; } poll(() => got)</script>"},
          {"site/import.js",
           "try { importScripts('../private/secret.txt'); postMessage('ran'); }"
           "catch (e) { postMessage('refused:' + e); }"}}},
        {"style sheet rules",
         {{"site/page.html",
           "<link rel=stylesheet href='../private/secret.css'><script>"
           "poll(() => Array.from(document.styleSheets[0].cssRules)"
           ".map(r => r.cssText).join())</script>"}}},
        {"style sheet @import",
         {{"site/page.html",
           "<style>@import url('../private/secret.css');</style><script>"
           "poll(() => Array.from(document.styleSheets[0].cssRules[0]"
           ".styleSheet.cssRules).map(r => r.cssText).join())</script>"}}},
        {"canvas getImageData",
         {{"site/page.html",
           "<img id=i src='../private/secret.png'>"
           "<script>poll(() => pixel(i))</script>"}}},
        {"canvas toDataURL",
         {{"site/page.html",
           "<img id=i src='../private/secret.png'><script>poll(() => new Promise((ok, no) => {"
           "var c = document.createElement('canvas'); c.width = c.height = 1;"
           "c.getContext('2d').drawImage(i, 0, 0); var j = new Image();"
           "j.onload = () => ok(pixel(j)); j.onerror = no; j.src = c.toDataURL(); }))"
           "</script>"}}},
        {"script error message",
         {{"site/page.html",
           "<script>var got = 'nothing'; onerror = m => { got = m; };</script>"
           "<script src='../private/secret.txt'></script>"
           "<script>poll(() => got)</script>"}}},
        {"frame sent on by location",
         {{"site/page.html",
           "<iframe id=x src='own.html'></iframe><script>setTimeout(() => {"
           "x.contentWindow.location = '../private/secret.html';"
           "poll(() => x.contentDocument.body.innerText); }, 300)</script>"},
          {"site/own.html", "<p>own</p>"}}},
        {"window sent on by location",
         {{"site/page.html",
           "<script>var w = window.open('own.html'); setTimeout(() => {"
           "try { w.location = '../private/secret.html'; } catch (e) {}"
           "poll(() => w.document.body.innerText); }, 300)</script>"},
          {"site/own.html", "<p>own</p>"}}},
        {"blank window sent on by location",
         {{"site/page.html",
           "<script>var w = window.open('about:blank', 'blank');"
           "try { w.location = '../private/secret.html'; } catch (e) {}"
           "poll(() => w.document.body.innerText)</script>"}}},
    };
    return routes;
}

// A big block that retitles the page to "ready" when the pointer is on it, so a test knows the
// page takes input.
const char *const Block = "style='position:absolute;left:40px;top:40px;width:300px;height:200px;"
                          "display:block;background:#ddf' onmouseover=\"document.title='ready'\"";

} // namespace

class tst_LocalPages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void routesReadNoOtherFile_data();
    void routesReadNoOtherFile();
    void keepsWhatIsItsOwn_data();
    void keepsWhatIsItsOwn();
    void linksStillOpen_data();
    void linksStillOpen();

private:
    // Writes the secret folder and the page's files; the page's path.
    QString WritePage(const Files &files, const QString &route);
    // What the pages of a route reported, in order.
    QStringList Reports(const QString &route) const;

    HttpServer server;
    DialogWatchdog watchdog;
    std::unique_ptr<QTemporaryDir> folder;
};

void tst_LocalPages::initTestCase()
{
    QVERIFY(server.isListening());
    server.route("/picture.png", [](const HttpServer::Request &) {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        HttpServer::Response r;
        r.headers = {{"Content-Type", "image/png"}};
        r.body = png;
        return r;
    });
    server.html("/target", HttpServer::Page("Web Target"));
}

void tst_LocalPages::init()
{
    // Each page in a folder of its own: no file is shown under an address an earlier one had.
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    server.clearRequests();
}

void tst_LocalPages::cleanup()
{
    folder.reset();
}

QString tst_LocalPages::WritePage(const Files &files, const QString &route)
{
    const QDir root(folder->path());
    root.mkpath("site");
    root.mkpath("private");
    WriteAll(root.filePath("private/secret.txt"), SecretWord);
    WriteAll(root.filePath("private/secret.html"),
             QByteArray("<html><body>") + SecretWord + "</body></html>");
    WriteAll(root.filePath("private/secret.svg"),
             QByteArray("<svg xmlns='http://www.w3.org/2000/svg'><text y='20'>") + SecretWord
                 + "</text></svg>");
    WriteAll(root.filePath("private/secret.css"), QByteArray(".") + SecretWord + " { color: red }");
    QImage secret(1, 1, QImage::Format_ARGB32);
    secret.fill(SecretColour);
    secret.save(root.filePath("private/secret.png"));

    const QString privateFolder = QUrl::fromLocalFile(root.filePath("private")).toString();
    for (const auto &[name, content] : files) {
        QString text = content;
        text.replace("FILE", privateFolder);
        // Pages get the helper; the page named first is the one opened.
        if (name.endsWith(".html") && !text.startsWith("<frameset"))
            text = Helper(route, server.port()) + text;
        else if (text.startsWith("<frameset"))
            text = "<html><head><title>Route</title></head>" + text + "</html>";
        root.mkpath(QFileInfo(root.filePath(name)).path());
        WriteAll(root.filePath(name), text.toUtf8());
    }
    return root.filePath(files.first().first);
}

QStringList tst_LocalPages::Reports(const QString &route) const
{
    QStringList got;
    for (const HttpServer::Request &r : server.requests()) {
        const QUrlQuery query(QUrl(r.path).query());
        if (r.route() == "/report" && query.queryItemValue("route", QUrl::FullyDecoded) == route)
            got << query.queryItemValue("got", QUrl::FullyDecoded);
    }
    return got;
}

void tst_LocalPages::routesReadNoOtherFile_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("route");
    for (int i = 0; i < Routes().size(); ++i) {
        QTest::addRow("cancel all: %s", Routes()[i].name) << "all" << i;
        QTest::addRow("allow parent: %s", Routes()[i].name) << "allow" << i;
        QTest::addRow("allow all: %s", Routes()[i].name) << "allowie" << i;
    }
}

void tst_LocalPages::routesReadNoOtherFile()
{
    QFETCH(QString, mode);
    QFETCH(int, route);
    const Route &r = Routes()[route];
    const QString page = WritePage(r.files, r.name);

    EngineWindow e;
    e.start(mode, page);
    // Every route ends with what it got, read or refused.
    QTRY_VERIFY_WITH_TIMEOUT(!Reports(r.name).isEmpty(), 15000);
    qInfo("%s: %s", r.name, qPrintable(Reports(r.name).join(" | ")));
    for (const QString &path : server.requestedPaths()) {
        const QString sent = QUrl::fromPercentEncoding(path.toUtf8());
        QVERIFY2(!sent.contains(SecretWord) && !sent.contains(SecretPixel),
                 qPrintable(QString("%1 read the secret: %2").arg(r.name, sent)));
    }
    qDeleteAll(e.view->OpenedWindows());
}

void tst_LocalPages::keepsWhatIsItsOwn_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("expected");

    const QString picture
        = "<img src='%1' onload=\"report('shown')\" onerror=\"report('broken')\">";
    QTest::newRow("its picture") << Files {{"site/page.html", picture.arg("own.png")}} << "shown";
    QTest::newRow("its picture in a folder beside it (a saved page's parts)")
        << Files {{"site/page.html", picture.arg("page_files/own.png")}} << "shown";
    QTest::newRow("a picture from the web")
        << Files {{"site/page.html", picture.arg(server.url("/picture.png").toString())}}
        << "shown";
    QTest::newRow("its style sheet")
        << Files {{"site/page.html",
                   "<link rel=stylesheet href='page_files/own.css'><script>"
                   "onload = () => report(getComputedStyle(document.body)"
                   ".backgroundColor)</script>"},
                  {"site/page_files/own.css", "body { background-color: rgb(1, 2, 3) }"}}
        << "rgb(1, 2, 3)";
    QTest::newRow("its script") << Files {{"site/page.html", "<script src='own.js'></script>"},
                                          {"site/own.js", "report('ran')"}}
                                << "ran";
    QTest::newRow("its iframe, showing a picture of its own")
        << Files {{"site/page.html", "<iframe src='frame.html'></iframe>"},
                  {"site/frame.html", picture.arg("own.png")}}
        << "shown";
    QTest::newRow("its frameset, showing a picture of its own")
        << Files {{"site/page.html",
                   "<frameset rows='50%,50%'><frame src='frame.html'>"
                   "<frame src='about:blank'></frameset>"},
                  {"site/frame.html", picture.arg("own.png")}}
        << "shown";
}

void tst_LocalPages::keepsWhatIsItsOwn()
{
    QFETCH(Files, files);
    QFETCH(QString, expected);
    const QString page = WritePage(files, "own");
    QImage own(2, 2, QImage::Format_RGB32);
    own.fill(Qt::green);
    QVERIFY(own.save(QDir(folder->path()).filePath("site/own.png")));
    QDir(folder->path()).mkpath("site/page_files");
    QVERIFY(own.save(QDir(folder->path()).filePath("site/page_files/own.png")));

    EngineWindow e;
    e.start("all", page);
    QTRY_COMPARE_WITH_TIMEOUT(Reports("own"), QStringList {expected}, 15000);
    // The person sees the file's own address.
    QCOMPARE(e.view->LocationURL(), QUrl::fromLocalFile(page).toString());
}

void tst_LocalPages::linksStillOpen_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("arrives"); // the address the window shows after the click
    QTest::addColumn<QString>("title");

    QTest::newRow("to the web") << server.url("/target").toString()
                                << server.url("/target").toString() << "Web Target";
    QTest::newRow("to another local page") << "other.html"
                                           << "LOCAL/site/other.html"
                                           << "Other Page";
    QTest::newRow("to a local page in another folder") << "../elsewhere/other.html"
                                                       << "LOCAL/elsewhere/other.html"
                                                       << "Other Page";
}

void tst_LocalPages::linksStillOpen()
{
    QFETCH(QString, href);
    QFETCH(QString, arrives);
    QFETCH(QString, title);
    const QString other = "<html><head><title>Other Page</title></head><body>other</body></html>";
    const QString page = WritePage(
        {{"site/page.html", QString("<title>Links</title><a href='%1' %2>go</a>").arg(href, Block)},
         {"site/other.html", other},
         {"elsewhere/other.html", other}},
        "links");
    arrives.replace("LOCAL", QUrl::fromLocalFile(folder->path()).toString());

    EngineWindow e;
    e.start("all", page);
    QTRY_VERIFY(PointAt(e.view, QPoint(100, 100), "ready"));
    QSignalSpy arrived(e.view, &WebView::NavigateComplete2);
    for (int tries = 0; arrived.isEmpty() && tries < 3; ++tries) {
        QTest::mouseClick(InputTarget(e.view), Qt::LeftButton, {}, QPoint(100, 100));
        arrived.wait(5000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(e.view->LocationName(), title, 10000);
    QCOMPARE(e.view->LocationURL(), arrives);
}

QTEST_MAIN(tst_LocalPages)
#include "tst_LocalPages.moc"
