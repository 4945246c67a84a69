#pragma once

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
        // The display offers no system-wide keys (no X11 connection).
        Unavailable,
    };

    virtual ~GlobalHotKey() = default;

    // Registers the chord for the life of the process. `pressed` runs on the main thread, once
    // per press; held keys do not repeat it.
    virtual Registration registerHotKey(std::function<void()> pressed) = 0;
};
