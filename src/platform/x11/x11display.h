#pragma once

#include <cstdint>
#include <xcb/xcb.h>

typedef struct _XDisplay Display;

// Qt's own connection to the X server, shared by the X11 adapters. All null when the program
// does not run on X11.
class X11Display
{
public:
    static Display *display();
    static xcb_connection_t *connection();
    // The root window of the default screen.
    static xcb_window_t rootWindow();
    // The modifier bit that Num Lock sets (usually Mod2), or 0 when no key has Num Lock.
    static uint16_t numLockMask();
};
