#pragma once

#include <QWindow>

// Whether the window system still has a window of the program's. Another program can destroy
// a window from outside (on X11 any client may), and the toolkit does not report that.
class NativeWindows
{
public:
    virtual ~NativeWindows() = default;
    virtual bool Exists(const QWindow *window) = 0;
};

// The running window system's answer: on X11 the server is asked; elsewhere a window the
// toolkit holds is taken to exist.
class PlatformNativeWindows : public NativeWindows
{
public:
    bool Exists(const QWindow *window) override;
};
