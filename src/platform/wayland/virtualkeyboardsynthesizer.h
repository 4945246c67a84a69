#pragma once

#include "capture/keysynthesizer.h"

#include <QElapsedTimer>
#include <QObject>
#include <cstdint>
#include <memory>

class WaylandConnection;
struct zwp_virtual_keyboard_v1;

// The paste chord through a virtual keyboard of the compositor's (wlroots compositors offer
// one). The compositor drops keys that come too soon after the keymap, so the chord waits
// until the keymap has settled.
class VirtualKeyboardSynthesizer final : public QObject, public KeySynthesizer
{
    Q_OBJECT

public:
    // Nothing when the compositor offers no virtual keyboard or no keymap could be made.
    static std::unique_ptr<VirtualKeyboardSynthesizer> create(WaylandConnection &connection);
    ~VirtualKeyboardSynthesizer() override;

    bool isTrusted() const override { return true; }
    void postPasteShortcut() override;

private:
    VirtualKeyboardSynthesizer(WaylandConnection &connection, zwp_virtual_keyboard_v1 *keyboard,
                               uint32_t controlMask);
    void sendChord();

    WaylandConnection &m_connection;
    zwp_virtual_keyboard_v1 *m_keyboard;
    uint32_t m_controlMask;
    QElapsedTimer m_sinceKeymap;
};
