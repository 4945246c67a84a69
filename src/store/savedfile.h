#pragma once

#include <QByteArray>
#include <atomic>
#include <memory>
#include <string_view>
#include <sys/types.h>

// A store file as written, held open so that records can be copied out of it into the next
// one instead of being kept in memory. A file renamed over stays readable through it.
class SavedFile
{
public:
    // Nothing when the path cannot be opened or is no regular file.
    static std::shared_ptr<SavedFile> open(const QByteArray &path);
    // Takes over a descriptor of a file just written.
    static std::shared_ptr<SavedFile> adopt(int fd);
    ~SavedFile();
    SavedFile(const SavedFile &) = delete;
    SavedFile &operator=(const SavedFile &) = delete;

    int fd() const { return m_fd; }
    qint64 size() const { return m_size; }

    // Maps the file read-only with zeroed room behind it, so that a parser can read past its
    // end. The pages are the file's own: clean, and given back under memory pressure.
    bool map();
    std::string_view text() const { return {m_map, size_t(m_size)}; }
    qsizetype room() const { return m_mapped - qsizetype(m_size); }
    void unmap();

    // False once the file was changed by anyone since it was opened or written: its records
    // can then no longer be trusted to be what was read. Checked before each copy.
    bool unchanged() const;
    // Remembered, so that the store stops copying from it.
    void markChanged() { m_changed = true; }
    bool knownChanged() const { return m_changed; }

private:
    explicit SavedFile(int fd);

    int m_fd;
    qint64 m_size = 0;
    qint64 m_modified = 0;
    const char *m_map = nullptr;
    qsizetype m_mapped = 0;
    std::atomic<bool> m_changed = false;
};
