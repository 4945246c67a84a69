#pragma once

#include <QObject>
#include <QString>

class HotKeyManager;
class QSocketNotifier;

// Hooks for end-to-end tests, active only with QUILLSTASH_TEST_TRACE=1: trace lines on
// standard error, and key presses read from standard input ("key Return", "key Ctrl+V") that
// reach the board's key commands as if typed into the board.
class TestControl : public QObject
{
    Q_OBJECT

public:
    static bool isEnabled();
    // "quillstash-trace <monotonic milliseconds> <event>"
    static void trace(const QString &event);

    // Starts reading commands from standard input, when enabled.
    explicit TestControl(HotKeyManager &hotKeys, QObject *parent = nullptr);

private:
    void readCommands();

    HotKeyManager &m_hotKeys;
    QSocketNotifier *m_input = nullptr;
    QByteArray m_pending;
};
