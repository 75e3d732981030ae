#include "EngineNoticeSeed.h"
#include "HttpServer.h"
#include "ProgramProcess.h"
#include "TestFiles.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

// The program, started in its own application folder with its per-user data kept in the
// test's folder too. The folder has been told about this engine, unless told is false.
struct Browser : ProgramProcess
{
    QTemporaryDir &home;

    explicit Browser(QTemporaryDir &h, bool told = true)
        : home(h)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUORBROWSER_HOME", home.filePath("app"));
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CACHE_HOME", home.filePath("cache"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.remove("QUORBROWSER_START_MINIMIZED");
        process.setProcessEnvironment(env);
        process.setProgram(qEnvironmentVariable("QUORBROWSER_TEST_BINARY"));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QDir().mkpath(home.filePath("app"));
        if (told)
            QVERIFY(SeedEngineNotice(home.filePath("app"), process.program()));
    }
    QString file(const QString &name) const { return home.filePath("app/" + name); }
};

} // namespace

class tst_Binary : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void localPathWithBlanksLoads_data();
    void localPathWithBlanksLoads();
    void handOffOpensOnce();
    void closingWritesNineLines();
    void qtSwitchesAreAddresses();
    void optionsPrintAndOpenNothing_data();
    void optionsPrintAndOpenNothing();
    void noDisplayIsSaid();
    void firstStartRemembersTheEngineToldAbout();
    void startSaysNothing();
    void rootStartsWithThePageSandboxOff();

private:
    HttpServer server;
};

void tst_Binary::initTestCase()
{
    QVERIFY(QFile::exists(qEnvironmentVariable("QUORBROWSER_TEST_BINARY")));
    QVERIFY(server.isListening());
    server.route("/mark.png",
                 HttpServer::Response {200, {{"Content-Type", "image/png"}}, QByteArray()});
    server.html("/handoff", HttpServer::Page("Handed over"));
    server.html("/home", HttpServer::Page("Home"));
}

void tst_Binary::localPathWithBlanksLoads_data()
{
    QTest::addColumn<bool>("asOneArgument");
    QTest::newRow("quoted by the shell") << true;
    QTest::newRow("split by the shell") << false;
}

void tst_Binary::localPathWithBlanksLoads()
{
    QFETCH(bool, asOneArgument);
    QTemporaryDir home;
    QDir().mkpath(home.filePath("My Pages"));
    const QString page = home.filePath("My Pages/a page.html");
    // The page asks the test server for a picture, so its loading shows there.
    const QString mark = QString("/mark.png?%1").arg(asOneArgument);
    WriteAll(page, HttpServer::Page("Local", "<img src='" + server.url(mark).toString() + "'>"));
    Browser b(home);
    const QStringList args = asOneArgument ? QStringList {page} : page.split(' ');
    QVERIFY(b.start(args));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested(mark), 30000);
    QVERIFY(b.terminate());
}

void tst_Binary::handOffOpensOnce()
{
    QTemporaryDir home;
    Browser first(home);
    WriteAll(first.file("Popupurl"), "\"" + server.url("/handoff?once").toEncoded() + "\"\r\n");
    WriteAll(first.file("QuorBrowser.cfg"), "21127OCT99\r\n0\r\nall\r\nHome\r\n");
    WriteAll(first.file("HomePage"), "\"" + server.url("/home?second").toEncoded() + "\"\r\n");
    QVERIFY(first.start());
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/handoff?once"), 30000);
    QCOMPARE(ReadAll(first.file("Popupurl")), QByteArray("\"\"\r\n"));
    QVERIFY(first.terminate());

    // The next start without a command line falls through to its Start Up page.
    Browser second(home);
    QVERIFY(second.start());
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/home?second"), 30000);
    QCOMPARE(server.requestCount("/handoff?once"), 1);
    QVERIFY(second.terminate());
}

void tst_Binary::closingWritesNineLines()
{
    QTemporaryDir home;
    Browser b(home);
    WriteAll(b.file("HomePage"), "\"" + server.url("/home?close").toEncoded() + "\"\r\n");
    WriteAll(b.file("QuorBrowser.cfg"),
             "21127OCT99\r\n0\r\nallow\r\nHome\r\n12000\r\n7500\r\n600\r\n900\r\n0\r\n");
    QVERIFY(b.start());
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/home?close"), 30000);
    QVERIFY(b.terminate());
    const QString cfg = QString::fromLatin1(ReadAll(b.file("QuorBrowser.cfg")));
    const QRegularExpression format(
        "^21127OCT99\r\n0\r\nallow\r\nHome\r\n(-?\\d+(\\.\\d+)?\r\n){4}0\r\n$");
    QVERIFY2(format.match(cfg).hasMatch(), qPrintable(cfg));
    const QStringList lines = cfg.split("\r\n");
    QCOMPARE(lines.mid(4, 2), (QStringList {"12000", "7500"}));
}

void tst_Binary::qtSwitchesAreAddresses()
{
    // A document whose name reads like a switch of the toolkit: taken as one, "-platform
    // xcb.html" would make the program look for a display kind that does not exist, and end.
    QTemporaryDir home;
    QDir().mkpath(home.filePath("docs"));
    WriteAll(home.filePath("docs/-platform xcb.html"),
             HttpServer::Page("Switch",
                              "<img src='" + server.url("/mark.png?switch").toString() + "'>"));
    Browser b(home);
    QProcessEnvironment env = b.process.processEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    b.process.setProcessEnvironment(env);
    b.process.setWorkingDirectory(home.filePath("docs"));
    QVERIFY(b.start({"-platform", "xcb.html"}));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/mark.png?switch")
                                 || b.process.state() == QProcess::NotRunning,
                             30000);
    QVERIFY2(b.process.state() == QProcess::Running, "the program took its address as a switch");
    QVERIFY(b.terminate());
}

void tst_Binary::optionsPrintAndOpenNothing_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("display");
    QTest::addColumn<QString>("output"); // standard output, as a pattern

    const QString usage = R"(^QuorBrowser 1\.0\.0\n\nUsage: quorbrowser \[ADDRESS \| FILE\]\n)";
    // The program's line as it always was, and the engine's under it.
    const QString version = QString(R"(^QuorBrowser 1\.0\.0\nQt WebEngine %1, Chromium %1, )"
                                    R"(security fixes to Chromium %1\n$)")
                                .arg(R"(\d+(\.\d+)*)");
    QTest::newRow("--help") << "--help" << true << usage;
    QTest::newRow("-h") << "-h" << true << usage;
    QTest::newRow("--version") << "--version" << true << version;
    QTest::newRow("--version without a display") << "--version" << false << version;
}

void tst_Binary::optionsPrintAndOpenNothing()
{
    QFETCH(QString, option);
    QFETCH(bool, display);
    QFETCH(QString, output);
    QTemporaryDir home;
    Browser b(home);
    b.process.setProcessChannelMode(QProcess::SeparateChannels);
    // Were the engine started, it would start its helper program: here one that leaves a mark.
    const QString mark = home.filePath("engine-started");
    const QString helper = home.filePath("engine-helper");
    WriteAll(helper, "#!/bin/sh\ntouch '" + QFile::encodeName(mark) + "'\n");
    QVERIFY(QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner));
    QProcessEnvironment env = b.process.processEnvironment();
    env.insert("QTWEBENGINEPROCESS_PATH", helper);
    if (!display) {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
    }
    b.process.setProcessEnvironment(env);
    server.clearRequests();
    QVERIFY(b.start({option}));
    QVERIFY(b.process.waitForFinished(20000));
    QCOMPARE(b.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(b.process.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(b.process.readAllStandardOutput());
    QVERIFY2(QRegularExpression(output).match(out).hasMatch(), qPrintable(out));
    QCOMPARE(b.process.readAllStandardError(), QByteArray());
    // No window was loaded and no engine started: nothing asked of the server, no file written.
    QVERIFY(server.requests().isEmpty());
    QVERIFY(!QFile::exists(mark));
    QCOMPARE(QDir(home.filePath("app")).entryList(QDir::Files), QStringList {"EngineNotice"});
}

void tst_Binary::noDisplayIsSaid()
{
    QTemporaryDir home;
    Browser b(home);
    b.process.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = b.process.processEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    b.process.setProcessEnvironment(env);
    QVERIFY(b.start({server.url("/home?nodisplay").toString()}));
    QVERIFY(b.process.waitForFinished(20000));
    QCOMPARE(b.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(b.process.exitCode(), 1);
    QCOMPARE(b.process.readAllStandardError(),
             QByteArray("QuorBrowser needs a graphical desktop: no display found\n"));
    QVERIFY(!server.wasRequested("/home?nodisplay"));
}

void tst_Binary::firstStartRemembersTheEngineToldAbout()
{
    // A folder that has not been told about this engine: a start where its fixes are old says
    // so, and the notice file then names this engine; a start where they are recent leaves no
    // file, so the word can still come once they are old.
    QTemporaryDir home;
    Browser b(home, false);
    QVERIFY(b.start({server.url("/home?first").toString()}));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/home?first"), 30000);
    const std::optional<EngineVersion> named = ProgramEngine(b.process.program());
    QVERIFY(named);
    const EngineVersion engine = *named;
    const QString file = b.file("EngineNotice");
    if (IsOldChromium(engine.chromiumSecurityPatch, QDate::currentDate()))
        QTRY_COMPARE_WITH_TIMEOUT(ReadAll(file), SerializeEngineNotice(engine), 10000);
    QVERIFY(b.terminate());
    if (!IsOldChromium(engine.chromiumSecurityPatch, QDate::currentDate()))
        QVERIFY(!QFile::exists(file));
}

void tst_Binary::startSaysNothing()
{
    // A start, a page and an end: nothing on standard error, not even the engine's notes.
    QTemporaryDir home;
    Browser b(home);
    b.process.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = b.process.processEnvironment();
    env.remove("XDG_RUNTIME_DIR"); // as under su: Qt would note it
    b.process.setProcessEnvironment(env);
    QVERIFY(b.start({server.url("/home?quiet").toString()}));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/home?quiet"), 30000);
    QVERIFY(b.terminate());
    QCOMPARE(QString::fromLocal8Bit(b.process.readAllStandardError()), QString());
}

void tst_Binary::rootStartsWithThePageSandboxOff()
{
    if (::geteuid() != 0)
        QSKIP("only a start as root turns the page sandbox off");
    QTemporaryDir home;
    Browser b(home);
    b.process.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = b.process.processEnvironment();
    env.remove("QTWEBENGINE_DISABLE_SANDBOX");
    b.process.setProcessEnvironment(env);
    QVERIFY(b.start({server.url("/home?root").toString()}));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/home?root"), 30000);
    QVERIFY(b.terminate());
    QCOMPARE(b.process.readAllStandardError(),
             QByteArray("running as root: the page sandbox is off; run QuorBrowser as a normal "
                        "user to keep it\n"));
}

QTEST_GUILESS_MAIN(tst_Binary)
#include "tst_Binary.moc"
