#include "webview/LocalFiles.h"

#include <QRegularExpression>
#include <QtTest>

// Local files shown as pages: the address each gets, the address a person sees, and what becomes
// of every request that touches the machine's files.
class tst_LocalFiles : public QObject
{
    Q_OBJECT

private slots:
    void LocalPageUrl_OwnHostPerFile_data();
    void LocalPageUrl_OwnHostPerFile();
    void LocalPageUrl_KeepsPathQueryAndFragment();
    void ShownAddress_data();
    void ShownAddress();
    void DecideLocalRequest_data();
    void DecideLocalRequest();
};

void tst_LocalFiles::LocalPageUrl_OwnHostPerFile_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("sameHost");

    QTest::newRow("the same file") << "file:///home/me/page.html"
                                   << "file:///home/me/page.html" << true;
    QTest::newRow("the same file, spelt with ..") << "file:///home/me/page.html"
                                                  << "file:///home/me/sub/../page.html" << true;
    QTest::newRow("the same file, from a local page's relative link")
        << "file:///home/me/page.html"
        << "localfile://fdeadbeefdeadbeefdeadbeefdeadbeef/home/me/page.html" << true;
    QTest::newRow("the same file, another query") << "file:///home/me/page.html"
                                                  << "file:///home/me/page.html?x=1" << true;
    QTest::newRow("a file beside it") << "file:///home/me/page.html"
                                      << "file:///home/me/secret.html" << false;
    QTest::newRow("a file in another folder") << "file:///home/me/page.html"
                                              << "file:///home/you/page.html" << false;
    QTest::newRow("only the case differs") << "file:///home/me/Page.html"
                                           << "file:///home/me/page.html" << false;
}

void tst_LocalFiles::LocalPageUrl_OwnHostPerFile()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, sameHost);

    const QUrl pageA = LocalPageUrl(QUrl(a)), pageB = LocalPageUrl(QUrl(b));
    // A host name that never reads as an IP address, and a page's own address is stable.
    static const QRegularExpression host(QStringLiteral("^f[0-9a-f]{32}$"));
    QVERIFY2(host.match(pageA.host()).hasMatch(), qPrintable(pageA.toString()));
    QCOMPARE(pageA.scheme(), QString::fromLatin1(kLocalPageScheme));
    QCOMPARE(LocalPageUrl(pageA), pageA);
    QCOMPARE(pageA.host() == pageB.host(), sameHost);
}

void tst_LocalFiles::LocalPageUrl_KeepsPathQueryAndFragment()
{
    const QUrl file = QUrl::fromLocalFile(QStringLiteral("/home/me/My Pages/a#b.html"));
    QUrl withParts = file;
    withParts.setQuery(QStringLiteral("q=1&r=%C3%A9"));
    withParts.setFragment(QStringLiteral("part"));

    const QUrl page = LocalPageUrl(withParts);
    QCOMPARE(page.path(), QStringLiteral("/home/me/My Pages/a#b.html"));
    QCOMPARE(page.query(QUrl::FullyEncoded), QStringLiteral("q=1&r=%C3%A9"));
    QCOMPARE(page.fragment(), QStringLiteral("part"));
    QVERIFY(page.isValid());
    // And back to the file, whole.
    QCOMPARE(LocalFileUrl(page), withParts);
    QCOMPARE(LocalFileUrl(LocalPageUrl(file)).toLocalFile(), file.toLocalFile());
}

void tst_LocalFiles::ShownAddress_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("shown");

    const QString page
        = LocalPageUrl(QUrl(QStringLiteral("file:///home/me/a%20b.html?x=1#top"))).toString();
    QTest::newRow("local page") << page << "file:///home/me/a b.html?x=1#top";
    QTest::newRow("view-source of a local page")
        << QStringLiteral("view-source:") + page << "view-source:file:///home/me/a b.html?x=1#top";
    QTest::newRow("web page") << "http://127.0.0.1:8080/p?q=1"
                              << "http://127.0.0.1:8080/p?q=1";
    QTest::newRow("folder listing") << "file:///home/me/"
                                    << "file:///home/me/";
    QTest::newRow("a title, not an address") << "Local page: notes"
                                             << "Local page: notes";
    QTest::newRow("nothing") << ""
                             << "";
}

void tst_LocalFiles::ShownAddress()
{
    QFETCH(QString, engine);
    QFETCH(QString, shown);
    QCOMPARE(::ShownAddress(engine), shown);
}

void tst_LocalFiles::DecideLocalRequest_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("initiator");
    QTest::addColumn<QString>("firstParty");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("action");
    // Redirect: "own:" + a file address stands for that file's own page address.
    QTest::addColumn<QString>("to");

    const int doc = int(LocalRequestKind::Document), read = int(LocalRequestKind::ScriptRead),
              sub = int(LocalRequestKind::Subresource);
    const int file = int(LocalPathKind::File), folder = int(LocalPathKind::Folder),
              missing = int(LocalPathKind::Missing);
    const int pass = LocalRequestDecision::Pass, block = LocalRequestDecision::Block,
              redirect = LocalRequestDecision::Redirect;
    const QString pageFile = "file:///home/me/site/page.html";
    const QString page = LocalPageUrl(QUrl(pageFile)).toString();
    const QString origin = QUrl(page).adjusted(QUrl::RemovePath).toString();
    // The page's host on another file: what a relative link of the page asks for.
    const QString besidePage = origin + "/home/me/site/own.png";
    const QString secretPage = origin + "/home/me/private/secret.html";

    QTest::newRow("web address") << doc << "http://127.0.0.1/p" << origin << page << file << pass
                                 << "";
    QTest::newRow("typed local page")
        << doc << pageFile << "" << pageFile << file << redirect << "own:" + pageFile;
    QTest::newRow("local page under its own address")
        << doc << page << "" << pageFile << file << pass << "";
    QTest::newRow("back to a local page") << doc << page << "" << page << file << pass << "";
    QTest::newRow("view-source of a local page")
        << doc << pageFile << ""
        << "view-source:" + pageFile << file << redirect << "own:" + pageFile;
    QTest::newRow("frame of another file")
        << doc << "file:///home/me/private/secret.html" << origin << page << file << redirect
        << "own:file:///home/me/private/secret.html";
    QTest::newRow("frame by a relative link, under the page's host")
        << doc << secretPage << origin << page << file << redirect
        << "own:file:///home/me/private/secret.html";
    QTest::newRow("window opened by a local page, from about:blank")
        << doc << secretPage << origin << "about:blank" << file << redirect
        << "own:file:///home/me/private/secret.html";
    QTest::newRow("picture beside the page") << sub << besidePage << origin << page << file
                                             << redirect << "file:///home/me/site/own.png";
    QTest::newRow("picture at a file address")
        << sub << "file:///home/me/site/own.png" << origin << page << file << pass << "";
    QTest::newRow("picture of a frame without an origin of its own (sandboxed)")
        << sub << besidePage << "" << page << file << redirect << "file:///home/me/site/own.png";
    QTest::newRow("script reads a file")
        << read << "file:///etc/hostname" << origin << page << file << block << "";
    QTest::newRow("script reads beside the page")
        << read << besidePage << origin << page << file << block << "";
    QTest::newRow("folder") << doc << "file:///home/me/"
                            << ""
                            << "file:///home/me/" << folder << pass << "";
    QTest::newRow("folder at a page address")
        << doc << origin + "/home/me" << origin << page << folder << redirect << "file:///home/me";
    QTest::newRow("missing file") << doc << "file:///home/me/gone.html"
                                  << ""
                                  << "file:///home/me/gone.html" << missing << pass << "";
    QTest::newRow("web archive") << doc << "file:///home/me/saved.MHTML"
                                 << ""
                                 << "file:///home/me/saved.MHTML" << file << pass << "";
    QTest::newRow("web page frames a file") << doc << "file:///etc/passwd"
                                            << "http://evil.test"
                                            << "http://evil.test/" << file << block << "";
    QTest::newRow("web page frames a page address") << doc << secretPage << "http://evil.test"
                                                    << "http://evil.test/" << file << block << "";
    QTest::newRow("web page shows a local picture") << sub << besidePage << "http://evil.test"
                                                    << "http://evil.test/" << file << block << "";
    QTest::newRow("sandboxed frame of a web page shows a local picture")
        << sub << besidePage << ""
        << "http://evil.test/" << file << block << "";
    QTest::newRow("server redirects to a page address")
        << doc << secretPage << ""
        << "http://evil.test/redirect" << file << block << "";
    QTest::newRow("server redirects to a file") << doc << "file:///etc/passwd"
                                                << ""
                                                << "https://evil.test/" << file << block << "";
    QTest::newRow("browser's own start page") << doc << pageFile << "qrc:"
                                              << "qrc:/start.html" << file << block << "";
    QTest::newRow("folder listing opens a file")
        << doc << pageFile << "file:///"
        << "file:///home/me/site/" << file << redirect << "own:" + pageFile;
}

void tst_LocalFiles::DecideLocalRequest()
{
    QFETCH(int, kind);
    QFETCH(QString, url);
    QFETCH(QString, initiator);
    QFETCH(QString, firstParty);
    QFETCH(int, at);
    QFETCH(int, action);
    QFETCH(QString, to);

    const LocalRequestDecision d = ::DecideLocalRequest(
        LocalRequestKind(kind), QUrl(url), QUrl(initiator), QUrl(firstParty), LocalPathKind(at));
    QCOMPARE(int(d.action), action);
    const QUrl expected = to.startsWith("own:") ? LocalPageUrl(QUrl(to.mid(4))) : QUrl(to);
    QCOMPARE(d.to, expected);
}

QTEST_GUILESS_MAIN(tst_LocalFiles)
#include "tst_LocalFiles.moc"
