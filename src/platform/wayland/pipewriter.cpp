#include "pipewriter.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

void PipeWriter::write(int fd, QByteArray bytes, std::chrono::milliseconds deadline)
{
    // A reader that goes away mid-way must end this write, not the program.
    static const bool pipeSignalIgnored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    Q_UNUSED(pipeSignalIgnored);
    auto *writer = new PipeWriter(fd, std::move(bytes), deadline);
    writer->writeSome();
}

PipeWriter::PipeWriter(int fd, QByteArray bytes, std::chrono::milliseconds deadline)
    : m_fd(fd), m_bytes(std::move(bytes)),
      m_notifier(new QSocketNotifier(fd, QSocketNotifier::Write, this))
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    connect(m_notifier, &QSocketNotifier::activated, this, &PipeWriter::writeSome);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &QObject::deleteLater);
    m_deadline.start(deadline);
}

PipeWriter::~PipeWriter()
{
    ::close(m_fd);
}

void PipeWriter::writeSome()
{
    while (m_written < m_bytes.size()) {
        const ssize_t count =
            ::write(m_fd, m_bytes.constData() + m_written, size_t(m_bytes.size() - m_written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            return;
        if (count <= 0)
            break;
        m_written += count;
    }
    m_notifier->setEnabled(false);
    m_deadline.stop();
    deleteLater();
}
