#pragma once

#include <QProcess>
#include <QStringList>

#include <signal.h>
#include <sys/types.h>

// A built or installed QuorBrowser a test starts as the desktop would, and ends again however
// the test goes.
struct ProgramProcess
{
    QProcess process;
    // Put before the test's own arguments on every start (a command that runs the program).
    QStringList leadingArguments;

    ProgramProcess() = default;
    ProgramProcess(const ProgramProcess &) = delete;
    ProgramProcess &operator=(const ProgramProcess &) = delete;
    ~ProgramProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    bool start(const QStringList &args = {})
    {
        process.setArguments(leadingArguments + args);
        process.start();
        return process.waitForStarted(10000);
    }
    // The way the desktop asks a program to end: the window closes as if the person closed it,
    // and the settings are saved.
    bool terminate()
    {
        ::kill(pid_t(process.processId()), SIGTERM);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }
};
