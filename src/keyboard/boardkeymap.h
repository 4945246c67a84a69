#pragma once

#include "keypress.h"
#include "model/clippingitem.h"

#include <functional>
#include <optional>

class ClipboardManagerState;

// The board's keyboard commands: every key press addressed to the program passes through here
// before the focused control sees it.
class BoardKeyMap
{
public:
    explicit BoardKeyMap(ClipboardManagerState &state);

    // Acts on the key and returns true when the key is used up, false when it belongs to the
    // focused control.
    bool handleLocalKeyDown(const KeyPress &press);

    // Hides the board when visible (Esc with nothing left to close).
    std::function<void()> onToggleWindow;
    // Ctrl+Q, as in the tray menu.
    std::function<void()> onQuit;
    // Takes the keyboard focus away from the search or collection name field.
    std::function<void()> onClearTextFieldFocus;

private:
    bool handleEscape();
    bool handleCommandOption(const QString &character);
    bool handleCommandAlone(const KeyPress &press);
    bool handleInTextField(const KeyPress &press);
    bool handleOnBoard(const KeyPress &press);
    // The selected clipping if the board shows it.
    std::optional<ClippingItem> selectedVisibleItem() const;
    void clearTextFieldFocus();

    ClipboardManagerState &m_state;
};
