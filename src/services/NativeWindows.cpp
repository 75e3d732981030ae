#include "services/NativeWindows.h"

#include <QGuiApplication>

#if QUORBROWSER_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>
#endif

bool PlatformNativeWindows::Exists(const QWindow *window)
{
    if (!window || !window->handle())
        return false;
#if QUORBROWSER_HAVE_XCB
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return true;
    xcb_connection_t *connection = x11->connection();
    xcb_generic_error_t *error = nullptr;
    xcb_get_window_attributes_reply_t *reply = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, xcb_window_t(window->winId())), &error);
    const bool exists = reply != nullptr;
    std::free(reply);
    std::free(error);
    return exists;
#else
    return true;
#endif
}
