#pragma once

#include "browser/InstanceStarter.h"

#include <QString>

// The environment variable through which an instance asks the next one to start minimized; the
// command line stays free for the address.
inline const char *const StartMinimizedVariable = "QUORBROWSER_START_MINIMIZED";

class ProcessInstanceStarter : public InstanceStarter
{
public:
    // program: the executable to start; empty: this process's own.
    explicit ProcessInstanceStarter(const QString &program = QString())
        : m_program(program)
    { }
    bool StartInstance() override;
    // The process started last; 0 before any.
    qint64 LastProcessId() const { return m_lastPid; }

private:
    QString m_program;
    qint64 m_lastPid = 0;
};
