#include "board/clipboardmanagerstate.h"
#include "capture/pasteboardwatcher.h"
#include "history.h"

void ClipboardManagerState::startMonitoringPasteboard()
{
    m_watcher->start([this] { checkPasteboard(); });
}

void ClipboardManagerState::checkPasteboard()
{
    if (m_isPaused)
        return;
    const Operation operation(*this);
    const std::optional<ClipboardCapture::Outcome> outcome =
        m_watcher->takeChange(m_ignorePasswords);
    if (!outcome)
        return;
    if (outcome->toast)
        showToast(*outcome->toast);
    if (!outcome->item)
        return;
    insertNewItem(*outcome->item);
}

void ClipboardManagerState::insertNewItem(const ClippingItem &item)
{
    const Operation operation(*this);
    if (m_history->insert(item, m_historyLimit))
        setSelectedItemID(item.id);
}
