#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace PrivateFiles
