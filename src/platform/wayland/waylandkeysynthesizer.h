#pragma once

#include "capture/keysynthesizer.h"

class WaylandWindowActivator;

// The paste chord on a Wayland session, sent the way that reaches the window brought back
// last: XTest for an XWayland window, a virtual keyboard for a Wayland window. Untrusted when
// that way is missing, so that the clipping is left on the clipboard for the user to paste.
class WaylandKeySynthesizer final : public KeySynthesizer
{
public:
    // Either synthesizer may be null.
    WaylandKeySynthesizer(const WaylandWindowActivator &activator, KeySynthesizer *xwayland,
                          KeySynthesizer *wayland);

    bool isTrusted() const override;
    void postPasteShortcut() override;

private:
    KeySynthesizer *current() const;

    const WaylandWindowActivator &m_activator;
    KeySynthesizer *m_xwayland;
    KeySynthesizer *m_wayland;
};
