#include "desktopentryfile.h"

#include <QDir>
#include <QFile>

namespace DesktopEntryFile
{

QHash<QString, QString> readMainGroup(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseMainGroup(file.readAll());
}

QHash<QString, QString> parseMainGroup(const QByteArray &text)
{
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) {
            if (inMainGroup)
                break;
            inMainGroup = line == u"[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

QString desktopFileID(const QString &folder, const QString &path)
{
    return QDir(folder).relativeFilePath(path).replace(u'/', u'-');
}

} // namespace DesktopEntryFile
