#include "xtestkeysynthesizer.h"

#include "x11display.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <set>

namespace
{

bool isPressed(const char (&keys)[32], KeyCode code)
{
    return (keys[code / 8] >> (code % 8)) & 1;
}

// Modifier keys still held down, most likely Ctrl and Alt of the hot key. Lock keys are left
// alone: releasing them would not undo their state.
std::set<KeyCode> heldModifierKeys(Display *display)
{
    std::set<KeyCode> held;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    XModifierKeymap *map = XGetModifierMapping(display);
    if (!map)
        return held;
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    for (int modifier = 0; modifier < 8; ++modifier) {
        if (modifier == LockMapIndex)
            continue;
        for (int i = 0; i < map->max_keypermod; ++i) {
            const KeyCode code = map->modifiermap[modifier * map->max_keypermod + i];
            if (code != 0 && code != numLock && isPressed(keys, code))
                held.insert(code);
        }
    }
    XFreeModifiermap(map);
    return held;
}

} // namespace

bool XTestKeySynthesizer::isTrusted() const
{
    Display *display = X11Display::display();
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return display && XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
}

void XTestKeySynthesizer::postPasteShortcut()
{
    if (!isTrusted())
        return;
    Display *display = X11Display::display();
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    const KeyCode v = XKeysymToKeycode(display, XK_v);
    if (control == 0 || v == 0)
        return;

    // Otherwise the target sees Ctrl+Alt+V and pastes nothing.
    for (const KeyCode held : heldModifierKeys(display))
        XTestFakeKeyEvent(display, held, False, CurrentTime);
    XTestFakeKeyEvent(display, control, True, CurrentTime);
    XTestFakeKeyEvent(display, v, True, CurrentTime);
    XTestFakeKeyEvent(display, v, False, CurrentTime);
    XTestFakeKeyEvent(display, control, False, CurrentTime);
    XFlush(display);
}
