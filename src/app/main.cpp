#include "Version.h"
#include "app/Module1.h"
#include "app/PlatformServices.h"
#include "app/ProgramIcon.h"
#include "app/ProgramStyle.h"
#include "app/StartCheck.h"
#include "app/TerminationSignals.h"
#include "app/frmSplash.h"
#include "services/ProcessInstanceStarter.h"
#include "services/UserDialogs.h"
#include "settings/AppFolder.h"
#include "settings/StartupTrace.h"
#include "webview/ViewDialogs.h"
#include "webview/WebEngine.h"
#include "webview/WebView.h"

#include <QApplication>
#include <QDate>
#include <QPushButton>

#include <cstdio>
#include <memory>

namespace {

QtMessageHandler g_loudMessages = nullptr;

void QuietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (IsQuietNote(type, text))
        return;
    if (g_loudMessages)
        g_loudMessages(type, context, text);
    else
        qt_message_output(type, context, text);
}

StartEnvironment StartEnvironmentNow()
{
    StartEnvironment env;
    env.display = qEnvironmentVariable("DISPLAY");
    env.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    env.platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    env.sandboxVariableSet = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX");
    env.root = PlatformServices::RunningAsRoot();
    return env;
}

} // namespace

int main(int argc, char **argv)
{
    TraceStartup("main");
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(QUORBROWSER_VERSION_MAJOR)
                                .arg(QUORBROWSER_VERSION_MINOR)
                                .arg(QUORBROWSER_VERSION_PATCH);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const StartDecision start = DecideStart(args, StartEnvironmentNow());
    // Making it starts nothing yet: --version asks it too.
    const std::unique_ptr<WebEngine> engine = MakeWebEngine();
    switch (start.action) {
    case StartDecision::PrintUsage:
        std::fputs(UsageText(version).toLocal8Bit().constData(), stdout);
        return 0;
    case StartDecision::PrintVersion:
        std::fputs(VersionText(version, engine->Version()).toLocal8Bit().constData(), stdout);
        return 0;
    case StartDecision::NoDisplay:
        std::fputs(NoDisplayText, stderr);
        return 1;
    case StartDecision::Run:
        break;
    }
    if (start.sandboxOff) {
        // The engine will not start as root with it; the processes this one starts are root too.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs(RootSandboxText, stderr);
    }
    // A relative XDG folder would be taken relative to wherever the program was started; the
    // rules say it is to be ignored. The programs this one starts inherit the cleaned values.
    for (const char *const *list : {XdgFolderVariables, XdgFolderListVariables}) {
        for (const char *const *name = list; *name; ++name) {
            if (!qEnvironmentVariableIsSet(*name))
                continue;
            const QString value = qEnvironmentVariable(*name);
            const QString usable = UsableXdgValue(value, list == XdgFolderListVariables);
            if (usable.isEmpty())
                qunsetenv(*name);
            else if (usable != value)
                qputenv(*name, usable.toLocal8Bit());
        }
    }
    // Notes of Qt and the engine only when the person asks for them.
    if (!StartupTracing() && !qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        g_loudMessages = qInstallMessageHandler(QuietMessages);
    // Taken before Qt sees the arguments: the whole text is an address, never an option.
    const QString commandLine = CommandLineText(argc, argv);
    const bool startMinimized = qEnvironmentVariable(StartMinimizedVariable) == QLatin1String("1");
    // Only this instance was asked to start minimized, not the ones it starts itself.
    qunsetenv(StartMinimizedVariable);

    engine->PrepareApplication();
    // Qt and its web engine take their own switches (-reverse, -style, --webEngineArgs, ...)
    // from the arguments they are given. A file name or a handed-over address must never act
    // as one, so they are given the program's name alone.
    char programName[] = "QuorBrowser";
    int qtArgc = 1;
    char *qtArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};
    QApplication app(qtArgc, qtArgv);
    engine->ApplicationMade();
    QApplication::setApplicationName(QStringLiteral("QuorBrowser"));
    QApplication::setApplicationVersion(version);
    QApplication::setStyle(new ProgramStyle);
    // Closing the main window ends the process, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    TraceStartup("application made");

    const std::unique_ptr<ViewDialogs> viewDialogs = engine->MakeViewDialogs();
    QtUserDialogs dialogs;
    ProcessInstanceStarter starter;
    PlatformServices platform(dialogs);
    WebEngine::ViewOptions viewOptions;
    viewOptions.searchPage = qEnvironmentVariable("QUORBROWSER_SEARCH_PAGE");
    WebView *view = engine->MakeView(viewDialogs.get(), viewOptions);
    TraceStartup("web view made");

    BrowserEnvironment env;
    env.view = view;
    env.appFolder = ApplicationFolder();
    env.commandLine = commandLine;
    env.starter = &starter;
    env.dialogs = &dialogs;
    env.makeSplash = [] {
        auto *splash = new frmSplash;
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->cmdOK->show();
        return splash;
    };
    env.supportPage = QStringLiteral(QUORBROWSER_SUPPORT_PAGE);
    env.homeSite = QStringLiteral(QUORBROWSER_HOME_SITE);
    env.supportMail = QStringLiteral(QUORBROWSER_SUPPORT_MAIL);
    env.sockets = &platform.Sockets();
    env.associations = &platform.Associations();
    env.associationProgram = QCoreApplication::applicationFilePath();
    env.sysInfo = &platform.SysInfo();
    env.nativeWindows = &platform.Windows();
    const EngineVersion engineVersion = engine->Version();
    env.engineVersion = EngineVersionLine(engineVersion);

    frmBrowser *window = Main(env, startMinimized);
    TraceStartup("main window shown");
    TellOldEngine(window, env.appFolder, engineVersion, QDate::currentDate());
    QMetaObject::invokeMethod(
        &app,
        [] {
            TraceStartup("event loop running");
            // The same picture as the installed desktop entry's icon (packaging/), so the
            // window, the menu and the task bar agree; drawn here, so a copy that is not
            // installed has it too. Six sizes: drawn once the first page is on its way.
            QApplication::setWindowIcon(ProgramIcon());
        },
        Qt::QueuedConnection);
    QObject::connect(window, &frmBrowser::Unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, window,
                     &frmBrowser::CloseWithoutAsking);
    const int rc = QApplication::exec();
    delete window; // with its view and the windows the view opened
    engine->Release();
    return rc;
}
