#pragma once

#include "keyboard/globalhotkey.h"

#include <QAbstractNativeEventFilter>
#include <xcb/xcb.h>

// Ctrl+Alt+V grabbed on the root window of Qt's own X11 connection; the presses are picked out
// of Qt's event stream.
class X11GlobalHotKey final : public GlobalHotKey, public QAbstractNativeEventFilter
{
public:
    X11GlobalHotKey() = default;
    ~X11GlobalHotKey() override;

    Registration registerHotKey(std::function<void()> pressed) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    bool isOurKey(const xcb_key_press_event_t &event) const;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_keycode_t m_keycode = 0;
    std::function<void()> m_pressed;
    bool m_held = false;
    xcb_timestamp_t m_lastReleaseTime = 0;
};
