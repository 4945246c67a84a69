#include "testcontrol.h"

#include "board/clipboardmanagerstate.h"
#include "keyboard/hotkeymanager.h"

#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <utility>

bool TestControl::isEnabled()
{
    static const bool enabled = qEnvironmentVariable("QUILLSTASH_TEST_TRACE") == u"1";
    return enabled;
}

void TestControl::trace(const QString &event)
{
    if (!isEnabled())
        return;
    const auto now = std::chrono::duration<double, std::milli>(
        std::chrono::steady_clock::now().time_since_epoch());
    std::fprintf(stderr, "quillstash-trace %.3f %s\n", now.count(), qPrintable(event));
    std::fflush(stderr);
}

TestControl::TestControl(ClipboardManagerState &state, HotKeyManager &hotKeys, QObject *parent)
    : QObject(parent), m_state(state), m_hotKeys(hotKeys)
{
    if (!isEnabled())
        return;
    state.onRequestHideWindowAndPaste = [paste = std::move(state.onRequestHideWindowAndPaste)](
                                            const ClippingItem &item, bool withPaste) {
        trace(withPaste ? QStringLiteral("paste-back paste")
                        : QStringLiteral("paste-back no-paste"));
        if (paste)
            paste(item, withPaste);
    };
    hotKeys.onShowWindowIfHidden = [show = std::move(hotKeys.onShowWindowIfHidden)] {
        trace(QStringLiteral("hot-key"));
        return show && show();
    };
    connect(&state, &ClipboardManagerState::quickLookItemChanged, this, [&state] {
        const std::optional<ClippingItem> shown = state.quickLookItem();
        trace(shown ? QStringLiteral("quick-look ") + shown->textContent
                    : QStringLiteral("quick-look closed"));
    });
    connect(&state, &ClipboardManagerState::statusToastMessageChanged, this, [&state] {
        if (const std::optional<QString> message = state.statusToastMessage())
            trace(QStringLiteral("toast ") + *message);
    });
    m_input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_input, &QSocketNotifier::activated, this, &TestControl::readCommands);
}

void TestControl::traceFrames(QWidget &window)
{
    if (!isEnabled())
        return;
    m_window = &window;
    m_searchText = m_state.searchText();
    window.installEventFilter(this);
    m_newestID = newestID();
    connect(&m_state, &ClipboardManagerState::changed, this, [this] {
        if (const QUuid newest = newestID(); newest != m_newestID) {
            m_newestID = newest;
            trace(QStringLiteral("newest-clipping"));
        }
        if (m_state.searchText() == m_searchText)
            return;
        m_searchText = m_state.searchText();
        traceNextFrame(QStringLiteral("results-drawn"));
    });
}

QUuid TestControl::newestID() const
{
    return m_state.items().isEmpty() ? QUuid() : m_state.items().constFirst().id;
}

void TestControl::traceNextFrame(const QString &event)
{
    // Children paint on their own when only they changed, as the grid does for a search.
    if (m_pendingFrames.isEmpty())
        qApp->installEventFilter(this);
    if (!m_pendingFrames.contains(event))
        m_pendingFrames.append(event);
}

bool TestControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Show)
        traceNextFrame(QStringLiteral("board-painted"));
    if (watched == m_window && event->type() == QEvent::WindowActivate)
        trace(QStringLiteral("board-activated"));
    // Paints of an offscreen render of the hidden window are not a frame on the screen.
    if (event->type() == QEvent::Paint && !m_pendingFrames.isEmpty() && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_window && m_window->isVisible()) {
        qApp->removeEventFilter(this);
        // Queued: the frame reaches the screen once the paint that follows has been flushed.
        QTimer::singleShot(0, this, [events = std::exchange(m_pendingFrames, {})] {
            for (const QString &frame : events)
                trace(frame);
        });
    }
    return QObject::eventFilter(watched, event);
}

void TestControl::readCommands()
{
    char buffer[512];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        // The test closed its end: nothing more will come.
        m_input->setEnabled(false);
        return;
    }
    m_pending.append(buffer, count);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        if (line == u"report option-key") {
            trace(m_state.isHoldingOptionKey() ? QStringLiteral("option-key held")
                                               : QStringLiteral("option-key released"));
            continue;
        }
        if (!line.startsWith(u"key "))
            continue;
        const QKeySequence sequence = QKeySequence::fromString(line.mid(4));
        if (sequence.isEmpty())
            continue;
        const QKeyCombination combination = sequence[0];
        const int key = combination.key();
        const QString character =
            key >= 0x20 && key <= 0xff ? QString(QChar(key)).toLower() : QString();
        trace(QStringLiteral("key ") + line.mid(4));
        m_hotKeys.handleLocalKeyDown({.key = key,
                                      .modifiers = {.modifiers = combination.keyboardModifiers()},
                                      .character = character});
    }
}
