#pragma once

#include <QString>
#include <functional>

class QProcessEnvironment;

// Which way Ctrl+Alt+V reaches the program on this desktop, decided once at start.
enum class HotKeyRoute {
    X11Grab,
    KGlobalAccel,
    Portal,
    // The user binds `quillstash --show-board` in the desktop's settings:
    GnomeCommand,
    WlrootsCommand,
    DesktopCommand,
};

struct HotKeyServices {
    // Asked only on a Wayland session, in this order, until one answers.
    std::function<bool()> kglobalaccel;
    std::function<bool()> portal;
};

HotKeyRoute chooseHotKeyRoute(const QProcessEnvironment &environment, bool waylandSession,
                              const HotKeyServices &services);

// What the user binds where the desktop binds the command.
inline const QString hotKeyCommand = QStringLiteral("quillstash --show-board");
inline const QString swayBinding = QStringLiteral("bindsym Ctrl+Alt+v exec ") + hotKeyCommand;

// How to get the key for a command route, for the start-up line.
QString hotKeyInstruction(HotKeyRoute route);
