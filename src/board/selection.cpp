#include "clipboardmanagerstate.h"

#include <algorithm>

namespace
{

qsizetype indexOfSelection(const QList<ClippingItem> &items, const QList<qsizetype> &visible,
                           const std::optional<QUuid> &selectedID)
{
    if (!selectedID)
        return -1;
    const auto found = std::find_if(visible.begin(), visible.end(), [&](qsizetype index) {
        return items[index].id == *selectedID;
    });
    return found == visible.end() ? -1 : found - visible.begin();
}

} // namespace

void ClipboardManagerState::selectVisibleIndex(const QList<qsizetype> &visible, qsizetype index)
{
    setSelectedItemID(m_items[visible[index]].id);
}

void ClipboardManagerState::ensureValidSelection()
{
    const QList<qsizetype> visible = visibleIndices();
    if (indexOfSelection(m_items, visible, m_selectedItemID) >= 0)
        return;
    if (visible.isEmpty())
        setSelectedItemID(std::nullopt);
    else
        selectVisibleIndex(visible, 0);
}

void ClipboardManagerState::moveSelection(int dx, int dy)
{
    const QList<qsizetype> visible = visibleIndices();
    if (visible.isEmpty())
        return;
    const qsizetype current = indexOfSelection(m_items, visible, m_selectedItemID);
    if (current < 0) {
        selectVisibleIndex(visible, 0);
        return;
    }
    const qint64 columns = std::max(m_gridColumns, 1);
    const qint64 target = qint64(current) + dx + qint64(dy) * columns;
    selectVisibleIndex(visible, qsizetype(std::clamp<qint64>(target, 0, visible.size() - 1)));
}

void ClipboardManagerState::cycleNextSelection()
{
    const QList<qsizetype> visible = visibleIndices();
    if (visible.isEmpty())
        return;
    const qsizetype current = indexOfSelection(m_items, visible, m_selectedItemID);
    selectVisibleIndex(visible, current < 0 ? 0 : (current + 1) % visible.size());
}

void ClipboardManagerState::handleWindowHidden()
{
    m_lastHiddenDate = m_clock.now();
}

void ClipboardManagerState::handleWindowShown()
{
    if (m_resetFiltersAfterSeconds >= 1 && m_lastHiddenDate &&
        m_clock.now().secondsSince(*m_lastHiddenDate) >= m_resetFiltersAfterSeconds) {
        setSidebarSelection(SidebarSelection::history());
        setSearchText(QString());
    }
    ensureValidSelection();
}
