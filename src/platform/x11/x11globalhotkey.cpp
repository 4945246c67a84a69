#include "x11globalhotkey.h"

#include "x11display.h"

#include <QCoreApplication>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <cstdlib>
#include <vector>

namespace
{

constexpr uint16_t chordMask = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr uint8_t badAccess = 10;

} // namespace

X11GlobalHotKey::~X11GlobalHotKey()
{
    if (m_connection && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

GlobalHotKey::Registration X11GlobalHotKey::registerHotKey(std::function<void()> pressed)
{
    Display *display = X11Display::display();
    xcb_connection_t *connection = X11Display::connection();
    if (!display || !connection)
        return Registration::Unavailable;

    m_keycode = XKeysymToKeycode(display, XK_v);
    if (m_keycode == 0)
        return Registration::Unavailable;
    m_connection = connection;
    m_root = X11Display::rootWindow();
    m_pressed = std::move(pressed);

    // A passive grab matches the modifier state exactly, so Caps Lock and Num Lock, which are
    // modifiers to X, need a grab of their own.
    std::vector<uint16_t> locks{0, XCB_MOD_MASK_LOCK};
    if (const uint16_t numLock = X11Display::numLockMask())
        locks.insert(locks.end(), {numLock, uint16_t(numLock | XCB_MOD_MASK_LOCK)});
    bool taken = false;
    for (const uint16_t lock : locks) {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(connection, 1, m_root, chordMask | lock, m_keycode,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t *error = xcb_request_check(connection, cookie)) {
            taken = taken || error->error_code == badAccess;
            std::free(error);
        }
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return taken ? Registration::Taken : Registration::Registered;
}

bool X11GlobalHotKey::isOurKey(const xcb_key_press_event_t &event) const
{
    return event.detail == m_keycode && event.event == m_root;
}

bool X11GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release events share one layout.
    const auto &key = *reinterpret_cast<const xcb_key_press_event_t *>(event);
    if (!isOurKey(key))
        return false;

    if (type == XCB_KEY_RELEASE) {
        m_held = false;
        m_lastReleaseTime = key.time;
        return true;
    }
    // A held key repeats either as further presses or, without detectable auto-repeat, as
    // release and press pairs with one time stamp: neither is a new press.
    const bool repeat = m_held || (m_lastReleaseTime != 0 && key.time == m_lastReleaseTime);
    m_held = true;
    if (!repeat && m_pressed)
        m_pressed();
    return true;
}
