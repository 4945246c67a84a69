#include "board/clipboardmanagerstate.h"
#include "capture/clipboardcapture.h"
#include "capture/frontapplication.h"
#include "capture/pasteboard.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace
{

constexpr auto pollInterval = std::chrono::milliseconds(350);

} // namespace

void ClipboardManagerState::startMonitoringPasteboard()
{
    if (m_pasteboardTimer)
        return;
    m_pasteboardTimer = new QTimer(this);
    m_pasteboardTimer->setInterval(pollInterval);
    connect(m_pasteboardTimer, &QTimer::timeout, this, &ClipboardManagerState::checkPasteboard);
    m_pasteboardTimer->start();

    // The notification only brings the poll forward; the timer stays the guarantee. Queued, so
    // that the clipboard is never read from inside its own notification.
    m_pasteboard.setChangeHandler([state = QPointer(this)] {
        if (state)
            QMetaObject::invokeMethod(state, &ClipboardManagerState::checkPasteboard,
                                      Qt::QueuedConnection);
    });
}

void ClipboardManagerState::checkPasteboard()
{
    if (m_isPaused)
        return;
    const qint64 changeCount = m_pasteboard.changeCount();
    if (changeCount == m_lastChangeCount)
        return;
    m_lastChangeCount = changeCount;

    const std::optional<RunningApplication> front = m_frontApplication.frontmostApplication();
    if (front && front->processId == QCoreApplication::applicationPid())
        return;
    ClippingSource source{.appName = front ? front->localizedName : QString(),
                          .bundleID = front ? front->bundleIdentifier : QString(),
                          .capturedAt = m_clock.now()};
    if (source.appName.isEmpty())
        source.appName = QStringLiteral("Finder");
    else if (source.appName == u"Google Chrome")
        source.appName = QStringLiteral("Chrome");

    const bool isPassword =
        ClipboardCapture::isSensitive(m_pasteboard.types(), source.appName, source.bundleID);
    if (isPassword && m_ignorePasswords)
        return;

    ClipboardCapture::Outcome outcome = ClipboardCapture::read(m_pasteboard, isPassword, source);
    if (outcome.toast)
        showToast(*outcome.toast);
    if (outcome.item)
        insertNewItem(*outcome.item);
}

void ClipboardManagerState::insertNewItem(const ClippingItem &item)
{
    if (!m_items.isEmpty()) {
        const ClippingItem &newest = m_items.first();
        if (newest.type == item.type && !item.isPassword && item.type != ClippingType::Image &&
            newest.textContent == item.textContent)
            return;
    }
    m_items.prepend(item);
    // A limit below one (only possible by direct assignment) still keeps the new clipping.
    const qsizetype limit = std::max(m_historyLimit, 1);
    if (m_items.size() > limit)
        m_items.resize(limit);
    publishItems();
    setSelectedItemID(item.id);
    saveToDisk();
}
