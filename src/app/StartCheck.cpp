#include "app/StartCheck.h"

const char NoDisplayText[] = "QuorBrowser needs a graphical desktop: no display found\n";
const char RootSandboxText[]
    = "running as root: the page sandbox is off; run QuorBrowser as a normal user to keep it\n";

StartDecision DecideStart(const QStringList &args, const StartEnvironment &env)
{
    StartDecision d;
    if (args.size() == 1) {
        if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
            d.action = StartDecision::PrintUsage;
            return d;
        }
        if (args.first() == QLatin1String("--version")) {
            d.action = StartDecision::PrintVersion;
            return d;
        }
    }
    // A platform named outright (offscreen, vnc, a display of its own) needs no desktop's word.
    if (env.display.isEmpty() && env.waylandDisplay.isEmpty() && env.platform.isEmpty()) {
        d.action = StartDecision::NoDisplay;
        return d;
    }
    d.sandboxOff = env.root && !env.sandboxVariableSet;
    return d;
}

namespace {

QString ProgramLine(const QString &version)
{
    return QStringLiteral("QuorBrowser %1\n").arg(version);
}

} // namespace

QString VersionText(const QString &version, const EngineVersion &engine)
{
    return ProgramLine(version) + EngineVersionLine(engine) + QLatin1Char('\n');
}

QString UsageText(const QString &version)
{
    return ProgramLine(version) + QStringLiteral(R"(
Usage: quorbrowser [ADDRESS | FILE]
       quorbrowser --help | --version

The whole command line is one address or file to open, blanks included: a web address, a host
name, a local file (QuorBrowser "/home/me/My Pages/index.html") or words to search for. Without
one, QuorBrowser opens a page another window handed over, else its Start Up page.

Files: settings, home pages and favorites are small text files in the application folder: the
program's own folder where it can be written, else $XDG_DATA_HOME/QuorBrowser; cookies and site
data are kept in $XDG_DATA_HOME/QuorBrowser/Profile.

Environment:
  QUORBROWSER_HOME           the application folder, outright
  QUORBROWSER_SEARCH_PAGE    the search page; %s stands for the words searched for
  QUORBROWSER_SCENE_GRAPH    software or hardware: how pages are drawn
  QUORBROWSER_STARTUP_TRACE  1: each step of the start, and the engine's notes, on standard error
)");
}

bool IsQuietNote(QtMsgType type, const QString &text)
{
    switch (type) {
    case QtDebugMsg:
    case QtInfoMsg:
        return true;
    case QtWarningMsg:
        break;
    case QtCriticalMsg:
    case QtFatalMsg:
        return false;
    }
    static const char *const notes[] = {
        "QStandardPaths: XDG_RUNTIME_DIR not set",
        "QStandardPaths: wrong permissions on runtime directory",
        "No suitable graphics backend found",
        "This plugin does not support propagateSizeHints()",
        // What later engines say as they look for a GPU and find none: the page is drawn
        // without one all the same.
        "Unable to detect GPU vendor.",
        "QRhiGles2: Failed to create temporary context",
        "QRhiGles2: Failed to create context",
        "This plugin does not support createPlatformVulkanInstance",
        "QVulkanInstance: Failed to initialize Vulkan",
        "Failed to create Vulkan instance",
        "QXcbIntegration: Cannot create platform OpenGL context",
        "QXcbIntegration: Cannot create platform offscreen surface",
        "Failed to create platform Vulkan instance",
    };
    for (const char *note : notes)
        if (text.startsWith(QLatin1String(note)))
            return true;
    return false;
}

const char *const XdgFolderVariables[] = {"XDG_DATA_HOME",  "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                                          "XDG_STATE_HOME", "XDG_RUNTIME_DIR", nullptr};
const char *const XdgFolderListVariables[] = {"XDG_DATA_DIRS", "XDG_CONFIG_DIRS", nullptr};

QString UsableXdgValue(const QString &value, bool list)
{
    if (!list)
        return value.startsWith(QLatin1Char('/')) ? value : QString();
    QStringList kept;
    for (const QString &entry : value.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (entry.startsWith(QLatin1Char('/')))
            kept << entry;
    return kept.join(QLatin1Char(':'));
}
