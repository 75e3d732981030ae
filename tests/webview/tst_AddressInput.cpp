#include "webview/AddressInput.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// How the text given to Navigate becomes a load, a mail, a search or nothing.
class tst_AddressInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ResolveAddressInput_data();
    void ResolveAddressInput();
    void SearchPageUrl_data();
    void SearchPageUrl();

private:
    QTemporaryDir m_root;
    QString m_wd; // a working folder with a blank in its name
};

static const QString kSearch = QStringLiteral("http://search.test/find?q=%s&lang=en");

void tst_AddressInput::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_wd = m_root.filePath(QStringLiteral("dir with space"));
    QVERIFY(QDir().mkpath(m_wd));
    for (const QString &name : {QStringLiteral("file one.html"), QStringLiteral("example")}) {
        QFile f(m_wd + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
}

void tst_AddressInput::ResolveAddressInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    // Fully encoded; "$WD" stands for the working folder as a file address.
    QTest::addColumn<QString>("url");

    const int load = AddressAction::Load, search = AddressAction::Search;
    QTest::newRow("empty") << "" << int(AddressAction::Nothing) << "";
    QTest::newRow("blanks only") << "  \t " << int(AddressAction::Nothing) << "";
    QTest::newRow("full address") << "http://127.0.0.1:8765/page?x=1" << load
                                  << "http://127.0.0.1:8765/page?x=1";
    QTest::newRow("https address") << "https://example.com/" << load << "https://example.com/";
    QTest::newRow("bare host") << "example.com" << load << "http://example.com";
    QTest::newRow("host, path, query, blanks around")
        << "  example.com/path?q=1  " << load << "http://example.com/path?q=1";
    QTest::newRow("localhost") << "localhost" << load << "http://localhost";
    QTest::newRow("localhost any case") << "LocalHost" << load << "http://localhost";
    QTest::newRow("localhost with port") << "localhost:8080" << load << "http://localhost:8080";
    QTest::newRow("ip, port and path")
        << "127.0.0.1:8765/page" << load << "http://127.0.0.1:8765/page";
    QTest::newRow("word with a path") << "intranet/wiki" << load << "http://intranet/wiki";
    QTest::newRow("ftp host") << "ftp.example.com" << load << "ftp://ftp.example.com";
    QTest::newRow("about:blank") << "about:blank" << load << "about:blank";
    QTest::newRow("view-source") << "view-source:http://127.0.0.1:8765/" << load
                                 << "view-source:http://127.0.0.1:8765/";
    QTest::newRow("mailto") << "mailto:someone@example.invalid" << int(AddressAction::Mail)
                            << "mailto:someone@example.invalid";
    QTest::newRow("mailto any case, subject")
        << " MailTo:a@example.invalid?subject=Hi " << int(AddressAction::Mail)
        << "mailto:a@example.invalid?subject=Hi";
    QTest::newRow("absolute path with blanks")
        << "$WDP/file one.html" << load << "$WD/file%20one.html";
    QTest::newRow("relative file with blanks") << "file one.html" << load << "$WD/file%20one.html";
    QTest::newRow("word naming a file here") << "example" << load << "$WD/example";
    QTest::newRow("dot-slash missing file") << "./gone one.html" << load << "$WD/gone%20one.html";
    QTest::newRow("full address with a blank")
        << "http://127.0.0.1:8765/a b" << load << "http://127.0.0.1:8765/a%20b";
    QTest::newRow("single word") << "quokka" << search
                                 << "http://search.test/find?q=quokka&lang=en";
    QTest::newRow("number") << "42" << search << "http://search.test/find?q=42&lang=en";
    QTest::newRow("word and question mark")
        << "why?" << search << "http://search.test/find?q=why%3F&lang=en";
    QTest::newRow("two words") << "two words" << search
                               << "http://search.test/find?q=two%20words&lang=en";
    QTest::newRow("words, runs of blanks")
        << "  two \t words " << search << "http://search.test/find?q=two%20words&lang=en";
    QTest::newRow("words with query characters")
        << "c++ & d=1" << search << "http://search.test/find?q=c%2B%2B%20%26%20d%3D1&lang=en";
    QTest::newRow("words not in ASCII")
        << "grüße aus" << search << "http://search.test/find?q=gr%C3%BC%C3%9Fe%20aus&lang=en";
    QTest::newRow("missing file name with a blank")
        << "gone one.html" << search << "http://search.test/find?q=gone%20one.html&lang=en";
    QTest::newRow("words with a dot")
        << "what is qt.io" << search << "http://search.test/find?q=what%20is%20qt.io&lang=en";
}

void tst_AddressInput::ResolveAddressInput()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, url);
    const QString wdUrl = QUrl::fromLocalFile(m_wd).toString(QUrl::FullyEncoded);
    text.replace(QLatin1String("$WDP"), m_wd);
    url.replace(QLatin1String("$WD"), wdUrl);

    const AddressAction a = ::ResolveAddressInput(text, m_wd, kSearch);
    QCOMPARE(int(a.kind), kind);
    QCOMPARE(a.url.toString(QUrl::FullyEncoded), url);
}

void tst_AddressInput::SearchPageUrl_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("url");

    QTest::newRow("no words") << kSearch << ""
                              << "http://search.test/find?q=&lang=en";
    QTest::newRow("words in the path") << "http://search.test/s/%s/"
                                       << "a b"
                                       << "http://search.test/s/a%20b/";
    QTest::newRow("no placeholder") << "http://search.test/"
                                    << "a"
                                    << "http://search.test/";
    QTest::newRow("placeholder twice") << "http://search.test/?q=%s&again=%s"
                                       << "x/y"
                                       << "http://search.test/?q=x%2Fy&again=x%2Fy";
}

void tst_AddressInput::SearchPageUrl()
{
    QFETCH(QString, page);
    QFETCH(QString, words);
    QFETCH(QString, url);
    QCOMPARE(::SearchPageUrl(page, words).toString(QUrl::FullyEncoded), url);
}

QTEST_GUILESS_MAIN(tst_AddressInput)
#include "tst_AddressInput.moc"
