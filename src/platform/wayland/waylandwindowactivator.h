#pragma once

#include "capture/windowactivator.h"

class ForeignToplevels;

// Brings back a window of a Wayland session: Wayland windows through the foreign-toplevel
// protocol, XWayland windows through X11. Remembers which kind it brought back last, since the
// keys for a paste go different ways to each.
class WaylandWindowActivator final : public WindowActivator
{
public:
    enum class Target { None, X11, Wayland };

    // Either may be null.
    WaylandWindowActivator(ForeignToplevels *toplevels, WindowActivator *xwayland);

    void activate(quint64 windowID) override;
    Target lastTarget() const { return m_lastTarget; }

private:
    ForeignToplevels *m_toplevels;
    WindowActivator *m_xwayland;
    Target m_lastTarget = Target::None;
};
