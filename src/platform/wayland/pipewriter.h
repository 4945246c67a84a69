#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <chrono>

class QSocketNotifier;

// Writes bytes into a pipe another program reads, without blocking, then closes it. A reader
// that stops reading is given up on at the deadline. Deletes itself when done.
class PipeWriter final : public QObject
{
    Q_OBJECT

public:
    // Takes over fd.
    static void write(int fd, QByteArray bytes, std::chrono::milliseconds deadline);
    ~PipeWriter() override;

private:
    PipeWriter(int fd, QByteArray bytes, std::chrono::milliseconds deadline);
    void writeSome();

    int m_fd;
    QByteArray m_bytes;
    qsizetype m_written = 0;
    QSocketNotifier *m_notifier;
    QTimer m_deadline;
};
