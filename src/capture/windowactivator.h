#pragma once

#include <QtGlobal>

// Brings another program's window to the front and gives it the keyboard focus.
class WindowActivator
{
public:
    virtual ~WindowActivator() = default;

    virtual void activate(quint64 windowID) = 0;
};
