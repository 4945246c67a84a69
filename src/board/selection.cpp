#include "clipboardmanagerstate.h"

#include <algorithm>

qsizetype ClipboardManagerState::visiblePositionOfSelection() const
{
    if (!m_selectedItemID)
        return -1;
    const QList<qsizetype> &visible = visibleIndices();
    const QList<ClippingItem> &all = items();
    const auto found = std::find_if(visible.begin(), visible.end(), [&](qsizetype index) {
        return all[index].id == *m_selectedItemID;
    });
    return found == visible.end() ? -1 : found - visible.begin();
}

void ClipboardManagerState::selectVisibleIndex(qsizetype position)
{
    setSelectedItemID(visibleItem(position).id);
}

void ClipboardManagerState::ensureValidSelection()
{
    const Operation operation(*this);
    if (visiblePositionOfSelection() >= 0)
        return;
    if (visibleItemCount() == 0)
        setSelectedItemID(std::nullopt);
    else
        selectVisibleIndex(0);
}

void ClipboardManagerState::moveSelection(int dx, int dy)
{
    const Operation operation(*this);
    const qsizetype count = visibleItemCount();
    if (count == 0)
        return;
    const qsizetype current = visiblePositionOfSelection();
    if (current < 0) {
        selectVisibleIndex(0);
        return;
    }
    const qint64 columns = std::max(m_gridColumns, 1);
    const qint64 target = qint64(current) + dx + qint64(dy) * columns;
    selectVisibleIndex(qsizetype(std::clamp<qint64>(target, 0, count - 1)));
}

void ClipboardManagerState::cycleNextSelection()
{
    const Operation operation(*this);
    const qsizetype count = visibleItemCount();
    if (count == 0)
        return;
    const qsizetype current = visiblePositionOfSelection();
    selectVisibleIndex(current < 0 ? 0 : (current + 1) % count);
}

void ClipboardManagerState::handleWindowHidden()
{
    m_lastHiddenDate = m_clock.now();
}

void ClipboardManagerState::handleWindowShown()
{
    const Operation operation(*this);
    if (m_resetFiltersAfterSeconds >= 1 && m_lastHiddenDate &&
        m_clock.now().secondsSince(*m_lastHiddenDate) >= m_resetFiltersAfterSeconds) {
        setSidebarSelection(SidebarSelection::history());
        setSearchText(QString());
    }
    ensureValidSelection();
}
