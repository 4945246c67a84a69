#include "storewriter.h"

#include "model/clippingjson.h"
#include "privatefiles.h"

#include <QCoreApplication>
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
#include <utility>
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
    int sync() { return ::fsync(m_fd) == 0 ? 0 : errno; }
    // The descriptor, kept open for whoever takes it.
    int release() { return std::exchange(m_fd, -1); }
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

// Copies bytes of one file into another at its current offset, in the kernel where it can.
// 0 or an errno value.
int copyRange(int from, off_t begin, off_t end, int to)
{
    off_t at = begin;
    while (at < end) {
        const ssize_t copied = ::copy_file_range(from, &at, to, nullptr, size_t(end - at), 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return EIO;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return errno;
        // File systems that cannot copy this way get the bytes through memory.
        std::vector<char> buffer(size_t(std::min<off_t>(end - at, 1 << 20)));
        while (at < end) {
            const ssize_t got = ::pread(
                from, buffer.data(), size_t(std::min<off_t>(end - at, off_t(buffer.size()))), at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return got == 0 ? EIO : errno;
            std::vector<iovec> part{{buffer.data(), size_t(got)}};
            if (const int error = writeAll(to, part))
                return error;
            at += got;
        }
    }
    return 0;
}

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
        m_wake.wait(lock, [this] { return m_waiting || m_stopping || !m_retired.empty(); });
        if (!m_retired.empty()) {
            std::vector<std::shared_ptr<SavedFile>> retired = std::exchange(m_retired, {});
            lock.unlock();
            retired.clear();
            lock.lock();
            continue;
        }
        if (!m_waiting)
            return;
        Snapshot snapshot = std::move(*m_waiting);
        m_waiting.reset();
        m_writing = true;
        lock.unlock();
        Layout layout;
        const QString failure = writeFile(m_path, snapshot, &layout);
        // The pieces go before the lock is taken again: freeing large ones takes time.
        snapshot = {};
        lock.lock();
        m_writing = false;
        m_outcome = failure;
        if (failure.isEmpty())
            m_layout = std::move(layout);
        m_done.notify_all();
        QMetaObject::invokeMethod(
            &m_context, [this] { report(); }, Qt::QueuedConnection);
    }
}

void StoreWriter::retire(std::shared_ptr<SavedFile> file)
{
    {
        const std::lock_guard lock(m_mutex);
        m_retired.push_back(std::move(file));
    }
    m_wake.notify_one();
}

std::optional<StoreWriter::Layout> StoreWriter::takeLayout()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_layout, std::nullopt);
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

QString StoreWriter::writeFile(const QString &path, const Snapshot &snapshot, Layout *layout)
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
    // after their batch is written. Records unchanged since a file written before are copied
    // from it, a run of neighbours at once.
    static constexpr char head[] = "{\"items\":[";
    static constexpr char middle[] = "],\"collections\":[";
    static constexpr char tail[] = "]}";
    static constexpr char comma[] = ",";
    static constexpr qsizetype batchBytes = 64 * 1024 * 1024;

    std::vector<iovec> parts;
    QByteArrayList encodedHere;
    qsizetype batchSize = 0;
    qint64 offset = 0;
    const auto add = [&](const char *data, qsizetype size) {
        parts.push_back(iovec{const_cast<char *>(data), size_t(size)});
        batchSize += size;
        offset += size;
    };
    const auto writeParts = [&] {
        const int error = writeAll(file->fd(), parts);
        parts.clear();
        encodedHere.clear();
        batchSize = 0;
        return error;
    };
    if (layout)
        layout->records.reserve(snapshot.items.size());

    add(head, sizeof head - 1);
    for (qsizetype i = 0; i < snapshot.items.size(); ++i) {
        const Piece &piece = snapshot.items[i];
        if (i > 0)
            add(comma, 1);
        if (piece.file) {
            if (!piece.file->unchanged()) {
                piece.file->markChanged();
                return QCoreApplication::translate("StoreWriter",
                                                   "the store file was changed by another program");
            }
            // Neighbours in the old file, one comma apart, are one range.
            const qint64 begin = piece.span.begin;
            qsizetype last = i;
            while (last + 1 < snapshot.items.size() &&
                   snapshot.items[last + 1].file == piece.file &&
                   snapshot.items[last + 1].span.begin == snapshot.items[last].span.end + 1)
                ++last;
            for (qsizetype k = i; layout && k <= last; ++k) {
                const StoreOutline::Span &span = snapshot.items[k].span;
                layout->records.append({snapshot.items[k].id,
                                        {offset + span.begin - begin, offset + span.end - begin}});
            }
            const qint64 end = snapshot.items[last].span.end;
            if (const int error = writeParts())
                return errorText(error);
            if (const int error = copyRange(piece.file->fd(), begin, end, file->fd()))
                return errorText(error);
            offset += end - begin;
            i = last;
            continue;
        }
        const QByteArray &json =
            piece.large >= 0
                ? encodedHere.emplace_back(ClippingJson::encode(snapshot.large[piece.large]))
                : piece.json;
        if (layout)
            layout->records.append({piece.id, {offset, offset + json.size()}});
        add(json.constData(), json.size());
        if (batchSize >= batchBytes) {
            if (const int error = writeParts())
                return errorText(error);
        }
    }
    add(middle, sizeof middle - 1);
    add(snapshot.collections.constData(), snapshot.collections.size());
    add(tail, sizeof tail - 1);
    if (const int error = writeParts())
        return errorText(error);
    if (const int error = file->sync())
        return errorText(error);
    if (const int error = file->renameTo(target))
        return errorText(error);
    if (layout) {
        layout->generation = snapshot.generation;
        layout->file = SavedFile::adopt(file->release());
    }

    // The rename itself is only durable once the folder is.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}
