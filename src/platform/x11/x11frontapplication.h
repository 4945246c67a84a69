#pragma once

#include "capture/frontapplication.h"
#include "platform/linux/desktopentryindex.h"

#include <QByteArray>

typedef struct _XDisplay Display;

// The application of the active window on an X11 desktop: _NET_ACTIVE_WINDOW (else the input
// focus), its process from _NET_WM_PID (else the X-Resource extension), and its name and id
// from the .desktop entry that matches WM_CLASS (else the WM_CLASS class name, no id). Our own
// windows count only while they are on screen.
class X11FrontApplication final : public FrontApplication
{
public:
    // Opens a connection of its own to the display (null: $DISPLAY).
    explicit X11FrontApplication(
        const QByteArray &displayName = {},
        DesktopEntryIndex entries = DesktopEntryIndex(DesktopEntryIndex::defaultFolders()));
    ~X11FrontApplication() override;
    X11FrontApplication(const X11FrontApplication &) = delete;
    X11FrontApplication &operator=(const X11FrontApplication &) = delete;

    // Nothing when no display could be opened or no window is active.
    std::optional<RunningApplication> frontmostApplication() override;

private:
    unsigned long activeWindow();
    qint64 processOf(unsigned long window);
    bool isViewable(unsigned long window);

    Display *m_display = nullptr;
    DesktopEntryIndex m_entries;
};
