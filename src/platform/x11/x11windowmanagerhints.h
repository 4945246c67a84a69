#pragma once

#include "capture/windowmanagerhints.h"

// The compositing manager's selection and the extended window manager hints of the desktop.
class X11WindowManagerHints final : public WindowManagerHints
{
public:
    bool hasCompositingManager() override;
    void showOnAllDesktops(quint64 windowID) override;
    void setInputRegion(quint64 windowID, const QRect &area) override;
};
