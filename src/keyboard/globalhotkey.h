#pragma once

#include <QString>
#include <functional>

// The one system-wide key chord of the program, Ctrl+Alt+V.
class GlobalHotKey
{
public:
    enum class Registration {
        Registered,
        // Another program holds the chord.
        Taken,
        // The display refused the chord for another reason.
        Failed,
        // Nothing here lets a program register a key: the user binds a command to it.
        Unavailable,
    };

    virtual ~GlobalHotKey() = default;

    // Registers the chord for the life of the process. `pressed` runs on the main thread, once
    // per press; held keys do not repeat it.
    virtual Registration registerHotKey(std::function<void()> pressed) = 0;

    // How the chord reaches the program, or what the user can do instead, for the one line the
    // start says about it: "an X11 key grab", ...
    virtual QString route() const = 0;
};
