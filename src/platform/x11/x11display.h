#pragma once

#include <QByteArray>
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
    // The atom of the name on the connection; XCB_NONE when the server does not answer.
    static xcb_atom_t internAtom(xcb_connection_t *connection, const QByteArray &name);
};
