#include "boardkeymap.h"

#include "board/clipboardmanagerstate.h"

#include <algorithm>

namespace
{

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

BoardKeyMap::BoardKeyMap(ClipboardManagerState &state) : m_state(state) {}

bool BoardKeyMap::handleLocalKeyDown(const KeyPress &press)
{
    if (press.key == Qt::Key_Escape)
        return handleEscape();

    const KeyModifiers &flags = press.modifiers;
    if (flags.commandOption() && handleCommandOption(press.character))
        return true;

    if (flags.shiftCommand()) {
        if (press.character == u"r") {
            m_state.revealSelectedItemInFinder();
            return true;
        }
        if (press.character == u"v") {
            if (const std::optional<ClippingItem> item = selectedVisibleItem()) {
                m_state.activateClipping(*item, true);
                return true;
            }
        }
    }

    if (flags.commandAlone() && handleCommandAlone(press))
        return true;

    // Quick Look's Paste: what is previewed, which a context menu may have opened on a card
    // other than the selected one.
    if (isReturn(press.key) && !flags.command() && !flags.option()) {
        if (const std::optional<ClippingItem> previewed = m_state.quickLookItem()) {
            m_state.setQuickLookItem(std::nullopt);
            m_state.activateClipping(*previewed, false);
            return true;
        }
    }

    return press.textFieldFocused ? handleInTextField(press) : handleOnBoard(press);
}

bool BoardKeyMap::handleEscape()
{
    if (m_state.quickLookItem()) {
        m_state.setQuickLookItem(std::nullopt);
    } else if (!m_state.searchText().isEmpty()) {
        m_state.setSearchText(QString());
        clearTextFieldFocus();
    } else if (onToggleWindow) {
        onToggleWindow();
    }
    return true;
}

bool BoardKeyMap::handleCommandOption(const QString &character)
{
    if (character == u"s")
        m_state.setIsSidebarVisible(!m_state.isSidebarVisible());
    else if (character == u"t") {
        if (m_state.onRequestCenterWindow)
            m_state.onRequestCenterWindow();
    } else if (character == u"+" || character == u"=")
        m_state.incrementColumns();
    else if (character == u"-")
        m_state.decrementColumns();
    else if (character == u"v")
        m_state.cycleNextSelection();
    else
        return false;
    return true;
}

bool BoardKeyMap::handleCommandAlone(const KeyPress &press)
{
    const QString &c = press.character;
    if (c.size() == 1 && c.front() >= u'1' && c.front() <= u'9') {
        const qsizetype n = c.front().unicode() - u'0';
        const QList<ClippingItem> visible = m_state.filteredItems();
        if (n <= visible.size()) {
            const ClippingItem item = visible.at(n - 1);
            m_state.setSelectedItemID(item.id);
            m_state.activateClipping(item, false);
        }
        return true;
    }
    if (c == u"0")
        m_state.setSidebarSelection(SidebarSelection::history());
    else if (c == u"q") {
        if (onQuit)
            onQuit();
    } else if (c == u"p")
        m_state.setIsWindowAnchored(!m_state.isWindowAnchored());
    else if (c == u".")
        m_state.setIsPaused(!m_state.isPaused());
    else if (c == u"+" || c == u"=")
        m_state.incrementRows();
    else if (c == u"-")
        m_state.decrementRows();
    else if (c == u"o")
        m_state.openSelectedItem();
    else if (c == u",") {
        if (m_state.onRequestOpenPreferences)
            m_state.onRequestOpenPreferences();
    } else if (c == u"c" || c == u"v" || c == u"x") {
        // In a text field these are the field's own copy, paste and cut.
        if (press.textFieldFocused)
            return false;
        const std::optional<ClippingItem> item = selectedVisibleItem();
        if (!item)
            return false;
        if (c == u"v") {
            m_state.activateClipping(*item, false);
        } else {
            m_state.copyToSystemPasteboard(*item, false);
            if (c == u"x")
                m_state.deleteItem(*item);
        }
    } else {
        return false;
    }
    return true;
}

bool BoardKeyMap::handleInTextField(const KeyPress &press)
{
    if (press.key == Qt::Key_Down) {
        clearTextFieldFocus();
        m_state.ensureValidSelection();
        return true;
    }
    // In the name field of a new collection, Return confirms the name.
    if (isReturn(press.key) && !m_state.isCreatingCollection()) {
        if (const std::optional<ClippingItem> item = selectedVisibleItem()) {
            m_state.activateClipping(*item, false);
            return true;
        }
    }
    return false;
}

bool BoardKeyMap::handleOnBoard(const KeyPress &press)
{
    const std::optional<ClippingItem> item = selectedVisibleItem();
    if ((press.key == Qt::Key_Backspace || press.key == Qt::Key_Delete) && item) {
        m_state.deleteItem(*item);
        return true;
    }
    if (isArrow(press.key)) {
        const int dx = press.key == Qt::Key_Left ? -1 : press.key == Qt::Key_Right ? 1 : 0;
        const int dy = press.key == Qt::Key_Up ? -1 : press.key == Qt::Key_Down ? 1 : 0;
        m_state.moveSelection(dx, dy);
        return true;
    }
    if (isReturn(press.key) && item) {
        m_state.activateClipping(*item, false);
        return true;
    }
    if (press.key == Qt::Key_Space) {
        if (m_state.quickLookItem())
            m_state.setQuickLookItem(std::nullopt);
        else if (item)
            m_state.setQuickLookItem(item);
        return true;
    }
    return false;
}

std::optional<ClippingItem> BoardKeyMap::selectedVisibleItem() const
{
    const std::optional<QUuid> selected = m_state.selectedItemID();
    if (!selected)
        return std::nullopt;
    const QList<ClippingItem> visible = m_state.filteredItems();
    const auto found = std::find_if(visible.begin(), visible.end(),
                                    [&](const ClippingItem &item) { return item.id == *selected; });
    if (found == visible.end())
        return std::nullopt;
    return *found;
}

void BoardKeyMap::clearTextFieldFocus()
{
    if (onClearTextFieldFocus)
        onClearTextFieldFocus();
}
