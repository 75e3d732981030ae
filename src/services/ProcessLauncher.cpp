#include "services/ProcessLauncher.h"

#include <QProcess>
#include <QProcessEnvironment>

bool DetachedProcessLauncher::Launch(const QString &program, const QStringList &arguments,
                                     WindowStyle style)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Only the program started here is asked to start minimized, never the ones it starts.
    env.remove(QString::fromLatin1(StartMinimizedVariable));
    if (style == WindowStyle::MinimizedWithFocus)
        env.insert(QString::fromLatin1(StartMinimizedVariable), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    return process.startDetached(&m_lastPid);
}
