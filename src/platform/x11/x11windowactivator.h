#pragma once

#include "capture/windowactivator.h"

// Asks the window manager to activate a window, as a task bar or pager would.
class X11WindowActivator final : public WindowActivator
{
public:
    void activate(quint64 windowID) override;
};
