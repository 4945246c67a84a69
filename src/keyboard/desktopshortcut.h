#pragma once

// A keyboard shortcut in the desktop's own settings that runs the program's hot key command,
// for desktops that let no program register a key. Added and removed only when the user asks.
class DesktopShortcut
{
public:
    virtual ~DesktopShortcut() = default;

    // The desktop's settings can hold it here.
    virtual bool isAvailable() const = 0;
    virtual bool isAdded() const = 0;
    // Adding what is there already changes nothing. False when the settings refused.
    virtual bool add() = 0;
    virtual bool remove() = 0;
};
