#include "waylandfrontapplication.h"

#include "foreigntoplevels.h"

#include <QCoreApplication>
#include <QGuiApplication>

WaylandFrontApplication::WaylandFrontApplication(ForeignToplevels *toplevels,
                                                 FrontApplication *xwayland,
                                                 DesktopEntryIndex entries)
    : m_toplevels(toplevels), m_xwayland(xwayland), m_entries(std::move(entries))
{
}

std::optional<RunningApplication> WaylandFrontApplication::frontmostApplication()
{
    // XWayland names no active window while a Wayland window has the focus.
    if (m_xwayland) {
        if (std::optional<RunningApplication> x11 = m_xwayland->frontmostApplication())
            return x11;
    }
    if (!m_toplevels)
        return std::nullopt;
    const std::optional<ForeignToplevels::Toplevel> toplevel = m_toplevels->activated();
    if (!toplevel)
        return std::nullopt;
    RunningApplication app{.windowId = toplevelBit | toplevel->number};
    // Our own windows, when the program itself runs on Wayland.
    if (toplevel->appId == QGuiApplication::desktopFileName())
        app.processId = QCoreApplication::applicationPid();
    if (const std::optional<DesktopEntryIndex::Entry> entry =
            m_entries.find(toplevel->appId, toplevel->appId)) {
        app.localizedName = entry->name;
        app.bundleIdentifier = entry->id;
    } else {
        app.localizedName = toplevel->appId;
    }
    return app;
}
