#include "waylandkeysynthesizer.h"

#include "waylandwindowactivator.h"

WaylandKeySynthesizer::WaylandKeySynthesizer(const WaylandWindowActivator &activator,
                                             KeySynthesizer *xwayland, KeySynthesizer *wayland)
    : m_activator(activator), m_xwayland(xwayland), m_wayland(wayland)
{
}

KeySynthesizer *WaylandKeySynthesizer::current() const
{
    switch (m_activator.lastTarget()) {
    case WaylandWindowActivator::Target::X11:
        return m_xwayland;
    case WaylandWindowActivator::Target::Wayland:
        return m_wayland;
    case WaylandWindowActivator::Target::None:
        break;
    }
    return nullptr;
}

bool WaylandKeySynthesizer::isTrusted() const
{
    const KeySynthesizer *keys = current();
    return keys && keys->isTrusted();
}

void WaylandKeySynthesizer::postPasteShortcut()
{
    if (KeySynthesizer *keys = current(); keys && keys->isTrusted())
        keys->postPasteShortcut();
}
