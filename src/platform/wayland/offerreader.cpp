#include "offerreader.h"

#include <QSocketNotifier>
#include <cerrno>
#include <unistd.h>

namespace
{

// Enough to drain a pipe in few passes, small enough for one event-loop pass.
constexpr qsizetype chunk = 256 * 1024;
constexpr int chunksPerPass = 16;

} // namespace

OfferReader::OfferReader(std::chrono::milliseconds deadline, QObject *parent) : QObject(parent)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadline);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        for (Read *read : m_reads) {
            if (read->fd >= 0)
                end(*read, false);
        }
        finishIfDone();
    });
}

OfferReader::~OfferReader()
{
    for (Read *read : m_reads) {
        if (read->fd >= 0)
            ::close(read->fd);
        delete read;
    }
}

void OfferReader::add(const QString &format, int fd, qsizetype limit)
{
    auto *read = new Read{.format = format, .fd = fd, .limit = limit};
    m_reads.append(read);
    read->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    read->notifier->setEnabled(false);
    connect(read->notifier, &QSocketNotifier::activated, this, [this, read] {
        readFrom(*read);
        finishIfDone();
    });
}

void OfferReader::start(std::function<void(Results)> finished)
{
    m_finished = std::move(finished);
    for (Read *read : m_reads)
        read->notifier->setEnabled(true);
    m_deadline.start();
    // Never from inside the caller.
    QTimer::singleShot(0, this, &OfferReader::finishIfDone);
}

void OfferReader::readFrom(Read &read)
{
    for (int pass = 0; pass < chunksPerPass && read.fd >= 0; ++pass) {
        const qsizetype room = std::min(chunk, read.limit - read.bytes.size());
        const qsizetype start = read.bytes.size();
        read.bytes.resize(start + room);
        const ssize_t count = ::read(read.fd, read.bytes.data() + start, size_t(room));
        read.bytes.resize(start + std::max<ssize_t>(count, 0));
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (count <= 0 || read.bytes.size() >= read.limit)
            end(read, count >= 0);
    }
}

void OfferReader::end(Read &read, bool complete)
{
    read.notifier->setEnabled(false);
    ::close(read.fd);
    read.fd = -1;
    if (complete && !read.bytes.isEmpty())
        m_results.insert(read.format, std::move(read.bytes));
    else
        m_results.insert(read.format, std::nullopt);
    read.bytes = QByteArray();
}

void OfferReader::finishIfDone()
{
    if (!m_finished)
        return;
    for (const Read *read : m_reads) {
        if (read->fd >= 0)
            return;
    }
    m_deadline.stop();
    // The callback may delete this reader.
    auto finished = std::exchange(m_finished, nullptr);
    finished(std::move(m_results));
}
