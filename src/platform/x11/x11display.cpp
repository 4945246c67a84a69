#include "x11display.h"

#include <QGuiApplication>
#include <X11/Xlib.h>
#include <cstdlib>

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

xcb_atom_t X11Display::internAtom(xcb_connection_t *connection, const QByteArray &name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData());
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

xcb_window_t X11Display::rootWindow()
{
    Display *d = display();
    return d ? xcb_window_t(DefaultRootWindow(d)) : XCB_NONE;
}
