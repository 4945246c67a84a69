#pragma once

#include "keyboard/desktopshortcut.h"

#include <QString>

// Ctrl+Alt+V as one of GNOME's custom keyboard shortcuts, running `quillstash --show-board`.
class GnomeCustomKeybinding final : public DesktopShortcut
{
public:
    GnomeCustomKeybinding();

    bool isAvailable() const override;
    bool isAdded() const override;
    bool add() override;
    bool remove() override;

    static const QString command;
    // Where our entry lives among the custom keybindings.
    static const QString path;
};
