#pragma once

// Synthetic key presses sent to whichever window has the keyboard focus.
class KeySynthesizer
{
public:
    virtual ~KeySynthesizer() = default;

    // Whether the system lets the program send key presses to other programs.
    virtual bool isTrusted() const = 0;
    // Sends the paste chord (Ctrl+V, down then up) with no other modifier in effect. Sends
    // nothing when the chord cannot be made.
    virtual void postPasteShortcut() = 0;
};
