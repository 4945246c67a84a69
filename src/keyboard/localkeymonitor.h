#pragma once

#include "keypress.h"

#include <functional>

// The program's own key events, seen before the focused control gets them.
class LocalKeyMonitor
{
public:
    virtual ~LocalKeyMonitor() = default;

    // `keyDown` sees every key press that is not a modifier key and returns true to swallow it;
    // `modifiersChanged` sees the held modifiers after each press or release of a modifier key.
    virtual void start(std::function<bool(const KeyPress &)> keyDown,
                       std::function<void(const KeyModifiers &)> modifiersChanged) = 0;

    // Takes the keyboard focus away from whichever text field holds it.
    virtual void clearTextFieldFocus() = 0;
};
