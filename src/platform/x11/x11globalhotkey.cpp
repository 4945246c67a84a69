#include "x11globalhotkey.h"

#include "x11display.h"

#include <QCoreApplication>
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb_keysyms.h>

namespace
{

constexpr uint16_t chordMask = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr uint8_t badAccess = 10;

// The first key code that types the symbol, or 0.
xcb_keycode_t keycodeOf(xcb_key_symbols_t *symbols, xcb_keysym_t symbol)
{
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, symbol);
    const xcb_keycode_t code = codes ? codes[0] : 0;
    std::free(codes);
    return code == XCB_NO_SYMBOL ? 0 : code;
}

uint8_t firstEventOf(xcb_connection_t *connection, const char *name)
{
    xcb_query_extension_reply_t *reply = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, uint16_t(std::strlen(name)), name), nullptr);
    const uint8_t first = reply && reply->present ? reply->first_event : 0;
    std::free(reply);
    return first;
}

} // namespace

X11GlobalHotKey::X11GlobalHotKey()
{
    m_mappingChanged.setSingleShot(true);
    m_mappingChanged.setInterval(0);
    QObject::connect(&m_mappingChanged, &QTimer::timeout, [this] { followMappingChange(); });
}

X11GlobalHotKey::~X11GlobalHotKey()
{
    if (!m_connection)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    ungrab();
    xcb_key_symbols_free(m_symbols);
}

GlobalHotKey::Registration X11GlobalHotKey::registerHotKey(std::function<void()> pressed)
{
    Display *display = X11Display::display();
    xcb_connection_t *connection = X11Display::connection();
    if (!display || !connection)
        return Registration::Unavailable;
    m_connection = connection;
    m_root = X11Display::rootWindow();
    m_symbols = xcb_key_symbols_alloc(connection);
    m_xkbEvent = firstEventOf(connection, "XKEYBOARD");
    m_pressed = std::move(pressed);

    // A held key then repeats as presses alone, not as release and press pairs, so a release
    // always means the key went up.
    XkbSetDetectableAutoRepeat(display, True, nullptr);
    const Registration registration = grab();
    QCoreApplication::instance()->installNativeEventFilter(this);
    return registration;
}

QString X11GlobalHotKey::route() const
{
    return m_connection ? QStringLiteral("an X11 key grab")
                        : QStringLiteral("without an X11 display, bind it to the command "
                                         "'quillstash --show-board' in the desktop's settings");
}

GlobalHotKey::Registration
X11GlobalHotKey::registrationFromGrabErrors(const std::vector<uint8_t> &errors)
{
    if (std::all_of(errors.begin(), errors.end(), [](uint8_t error) { return error == 0; }))
        return Registration::Registered;
    if (std::any_of(errors.begin(), errors.end(),
                    [](uint8_t error) { return error != 0 && error != badAccess; }))
        return Registration::Failed;
    return Registration::Taken;
}

uint16_t X11GlobalHotKey::numLockMask() const
{
    const xcb_keycode_t numLock = keycodeOf(m_symbols, XK_Num_Lock);
    xcb_get_modifier_mapping_reply_t *map = xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    if (!map || numLock == 0) {
        std::free(map);
        return 0;
    }
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(map);
    uint16_t mask = 0;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < map->keycodes_per_modifier; ++i) {
            if (codes[modifier * map->keycodes_per_modifier + i] == numLock)
                mask = uint16_t(1u << modifier);
        }
    }
    std::free(map);
    return mask;
}

GlobalHotKey::Registration X11GlobalHotKey::grab()
{
    m_keycode = keycodeOf(m_symbols, XK_v);
    if (m_keycode == 0)
        return Registration::Unavailable;
    // A passive grab matches the modifier state exactly, so Caps Lock and Num Lock, which are
    // modifiers to X, need a grab of their own.
    std::vector<uint16_t> locks{0, XCB_MOD_MASK_LOCK};
    if (const uint16_t numLock = numLockMask())
        locks.insert(locks.end(), {numLock, uint16_t(numLock | XCB_MOD_MASK_LOCK)});
    std::vector<xcb_void_cookie_t> cookies;
    for (const uint16_t lock : locks) {
        // Not owner_events: every event of the grabbed key comes to the root, also while one
        // of our windows has the focus.
        cookies.push_back(xcb_grab_key_checked(m_connection, 0, m_root, chordMask | lock, m_keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::vector<uint8_t> errors;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        xcb_generic_error_t *error = xcb_request_check(m_connection, cookies[i]);
        errors.push_back(error ? error->error_code : 0);
        if (!error)
            m_grabbed.push_back(chordMask | locks[i]);
        std::free(error);
    }
    const Registration registration = registrationFromGrabErrors(errors);
    // Half a chord would work or not depending on the lock keys.
    if (registration != Registration::Registered)
        ungrab();
    return registration;
}

void X11GlobalHotKey::ungrab()
{
    for (const uint16_t modifiers : m_grabbed)
        xcb_ungrab_key(m_connection, m_keycode, m_root, modifiers);
    m_grabbed.clear();
    xcb_flush(m_connection);
}

bool X11GlobalHotKey::isMappingChange(const xcb_generic_event_t &event) const
{
    const uint8_t type = event.response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY)
        return reinterpret_cast<const xcb_mapping_notify_event_t &>(event).request !=
               XCB_MAPPING_POINTER;
    // Clients that use XKB, as Qt does, hear of mapping changes through XKB's own events.
    return m_xkbEvent != 0 && type == m_xkbEvent &&
           (event.pad0 == XkbNewKeyboardNotify || event.pad0 == XkbMapNotify);
}

void X11GlobalHotKey::followMappingChange()
{
    const bool wasGrabbed = !m_grabbed.empty();
    ungrab();
    xcb_key_symbols_free(m_symbols);
    m_symbols = xcb_key_symbols_alloc(m_connection);
    m_held = false;
    if (wasGrabbed && grab() != Registration::Registered)
        qWarning("Quillstash: after a keyboard mapping change Ctrl+Alt+V could not be grabbed "
                 "again; the global hot key is not available.");
}

bool X11GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if (isMappingChange(*event)) {
        m_mappingChanged.start();
        return false;
    }
    const uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release events share one layout.
    const auto &key = *reinterpret_cast<const xcb_key_press_event_t *>(event);
    if (m_grabbed.empty() || key.detail != m_keycode)
        return false;
    const bool ours = key.event == m_root;
    if (type == XCB_KEY_RELEASE) {
        // Wherever it went: a release missed here would turn the next press into a repeat.
        m_held = false;
        return ours;
    }
    if (!ours)
        return false;
    if (!m_held && m_pressed)
        m_pressed();
    m_held = true;
    return true;
}
