#include "Version.h"
#include "app/Module1.h"
#include "app/ProgramIcon.h"
#include "app/ProgramStyle.h"
#include "app/TerminationSignals.h"
#include "app/frmSplash.h"
#include "services/ProcessInstanceStarter.h"
#include "services/SystemInformation.h"
#include "services/UserDialogs.h"
#include "settings/AppFolder.h"
#include "settings/StartupTrace.h"
#include "webview/QtViewDialogs.h"
#include "webview/QtWebView.h"

#include <QApplication>
#include <QPushButton>

#ifdef Q_OS_WIN
#include "services/RegistryAssociations.h"
#include "services/win/WinRegistry.h"
#include "services/win/WinsockLayer.h"
#else
#include "services/PosixSocketLayer.h"
#include "services/XdgAssociations.h"
#endif

int main(int argc, char **argv)
{
    TraceStartup("main");
    // Taken before Qt sees the arguments: the whole text is an address, never an option.
    const QString commandLine = CommandLineText(argc, argv);
    const bool startMinimized = qEnvironmentVariable(StartMinimizedVariable) == QLatin1String("1");
    // Only this instance was asked to start minimized, not the ones it starts itself.
    qunsetenv(StartMinimizedVariable);

    QtWebView::PrepareApplication();
    // Qt and its web engine take their own switches (-reverse, -style, --webEngineArgs, ...)
    // from the arguments they are given. A file name or a handed-over address must never act
    // as one, so they are given the program's name alone.
    char programName[] = "QuorBrowser";
    int qtArgc = 1;
    char *qtArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};
    QApplication app(qtArgc, qtArgv);
    QtWebView::ApplicationMade();
    QApplication::setApplicationName(QStringLiteral("QuorBrowser"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(QUORBROWSER_VERSION_MAJOR)
                                            .arg(QUORBROWSER_VERSION_MINOR)
                                            .arg(QUORBROWSER_VERSION_PATCH));
    QApplication::setStyle(new ProgramStyle);
    // Closing the main window ends the process, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    TraceStartup("application made");

    QtViewDialogs viewDialogs;
    QtUserDialogs dialogs;
    ProcessInstanceStarter starter;
    DetachedProcessLauncher launcher;
#ifdef Q_OS_WIN
    // The shell reads the file associations from the registry, which also names the system
    // information tool.
    win::WinRegistry registry;
    win::WinsockLayer sockets;
    RegistryAssociations associations(registry);
    RegistrySystemInformation sysInfo(registry, launcher, dialogs);
#else
    PosixSocketLayer sockets;
    XdgAssociations associations(launcher, XdgAssociations::DataHome(),
                                 XdgAssociations::ConfigHome());
    PathSystemInformation sysInfo(launcher, dialogs);
#endif
    auto *view = new QtWebView(&viewDialogs);
    TraceStartup("web view made");
    const QString searchPage = qEnvironmentVariable("QUORBROWSER_SEARCH_PAGE");
    if (!searchPage.isEmpty())
        view->SetSearchPage(searchPage);

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
    env.sockets = &sockets;
    env.associations = &associations;
    env.associationProgram = QCoreApplication::applicationFilePath();
    env.sysInfo = &sysInfo;

    frmBrowser *window = Main(env, startMinimized);
    TraceStartup("main window shown");
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
                     &QWidget::close);
    const int rc = QApplication::exec();
    delete window;
    return rc;
}
