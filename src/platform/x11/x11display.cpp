#include "x11display.h"

#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/keysym.h>

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

uint16_t X11Display::numLockMask()
{
    Display *d = display();
    if (!d)
        return 0;
    const KeyCode numLock = XKeysymToKeycode(d, XK_Num_Lock);
    XModifierKeymap *map = XGetModifierMapping(d);
    if (!map)
        return 0;
    uint16_t mask = 0;
    for (int modifier = 0; modifier < 8 && numLock != 0; ++modifier) {
        for (int i = 0; i < map->max_keypermod; ++i) {
            if (map->modifiermap[modifier * map->max_keypermod + i] == numLock)
                mask = uint16_t(1u << modifier);
        }
    }
    XFreeModifiermap(map);
    return mask;
}
