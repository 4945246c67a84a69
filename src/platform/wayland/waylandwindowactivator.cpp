#include "waylandwindowactivator.h"

#include "foreigntoplevels.h"
#include "waylandfrontapplication.h"

WaylandWindowActivator::WaylandWindowActivator(ForeignToplevels *toplevels,
                                               WindowActivator *xwayland)
    : m_toplevels(toplevels), m_xwayland(xwayland)
{
}

void WaylandWindowActivator::activate(quint64 windowID)
{
    if (windowID & WaylandFrontApplication::toplevelBit) {
        const bool found =
            m_toplevels && m_toplevels->activate(windowID & ~WaylandFrontApplication::toplevelBit);
        m_lastTarget = found ? Target::Wayland : Target::None;
        return;
    }
    m_lastTarget = m_xwayland ? Target::X11 : Target::None;
    if (m_xwayland)
        m_xwayland->activate(windowID);
}
