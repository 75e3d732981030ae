#include "app/StartCheck.h"

#include <QtTest>

// What the start does before Qt starts: options, a missing desktop, root, and which notes of Qt
// and the engine stay quiet.
class tst_StartCheck : public QObject
{
    Q_OBJECT
private slots:
    void DecideStart_data();
    void DecideStart();
    void IsQuietNote_data();
    void IsQuietNote();
    void UsableXdgValue_data();
    void UsableXdgValue();
    void versionNamesTheEngine();
};

void tst_StartCheck::DecideStart_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("sandboxVariable");
    QTest::addColumn<bool>("root");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("sandboxOff");

    const int run = StartDecision::Run, usage = StartDecision::PrintUsage,
              version = StartDecision::PrintVersion, none = StartDecision::NoDisplay;
    QTest::newRow("an address") << QStringList {"example.com"} << ":0"
                                << ""
                                << "" << false << false << run << false;
    QTest::newRow("nothing") << QStringList {} << ":0"
                             << ""
                             << "" << false << false << run << false;
    QTest::newRow("--help") << QStringList {"--help"} << ":0"
                            << ""
                            << "" << false << false << usage << false;
    QTest::newRow("-h") << QStringList {"-h"} << ":0"
                        << ""
                        << "" << false << false << usage << false;
    QTest::newRow("--version") << QStringList {"--version"} << ":0"
                               << ""
                               << "" << false << false << version << false;
    QTest::newRow("--help without a display") << QStringList {"--help"} << ""
                                              << ""
                                              << "" << false << false << usage << false;
    QTest::newRow("--help and more: an address") << QStringList {"--help", "me"} << ":0"
                                                 << ""
                                                 << "" << false << false << run << false;
    QTest::newRow("a file named --version.html") << QStringList {"--version.html"} << ":0"
                                                 << ""
                                                 << "" << false << false << run << false;
    QTest::newRow("-H: an address") << QStringList {"-H"} << ":0"
                                    << ""
                                    << "" << false << false << run << false;
    QTest::newRow("no display at all") << QStringList {"example.com"} << ""
                                       << ""
                                       << "" << false << false << none << false;
    QTest::newRow("Wayland") << QStringList {} << ""
                             << "wayland-0"
                             << "" << false << false << run << false;
    QTest::newRow("a platform named outright") << QStringList {} << ""
                                               << ""
                                               << "offscreen" << false << false << run << false;
    QTest::newRow("root") << QStringList {} << ":0"
                          << ""
                          << "" << false << true << run << true;
    QTest::newRow("root, sandbox said by the user") << QStringList {} << ":0"
                                                    << ""
                                                    << "" << true << true << run << false;
    QTest::newRow("not root, sandbox said by the user") << QStringList {} << ":0"
                                                        << ""
                                                        << "" << true << false << run << false;
    QTest::newRow("root without a display") << QStringList {} << ""
                                            << ""
                                            << "" << false << true << none << false;
}

void tst_StartCheck::DecideStart()
{
    QFETCH(QStringList, args);
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QString, platform);
    QFETCH(bool, sandboxVariable);
    QFETCH(bool, root);
    QFETCH(int, action);
    QFETCH(bool, sandboxOff);

    StartEnvironment env;
    env.display = display;
    env.waylandDisplay = wayland;
    env.platform = platform;
    env.sandboxVariableSet = sandboxVariable;
    env.root = root;
    const StartDecision d = ::DecideStart(args, env);
    QCOMPARE(int(d.action), action);
    QCOMPARE(d.sandboxOff, sandboxOff);
}

void tst_StartCheck::IsQuietNote_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("quiet");

    QTest::newRow("the engine's start notes")
        << int(QtInfoMsg) << "\nGL Type: disabled\nSurface Type: ..." << true;
    QTest::newRow("a debug message") << int(QtDebugMsg) << "anything" << true;
    QTest::newRow("no runtime folder")
        << int(QtWarningMsg) << "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/x'"
        << true;
    QTest::newRow("a runtime folder others may read")
        << int(QtWarningMsg)
        << "QStandardPaths: wrong permissions on runtime directory /run/x, 0755 instead of 0700"
        << true;
    QTest::newRow("drawn without a GPU")
        << int(QtWarningMsg) << "No suitable graphics backend found" << true;
    QTest::newRow("no GPU vendor") << int(QtWarningMsg) << "Unable to detect GPU vendor." << true;
    QTest::newRow("no OpenGL for the page view")
        << int(QtWarningMsg) << "QRhiGles2: Failed to create context" << true;
    QTest::newRow("no Vulkan") << int(QtWarningMsg)
                               << "QVulkanInstance: Failed to initialize Vulkan" << true;
    QTest::newRow("no OpenGL integration")
        << int(QtWarningMsg)
        << "QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are enabled"
        << true;
    QTest::newRow("another warning")
        << int(QtWarningMsg) << "QFile::remove: Empty or null file name" << false;
    QTest::newRow("a note's words in the middle of a warning")
        << int(QtWarningMsg) << "Failed: No suitable graphics backend found" << false;
    QTest::newRow("an error") << int(QtCriticalMsg) << "No suitable graphics backend found"
                              << false;
    QTest::newRow("a fatal error") << int(QtFatalMsg) << "out of memory" << false;
}

void tst_StartCheck::IsQuietNote()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, quiet);
    QCOMPARE(::IsQuietNote(QtMsgType(type), text), quiet);
}

void tst_StartCheck::UsableXdgValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("list");
    QTest::addColumn<QString>("usable");
    QTest::newRow("absolute") << "/home/p/.local/share" << false << "/home/p/.local/share";
    QTest::newRow("relative") << "data" << false << "";
    QTest::newRow("dot relative") << "./share" << false << "";
    QTest::newRow("home shorthand is no path") << "~/share" << false << "";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("list, all absolute")
        << "/usr/local/share:/usr/share" << true << "/usr/local/share:/usr/share";
    QTest::newRow("list, relative entries dropped")
        << "share:/usr/share::./x:/opt/s" << true << "/usr/share:/opt/s";
    QTest::newRow("list, nothing absolute") << "a:b" << true << "";
}

void tst_StartCheck::UsableXdgValue()
{
    QFETCH(QString, value);
    QFETCH(bool, list);
    QFETCH(QString, usable);
    QCOMPARE(::UsableXdgValue(value, list), usable);
}

void tst_StartCheck::versionNamesTheEngine()
{
    // The program's line as it always was, and the engine's under it; --help keeps the first.
    const EngineVersion engine {"6.4.2", "102.0.5005.177", "108.0.5359.94"};
    QCOMPARE(VersionText("1.0.0", engine),
             QString("QuorBrowser 1.0.0\nQt WebEngine 6.4.2, Chromium 102.0.5005.177, security "
                     "fixes to Chromium 108.0.5359.94\n"));
    QVERIFY(UsageText("1.0.0").startsWith("QuorBrowser 1.0.0\n\nUsage: "));
}

QTEST_GUILESS_MAIN(tst_StartCheck)
#include "tst_StartCheck.moc"
