#include "x11display.h"

#include <QGuiApplication>
#include <X11/Xlib.h>

namespace
{

QNativeInterface::QX11Application *x11Application()
{
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

} // namespace

Display *X11Display::display()
{
    QNativeInterface::QX11Application *x11 = x11Application();
    return x11 ? x11->display() : nullptr;
}

xcb_connection_t *X11Display::connection()
{
    QNativeInterface::QX11Application *x11 = x11Application();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t X11Display::rootWindow()
{
    Display *d = display();
    return d ? xcb_window_t(DefaultRootWindow(d)) : XCB_NONE;
}
