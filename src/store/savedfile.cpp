#include "savedfile.h"

#include "model/storeoutline.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

qint64 modifiedNanoseconds(const struct stat &status)
{
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

} // namespace

SavedFile::SavedFile(int fd) : m_fd(fd)
{
    struct stat status = {};
    if (::fstat(m_fd, &status) == 0) {
        m_size = status.st_size;
        m_modified = modifiedNanoseconds(status);
    }
}

SavedFile::~SavedFile()
{
    unmap();
    ::close(m_fd);
}

std::shared_ptr<SavedFile> SavedFile::open(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<SavedFile>(new SavedFile(fd));
}

std::shared_ptr<SavedFile> SavedFile::adopt(int fd)
{
    return std::shared_ptr<SavedFile>(new SavedFile(fd));
}

bool SavedFile::map()
{
    if (m_map)
        return true;
    const qsizetype page = qsizetype(::sysconf(_SC_PAGESIZE));
    const qsizetype length =
        (qsizetype(m_size) + StoreOutline::paddingBytes + page - 1) / page * page;
    // Anonymous zero pages first, then the file over their start: the room behind the text
    // reads as zeros even when the file ends on a page boundary.
    void *area = ::mmap(nullptr, size_t(length), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED)
        return false;
    if (m_size > 0 &&
        ::mmap(area, size_t(m_size), PROT_READ, MAP_PRIVATE | MAP_FIXED, m_fd, 0) == MAP_FAILED) {
        ::munmap(area, size_t(length));
        return false;
    }
    m_map = static_cast<const char *>(area);
    m_mapped = length;
    return true;
}

void SavedFile::unmap()
{
    if (m_map)
        ::munmap(const_cast<char *>(m_map), size_t(m_mapped));
    m_map = nullptr;
    m_mapped = 0;
}

bool SavedFile::unchanged() const
{
    struct stat status = {};
    return !m_changed && ::fstat(m_fd, &status) == 0 && status.st_size == m_size &&
           modifiedNanoseconds(status) == m_modified;
}
