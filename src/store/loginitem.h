#pragma once

// Whether the desktop starts the program when the user logs in.
class LoginItem
{
public:
    virtual ~LoginItem() = default;

    // Read from the desktop's own configuration each time, so it tells what the desktop will do.
    virtual bool isEnabled() const = 0;
    // False when the desktop's configuration could not be changed.
    virtual bool setEnabled(bool enabled) = 0;
};
