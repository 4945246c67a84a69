#pragma once

#include "model/timestamp.h"

#include <optional>

// What the tray icon and its menu do to the program's windows.
class StatusMenuTarget
{
public:
    virtual ~StatusMenuTarget() = default;

    virtual bool isBoardVisible() const = 0;
    virtual void showMainWindow() = 0;
    // Hides the board and gives the focus back to the application that had it.
    virtual void hideMainWindow() = 0;
    virtual void toggleMainWindow() = 0;
    // When the board last hid itself because it lost the keyboard focus; nothing if never.
    virtual std::optional<Timestamp> lastResignKeyHideTime() const = 0;
    virtual void openAboutWindow(bool autoCheckUpdates) = 0;
    virtual void openPreferencesWindow() = 0;
    virtual void quit() = 0;
};
