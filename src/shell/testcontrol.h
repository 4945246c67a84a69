#pragma once

#include <QObject>
#include <QString>

class ClipboardManagerState;
class HotKeyManager;
class QSocketNotifier;
class QWidget;

// Hooks for end-to-end tests, built only with the tests or benchmarks and active only with
// QUILLSTASH_TEST_TRACE=1: trace lines on standard error for the hot key, the paste-back and
// toasts, and key presses read from standard input ("key Return", "key Ctrl+V") that reach the
// board's key commands as if typed into the board.
class TestControl : public QObject
{
    Q_OBJECT

public:
    // Wraps the shell's callbacks in traces and starts reading commands, when enabled. The
    // callbacks must be set already.
    TestControl(ClipboardManagerState &state, HotKeyManager &hotKeys, QObject *parent = nullptr);

    // "quillstash-trace <monotonic milliseconds> <event>"
    static void trace(const QString &event);
    // "board-painted" once the window has drawn its first frame.
    void traceFirstFrame(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool isEnabled();
    void readCommands();

    HotKeyManager &m_hotKeys;
    QSocketNotifier *m_input = nullptr;
    QByteArray m_pending;
};
