#include "readonlyfolder.h"

#include <QFile>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFolder::ReadOnlyFolder(const QString &path) : m_path(QFile::encodeName(path))
{
    if (::geteuid() != 0) {
        if (::chmod(m_path.constData(), 0500) == 0)
            m_method = Method::Permissions;
    } else if (setImmutable(true)) {
        m_method = Method::Immutable;
    } else if (::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0) {
        m_method = Method::Mount;
        ::mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    switch (m_method) {
    case Method::None:
        break;
    case Method::Permissions:
        ::chmod(m_path.constData(), 0700);
        break;
    case Method::Immutable:
        setImmutable(false);
        break;
    case Method::Mount:
        ::umount2(m_path.constData(), MNT_DETACH);
        break;
    }
}

bool ReadOnlyFolder::isReadOnly() const
{
    const QByteArray probe = m_path + "/.probe";
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    ::close(fd);
    ::unlink(probe.constData());
    return false;
}

bool ReadOnlyFolder::setImmutable(bool immutable) const
{
    const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The kernel reads and writes an int here, whatever the ioctl's declared type says.
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}
