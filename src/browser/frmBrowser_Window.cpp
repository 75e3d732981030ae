// The window itself: its stored state and geometry, the frame the window manager gives it, and
// lengths in twips.

#include "browser/frmBrowser.h"

#include "browser/Layout.h"
#include "forms/DesignedForm.h"
#include "services/NativeWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

double frmBrowser::TwipsPerPixelX() const
{
    return ::TwipsPerPixelX(this);
}

double frmBrowser::TwipsPerPixelY() const
{
    return ::TwipsPerPixelY(this);
}

int frmBrowser::PixelsX(double twips) const
{
    return PixelsForTwips(twips, TwipsPerPixelX());
}

int frmBrowser::PixelsY(double twips) const
{
    return PixelsForTwips(twips, TwipsPerPixelY());
}

void frmBrowser::ApplyWindowSettings()
{
    switch (settings.WindowState) {
    case 1: // minimized: the window opens normal; a start that shows nothing seems to fail
    case 0: {
        setWindowState(Qt::WindowNoState);
        const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect desktop = s ? s->availableVirtualGeometry() : QRect(0, 0, 1024, 768);
        // A record without a size (the first start) gets a comfortable window in the middle of
        // the screen rather than one shrunk to nothing.
        if (!(settings.WindowWidth > 0 && settings.WindowHeight > 0)) {
            if (s) {
                const QRect avail = s->availableGeometry();
                const QSize comfortable
                    = size().expandedTo(avail.size() * 0.7).boundedTo(avail.size());
                resize(comfortable);
                move(avail.center() - QPoint(comfortable.width() / 2, comfortable.height() / 2));
            }
            break;
        }
        // The stored size is the outer one. Until the window manager has framed the window its
        // frame is unknown, so the size is set whole now and corrected once the frame is known.
        // A size beyond the whole desktop is no size a person chose.
        m_outerSize
            = QSize(PixelsForTwips(settings.WindowWidth, TwipsPerPixelX(), 1, desktop.width()),
                    PixelsForTwips(settings.WindowHeight, TwipsPerPixelY(), 1, desktop.height()));
        ApplyOuterSize();
        // X11 keeps coordinates in 16 bits.
        move(PixelsForTwips(settings.WindowLeft, TwipsPerPixelX(), -32768, 32767),
             PixelsForTwips(settings.WindowTop, TwipsPerPixelY(), -32768, 32767));
        break;
    }
    case 2:
        setWindowState(Qt::WindowMaximized);
        break;
    default:
        break; // not a state: left as it is
    }
}

void frmBrowser::ApplyOuterSize()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(qMax(1, m_outerSize.width() - frame.left() - frame.right()),
           qMax(1, m_outerSize.height() - frame.top() - frame.bottom()));
}

void frmBrowser::NativeWindowMayBeGone()
{
    // Destroyed from outside (another X client may do that): the window is closed as a person
    // closes it, so the settings are saved and the process ends.
    // While the window is not on the screen (minimized, or gone) that is asked now and then:
    // a window destroyed while minimized tells nothing more.
    const bool hidden
        = !m_unloaded && isVisible() && windowHandle() && !windowHandle()->isExposed();
    if (!hidden) {
        m_nativeCheck.stop();
        return;
    }
    // Without a window system to ask, the window the toolkit holds is taken to exist.
    if (m_env.nativeWindows && !m_env.nativeWindows->Exists(windowHandle())) {
        m_nativeCheck.stop();
        CloseWithoutAsking();
        return;
    }
    if (!m_nativeCheck.isActive()) {
        m_nativeCheck.setInterval(2000);
        connect(&m_nativeCheck, &QTimer::timeout, this, &frmBrowser::NativeWindowMayBeGone,
                Qt::UniqueConnection);
        m_nativeCheck.start();
    }
}

void frmBrowser::KeepNativeWindowState()
{
    // The web view replaces the window's native window when it first shows something, before
    // or after the window is shown; the new one starts in the normal state. The state the
    // window was given (maximized, minimized) must reach the window manager all the same.
    QWindow *native = windowHandle();
    // Its exposure tells when it may have gone.
    if (native)
        native->installEventFilter(this);
    const Qt::WindowStates wanted = windowState() & ~Qt::WindowActive;
    if (native && native->windowStates() != wanted)
        native->setWindowStates(wanted);
}

bool frmBrowser::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WinIdChange:
        KeepNativeWindowState();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        FrameMayHaveChanged();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void frmBrowser::FrameMayHaveChanged()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame == m_frame)
        return;
    m_frame = frame;
    // The stored outer size, now that the frame is known.
    if (m_outerSize.isValid() && !frame.isNull()) {
        if (windowState() == Qt::WindowNoState)
            ApplyOuterSize();
        m_outerSize = QSize();
    }
    // The minimum width and the right-hand places count the frame.
    if (m_built)
        Form_Resize();
}

void frmBrowser::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    KeepNativeWindowState();
}
