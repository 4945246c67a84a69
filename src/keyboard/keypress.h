#pragma once

#include <QString>
#include <Qt>

// The held modifier keys as the board reads them: Ctrl is the command key, Alt the option key,
// Meta (the logo key) stands where other desktops have a separate Control key.
struct KeyModifiers {
    Qt::KeyboardModifiers modifiers;
    bool capsLock = false;

    bool command() const { return modifiers.testFlag(Qt::ControlModifier); }
    bool option() const { return modifiers.testFlag(Qt::AltModifier); }
    bool shift() const { return modifiers.testFlag(Qt::ShiftModifier); }

    // Ctrl and Alt, whatever else is held.
    bool commandOption() const { return command() && option(); }
    // Shift and Ctrl, whatever else is held.
    bool shiftCommand() const { return shift() && command(); }
    // Ctrl with nothing else: no other modifier, no Caps Lock, not a keypad key.
    bool commandAlone() const { return modifiers == Qt::ControlModifier && !capsLock; }

    bool operator==(const KeyModifiers &) const = default;
};

// One key press addressed to the program, reduced to what the board's commands look at.
struct KeyPress {
    // A Qt::Key value.
    int key = 0;
    KeyModifiers modifiers;
    // What the key types with Shift applied but no other modifier, lower-cased; empty when the
    // key types nothing.
    QString character;
    // A text field has the keyboard focus, so typing and editing keys belong to it.
    bool textFieldFocused = false;
};
