#include "x11windowmanagerhints.h"

#include "x11display.h"

#include <QByteArray>
#include <cstdlib>
#include <xcb/shape.h>

namespace
{

constexpr uint32_t allDesktops = 0xFFFFFFFF;

// The screen number of Qt's connection: the manager owns the selection of that screen.
int screenNumber()
{
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    const qsizetype colon = display.lastIndexOf(':');
    return dot > colon ? display.mid(dot + 1).toInt() : 0;
}

} // namespace

bool X11WindowManagerHints::hasCompositingManager()
{
    xcb_connection_t *connection = X11Display::connection();
    if (!connection)
        return false;
    const xcb_atom_t selection =
        X11Display::internAtom(connection, "_NET_WM_CM_S" + QByteArray::number(screenNumber()));
    if (selection == XCB_NONE)
        return false;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    if (!reply)
        return false;
    const bool owned = reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

void X11WindowManagerHints::showOnAllDesktops(quint64 windowID)
{
    xcb_connection_t *connection = X11Display::connection();
    if (!connection || windowID == 0)
        return;
    const xcb_atom_t desktop = X11Display::internAtom(connection, "_NET_WM_DESKTOP");
    if (desktop == XCB_NONE)
        return;
    // A mapped window asks the manager; an unmapped one carries the property into mapping.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(windowID), desktop,
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(windowID);
    message.type = desktop;
    message.data.data32[0] = allDesktops;
    message.data.data32[1] = 2;
    xcb_send_event(connection, 0, X11Display::rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}

void X11WindowManagerHints::setInputRegion(quint64 windowID, const QRect &area)
{
    xcb_connection_t *connection = X11Display::connection();
    if (!connection || windowID == 0)
        return;
    const xcb_query_extension_reply_t *shape = xcb_get_extension_data(connection, &xcb_shape_id);
    if (!shape || !shape->present)
        return;
    const xcb_rectangle_t rectangle{int16_t(area.x()), int16_t(area.y()), uint16_t(area.width()),
                                    uint16_t(area.height())};
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                         XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(windowID), 0, 0, 1, &rectangle);
    xcb_flush(connection);
}
