#include "privatehome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

void usePrivateXdgFolders(const QTemporaryDir &home)
{
    for (const char *name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, path.toLocal8Bit());
    }
}
