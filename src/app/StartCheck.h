#pragma once

#include "webview/EngineVersion.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What the program is started with, as far as the start needs to know before Qt starts.
struct StartEnvironment
{
    QString display; // DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString platform; // QT_QPA_PLATFORM
    bool sandboxVariableSet = false; // QTWEBENGINE_DISABLE_SANDBOX, whatever its value
    bool root = false; // the effective user is root
};

struct StartDecision
{
    enum Action {
        Run, // the browser, with the command line as its address
        PrintUsage,
        PrintVersion,
        NoDisplay, // no desktop to show a window on: say so and end
    };
    Action action = Run;
    // The engine refuses to start as root with its page sandbox on: off, and said so.
    bool sandboxOff = false;
};

// args: the command line after the program's name. Only "--help", "-h" and "--version" alone
// are options; any other command line is an address or a file, whatever it looks like.
StartDecision DecideStart(const QStringList &args, const StartEnvironment &env);

// What --help and --version print, and what is said when the start cannot go on. --version
// names the engine too, on a line of its own: which engine, and how recent its security fixes
// are, is what a person needs to judge a browser's safety.
QString UsageText(const QString &version);
QString VersionText(const QString &version, const EngineVersion &engine);
extern const char NoDisplayText[];
extern const char RootSandboxText[];

// Whether a message of Qt or the engine is only a note, kept off standard error unless the
// person asks for notes: debug and info messages, and the warnings every start on some machines
// gives (no runtime folder or one others may read, no hardware drawing). Other warnings and all
// errors are real.
bool IsQuietNote(QtMsgType type, const QString &text);

// The XDG base folder variables; a relative path in them is to be ignored, as if unset.
extern const char *const XdgFolderVariables[];
extern const char *const XdgFolderListVariables[];
// The value to use for such a variable: value itself, the absolute entries of a list (list
// true, ':' between entries), or empty when nothing is left (the variable is to be unset).
QString UsableXdgValue(const QString &value, bool list);
