#include "pasteboardwatcher.h"

#include "capture/pasteboard.h"
#include "model/clock.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace
{

constexpr auto pollInterval = std::chrono::milliseconds(350);

} // namespace

PasteboardWatcher::PasteboardWatcher(Pasteboard &pasteboard, FrontApplication &frontApplication,
                                     const Clock &clock, QObject *parent)
    : QObject(parent), m_pasteboard(pasteboard), m_frontApplication(frontApplication),
      m_clock(clock), m_lastChangeCount(pasteboard.changeCount())
{
}

void PasteboardWatcher::start(std::function<void()> check)
{
    if (m_timer)
        return;
    m_timer = new QTimer(this);
    m_timer->setInterval(pollInterval);
    connect(m_timer, &QTimer::timeout, this, check);
    m_timer->start();

    // The notification only brings the poll forward; the timer stays the guarantee. Queued, so
    // that the clipboard is never read from inside its own notification.
    m_pasteboard.setChangeHandler([watcher = QPointer(this), check] {
        if (!watcher)
            return;
        watcher->m_notice = Notice{watcher->m_pasteboard.changeCount(),
                                   watcher->m_frontApplication.frontmostApplication()};
        QMetaObject::invokeMethod(watcher, check, Qt::QueuedConnection);
    });
    check();
}

std::optional<ClipboardCapture::Outcome> PasteboardWatcher::takeChange(bool ignorePasswords)
{
    const qint64 changeCount = m_pasteboard.changeCount();
    if (changeCount == m_lastChangeCount)
        return std::nullopt;
    m_lastChangeCount = changeCount;

    const std::optional<RunningApplication> front = m_notice && m_notice->changeCount == changeCount
                                                        ? m_notice->front
                                                        : m_frontApplication.frontmostApplication();
    m_notice.reset();
    if (front && front->processId == QCoreApplication::applicationPid())
        return std::nullopt;
    ClippingSource source{.appName = front ? front->localizedName : QString(),
                          .bundleID = front ? front->bundleIdentifier : QString(),
                          .capturedAt = m_clock.now()};
    if (source.appName.isEmpty())
        source.appName = QStringLiteral("Finder");
    else if (source.appName == u"Google Chrome")
        source.appName = QStringLiteral("Chrome");

    const bool isPassword =
        ClipboardCapture::isSensitive(m_pasteboard.types(), source.appName, source.bundleID);
    if (isPassword && ignorePasswords)
        return std::nullopt;
    return ClipboardCapture::read(m_pasteboard, isPassword, source);
}

void PasteboardWatcher::acknowledgeOwnWrite()
{
    m_lastChangeCount = m_pasteboard.changeCount();
}
