#pragma once

#include "keyboard/globalhotkey.h"

#include <QAbstractNativeEventFilter>
#include <QTimer>
#include <cstdint>
#include <vector>
#include <xcb/xcb.h>

typedef struct _XCBKeySymbols xcb_key_symbols_t;

// Ctrl+Alt+V grabbed on the root window of Qt's own X11 connection; the presses are picked out
// of Qt's event stream. The grab follows the V key and Num Lock when the keyboard mapping
// changes.
class X11GlobalHotKey final : public GlobalHotKey, public QAbstractNativeEventFilter
{
public:
    X11GlobalHotKey();
    ~X11GlobalHotKey() override;
    X11GlobalHotKey(const X11GlobalHotKey &) = delete;
    X11GlobalHotKey &operator=(const X11GlobalHotKey &) = delete;

    Registration registerHotKey(std::function<void()> pressed) override;
    QString route() const override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // What the answers to the grabs of all variants amount to; each is 0 for a granted grab,
    // else the X error code.
    static Registration registrationFromGrabErrors(const std::vector<uint8_t> &errors);

private:
    Registration grab();
    void ungrab();
    bool isMappingChange(const xcb_generic_event_t &event) const;
    void followMappingChange();
    uint16_t numLockMask() const;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_key_symbols_t *m_symbols = nullptr;
    // The first event code of the XKB extension, 0 without it.
    uint8_t m_xkbEvent = 0;
    xcb_keycode_t m_keycode = 0;
    // The modifier masks grabbed with m_keycode.
    std::vector<uint16_t> m_grabbed;
    std::function<void()> m_pressed;
    bool m_held = false;
    // One change of the mapping arrives as a burst of events: the grab follows once.
    QTimer m_mappingChanged;
};
