#pragma once

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Owns CLIPBOARD from inside the test process, on an X connection and a thread of its own, and
// serves one text as UTF8_STRING: a copy by another client, without the start-up of a program
// per copy. It also tells when the text was read, so that a test can pace its copies by the
// reader.
class ClipboardServer
{
public:
    using Clock = std::chrono::steady_clock;

    ClipboardServer();
    ~ClipboardServer();
    ClipboardServer(const ClipboardServer &) = delete;
    ClipboardServer &operator=(const ClipboardServer &) = delete;

    // False when the display could not be opened.
    bool isConnected() const { return m_display != nullptr; }

    // Takes the clipboard again with this text; returns once the X server has made us its owner,
    // with the time just before the request went out.
    Clock::time_point copy(const QByteArray &text);
    // Whether someone has read the text of the last copy, waiting for it at most this long.
    bool waitUntilRead(std::chrono::milliseconds timeout);

private:
    void run();
    void take();
    void answer(const void *request);

    struct _XDisplay *m_display = nullptr;
    unsigned long m_window = 0;
    unsigned long m_clipboard = 0;
    unsigned long m_targets = 0;
    unsigned long m_utf8 = 0;
    int m_wake[2] = {-1, -1};

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // The text of the last copy asked for, and of the last one made.
    QByteArray m_text;
    QByteArray m_served;
    // Copies asked for, made (owned), and the last one whose text was read.
    std::uint64_t m_asked = 0;
    std::uint64_t m_owned = 0;
    std::uint64_t m_read = 0;
    Clock::time_point m_takenAt;
    bool m_stopping = false;
    std::thread m_thread;
};
