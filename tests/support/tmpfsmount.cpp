#include "tmpfsmount.h"

#include <QFile>
#include <sys/mount.h>
#include <unistd.h>

TmpfsMount::TmpfsMount(const QString &path, qint64 bytes) : m_path(QFile::encodeName(path))
{
    if (::geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    m_mounted = ::mount("tmpfs", m_path.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        options.constData()) == 0;
}

TmpfsMount::~TmpfsMount()
{
    // Detached, so that a file still open in it cannot keep the mount alive.
    if (m_mounted)
        ::umount2(m_path.constData(), MNT_DETACH);
}
