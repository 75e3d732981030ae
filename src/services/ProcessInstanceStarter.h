#pragma once

#include "services/InstanceStarter.h"
#include "services/ProcessLauncher.h"

// Another instance: this program's own executable (or the one given), no command line, its
// window minimized with the focus.
class ProcessInstanceStarter : public InstanceStarter
{
public:
    // program: the executable to start; empty: this process's own.
    explicit ProcessInstanceStarter(const QString &program = QString())
        : m_program(program)
    { }
    bool StartInstance() override;
    // The process started last; 0 before any.
    qint64 LastProcessId() const { return m_launcher.LastProcessId(); }

private:
    QString m_program;
    DetachedProcessLauncher m_launcher;
};
