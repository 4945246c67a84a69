#include "storewriter.h"

#include "model/clippingjson.h"
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace
{

// Names no user would give a file, so that removing leftovers can never hit one of theirs.
constexpr char temporaryInfix[] = ".saving-";

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes everything, resuming after short writes and interruptions; 0 or an errno value.
int writeAll(int fd, std::vector<iovec> &parts)
{
    size_t next = 0;
    while (next < parts.size()) {
        const int count = int(std::min<size_t>(parts.size() - next, IOV_MAX));
        const ssize_t written = ::writev(fd, parts.data() + next, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        size_t left = size_t(written);
        while (next < parts.size() && left >= parts[next].iov_len)
            left -= parts[next++].iov_len;
        if (left > 0) {
            parts[next].iov_base = static_cast<char *>(parts[next].iov_base) + left;
            parts[next].iov_len -= left;
        }
    }
    return 0;
}

class TemporaryFile
{
public:
    explicit TemporaryFile(const QByteArray &target) : m_name(target + temporaryInfix + "XXXXXX")
    {
        // mkostemp creates the file with mode 0600.
        m_fd = ::mkostemp(m_name.data(), O_CLOEXEC);
        m_created = m_fd >= 0;
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_created && !m_renamed)
            ::unlink(m_name.constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return m_fd; }
    // 0 or an errno value.
    int syncAndClose()
    {
        const int synced = ::fsync(m_fd) == 0 ? 0 : errno;
        const int closed = ::close(m_fd) == 0 ? 0 : errno;
        m_fd = -1;
        return synced ? synced : closed;
    }
    int renameTo(const QByteArray &target)
    {
        if (::rename(m_name.constData(), target.constData()) != 0)
            return errno;
        m_renamed = true;
        return 0;
    }

private:
    QByteArray m_name;
    int m_fd = -1;
    bool m_created = false;
    bool m_renamed = false;
};

} // namespace

StoreWriter::StoreWriter(const QString &path) : m_path(path), m_thread([this] { run(); }) {}

StoreWriter::~StoreWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void StoreWriter::removeLeftovers(const QString &path)
{
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QLatin1String(temporaryInfix);
    // mkostemp fills in six letters or digits.
    static const QRegularExpression suffix(QStringLiteral("^[A-Za-z0-9]{6}$"));
    const QFileInfoList candidates = target.absoluteDir().entryInfoList(
        {prefix + QStringLiteral("*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &candidate : candidates) {
        if (candidate.ownerId() == ::geteuid() &&
            suffix.match(candidate.fileName().mid(prefix.size())).hasMatch())
            QFile::remove(candidate.filePath());
    }
}

void StoreWriter::submit(Snapshot snapshot)
{
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(snapshot);
    }
    m_wake.notify_one();
}

void StoreWriter::flush()
{
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return !m_waiting && !m_writing; });
    }
    report();
}

void StoreWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_waiting || m_stopping; });
        if (!m_waiting)
            return;
        Snapshot snapshot = std::move(*m_waiting);
        m_waiting.reset();
        m_writing = true;
        lock.unlock();
        const QString failure = writeFile(m_path, snapshot);
        // The pieces go before the lock is taken again: freeing large ones takes time.
        snapshot = {};
        lock.lock();
        m_writing = false;
        m_outcome = failure;
        m_done.notify_all();
        QMetaObject::invokeMethod(
            &m_context, [this] { report(); }, Qt::QueuedConnection);
    }
}

void StoreWriter::report()
{
    std::optional<QString> outcome;
    {
        const std::lock_guard lock(m_mutex);
        outcome.swap(m_outcome);
    }
    if (outcome && onWritten)
        onWritten(*outcome);
}

QString StoreWriter::writeFile(const QString &path, const Snapshot &snapshot)
{
    const QByteArray target = QFile::encodeName(path);
    std::optional<TemporaryFile> file(std::in_place, target);
    // A folder removed while the program runs comes back with everything in memory.
    if (file->fd() < 0 && errno == ENOENT &&
        PrivateFiles::makePrivateDirectory(QFileInfo(path).absolutePath()))
        file.emplace(target);
    if (file->fd() < 0)
        return errorText(errno);

    // Clippings too large to keep encoded are encoded here, one batch at a time, and dropped
    // after their batch is written.
    static constexpr char head[] = "{\"items\":[";
    static constexpr char middle[] = "],\"collections\":[";
    static constexpr char tail[] = "]}";
    static constexpr char comma[] = ",";
    static constexpr qsizetype batchBytes = 64 * 1024 * 1024;
    const auto part = [](const char *data, size_t size) {
        return iovec{const_cast<char *>(data), size};
    };

    std::vector<iovec> parts;
    QByteArrayList encodedHere;
    qsizetype batchSize = 0;
    parts.push_back(part(head, sizeof head - 1));
    for (qsizetype i = 0; i < snapshot.items.size(); ++i) {
        const Piece &piece = snapshot.items[i];
        if (i > 0)
            parts.push_back(part(comma, 1));
        const QByteArray &json =
            piece.item ? encodedHere.emplace_back(ClippingJson::encode(*piece.item)) : piece.json;
        parts.push_back(part(json.constData(), size_t(json.size())));
        batchSize += json.size();
        if (batchSize >= batchBytes) {
            if (const int error = writeAll(file->fd(), parts))
                return errorText(error);
            parts.clear();
            encodedHere.clear();
            batchSize = 0;
        }
    }
    parts.push_back(part(middle, sizeof middle - 1));
    parts.push_back(part(snapshot.collections.constData(), size_t(snapshot.collections.size())));
    parts.push_back(part(tail, sizeof tail - 1));
    if (const int error = writeAll(file->fd(), parts))
        return errorText(error);
    if (const int error = file->syncAndClose())
        return errorText(error);
    if (const int error = file->renameTo(target))
        return errorText(error);

    // The rename itself is only durable once the folder is.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}
