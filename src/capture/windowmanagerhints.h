#pragma once

#include <QRect>
#include <QtGlobal>

// What the desktop's window manager offers the board's window beyond plain showing.
class WindowManagerHints
{
public:
    virtual ~WindowManagerHints() = default;

    // Translucent windows are composited with what lies behind them.
    virtual bool hasCompositingManager() = 0;
    // Keeps the window on every virtual desktop.
    virtual void showOnAllDesktops(quint64 windowID) = 0;
    // Presses outside this part of the window, in device pixels, go to what lies below it.
    virtual void setInputRegion(quint64 windowID, const QRect &area) = 0;
};
