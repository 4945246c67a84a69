#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace PrivateFiles
{

bool makePrivateDirectory(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

void touchPrivateFile(const QString &path)
{
    QFile file(path);
    if (!file.exists() &&
        !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        return;
    restrictToOwner(path);
}

void restrictToOwner(const QString &filePath)
{
    if (QFileInfo(filePath).isFile())
        QFile::setPermissions(filePath, QFile::ReadOwner | QFile::WriteOwner);
}

void syncFolderOf(const QString &filePath)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace PrivateFiles
