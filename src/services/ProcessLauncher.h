#pragma once

#include <QString>
#include <QStringList>

// Starts another program and does not wait for it.
class ProcessLauncher
{
public:
    enum class WindowStyle {
        Normal,
        MinimizedWithFocus, // the new window starts minimized
    };
    virtual ~ProcessLauncher() = default;
    // False when the program could not be started.
    virtual bool Launch(const QString &program, const QStringList &arguments, WindowStyle style)
        = 0;
};

// The environment variable through which a started QuorBrowser learns that it is to start
// minimized; its command line stays free for the address.
inline const char *const StartMinimizedVariable = "QUORBROWSER_START_MINIMIZED";

// Starts real processes, detached from this one.
class DetachedProcessLauncher : public ProcessLauncher
{
public:
    bool Launch(const QString &program, const QStringList &arguments, WindowStyle style) override;
    // The process started last; 0 before any.
    qint64 LastProcessId() const { return m_lastPid; }

private:
    qint64 m_lastPid = 0;
};
