#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

class ClipboardManagerState;
class HotKeyManager;
class QSocketNotifier;
class QWidget;

// Hooks for end-to-end tests, built only with the tests or benchmarks and active only with
// QUILLSTASH_TEST_TRACE=1: trace lines on standard error for the hot key, the paste-back, Quick
// Look and toasts, and key presses read from standard input ("key Return", "key Ctrl+V") that
// reach the board's key commands as if typed into the board; "report option-key" traces whether
// the board takes Alt for held.
class TestControl : public QObject
{
    Q_OBJECT

public:
    // Wraps the shell's callbacks in traces and starts reading commands, when enabled. The
    // callbacks must be set already.
    TestControl(ClipboardManagerState &state, HotKeyManager &hotKeys, QObject *parent = nullptr);

    // "quillstash-trace <monotonic milliseconds> <event>"
    static void trace(const QString &event);
    // "board-painted" once the window has drawn its first frame after each show,
    // "board-activated" whenever the window manager hands it the keyboard, "results-drawn" once
    // it has drawn the first frame after the search text changed, and "newest-clipping" when
    // another clipping came first in the history.
    void traceFrames(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool isEnabled();
    void readCommands();

    void traceNextFrame(const QString &event);
    QUuid newestID() const;

    ClipboardManagerState &m_state;
    HotKeyManager &m_hotKeys;
    QWidget *m_window = nullptr;
    QString m_searchText;
    QUuid m_newestID;
    QStringList m_pendingFrames;
    QSocketNotifier *m_input = nullptr;
    QByteArray m_pending;
};
