#include "desktopentryiconlookup.h"

#include "platform/linux/desktopentryfile.h"

#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

DesktopEntryIconLookup::DesktopEntryIconLookup(QStringList applicationFolders)
    : m_folders(std::move(applicationFolders))
{
}

QStringList DesktopEntryIconLookup::defaultFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

QString DesktopEntryIconLookup::iconName(const QString &bundleID) const
{
    QString id = bundleID.trimmed();
    if (!id.endsWith(u".desktop"))
        id += u".desktop";
    // An id names a file inside the folders and nothing outside them.
    if (id.size() <= 8 || id.contains(u'/') || id.startsWith(u'.'))
        return QString();

    for (const QString &folder : m_folders) {
        QString found;
        const QString direct = folder + u'/' + id;
        if (QFile::exists(direct)) {
            found = direct;
        } else if (id.contains(u'-')) {
            // "kde-konsole.desktop" may stand as kde/konsole.desktop.
            QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                               QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
            while (files.hasNext() && found.isEmpty()) {
                const QString path = files.next();
                if (DesktopEntryFile::desktopFileID(folder, path) == id)
                    found = path;
            }
        }
        if (found.isEmpty())
            continue;
        // The first entry with the id decides, even when it hides the application.
        const QHash<QString, QString> keys = DesktopEntryFile::readMainGroup(found);
        if (keys.value(QStringLiteral("Hidden")) == u"true")
            return QString();
        return keys.value(QStringLiteral("Icon"));
    }
    return QString();
}
