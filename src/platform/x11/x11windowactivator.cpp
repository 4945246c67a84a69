#include "x11windowactivator.h"

#include "x11display.h"

namespace
{

// The source indication of a pager: window managers honour it without focus-stealing checks.
constexpr uint32_t pagerSource = 2;

} // namespace

void X11WindowActivator::activate(quint64 windowID)
{
    xcb_connection_t *connection = X11Display::connection();
    if (!connection || windowID == 0)
        return;
    const xcb_atom_t activeWindow = X11Display::internAtom(connection, "_NET_ACTIVE_WINDOW");
    if (activeWindow == XCB_NONE)
        return;

    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(windowID);
    message.type = activeWindow;
    message.data.data32[0] = pagerSource;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, X11Display::rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}
