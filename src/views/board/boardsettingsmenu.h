#pragma once

#include "cardcontextmenu.h"

#include <QCoreApplication>

class ClipboardManagerState;

// The command bar's settings menu, built from the current state each time it opens.
class BoardSettingsMenu
{
    Q_DECLARE_TR_FUNCTIONS(BoardSettingsMenu)

public:
    static QList<CardContextMenu::Entry> entries(ClipboardManagerState &state);
};
