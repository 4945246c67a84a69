#pragma once

#include "capture/frontapplication.h"
#include "platform/linux/desktopentryindex.h"

class ForeignToplevels;

// The application in front on a Wayland session: the X11 answer while an XWayland window has
// the focus, else the window the foreign-toplevel protocol reports as activated (its app id
// matched to a desktop entry), else none. Window ids of Wayland windows have the top bit set,
// which no X11 window id has.
class WaylandFrontApplication final : public FrontApplication
{
public:
    // Either may be null.
    WaylandFrontApplication(
        ForeignToplevels *toplevels, FrontApplication *xwayland,
        DesktopEntryIndex entries = DesktopEntryIndex(DesktopEntryIndex::defaultFolders()));

    std::optional<RunningApplication> frontmostApplication() override;

    static constexpr quint64 toplevelBit = quint64(1) << 63;

private:
    ForeignToplevels *m_toplevels;
    FrontApplication *m_xwayland;
    DesktopEntryIndex m_entries;
};
