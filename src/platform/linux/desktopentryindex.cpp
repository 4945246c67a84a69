#include "desktopentryindex.h"

#include "platform/linux/desktopentryfile.h"

#include <QDirIterator>
#include <QSet>
#include <QStandardPaths>

namespace
{

// Nothing for an entry that is hidden, not an application or has no name.
std::optional<DesktopEntryIndex::Entry> readEntry(const QString &path, const QString &id)
{
    const QHash<QString, QString> keys = DesktopEntryFile::readMainGroup(path);
    DesktopEntryIndex::Entry entry{.id = id,
                                   .name = keys.value(QStringLiteral("Name")),
                                   .startupWMClass = keys.value(QStringLiteral("StartupWMClass"))};
    if (keys.value(QStringLiteral("Hidden")) == u"true" ||
        keys.value(QStringLiteral("Type")) != u"Application" || entry.name.isEmpty())
        return std::nullopt;
    return entry;
}

QString lastDottedPart(const QString &id)
{
    return id.mid(id.lastIndexOf(u'.') + 1);
}

} // namespace

DesktopEntryIndex::DesktopEntryIndex(QStringList applicationFolders)
    : m_folders(std::move(applicationFolders))
{
}

QStringList DesktopEntryIndex::defaultFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

void DesktopEntryIndex::scan()
{
    m_scanned = true;
    QSet<QString> seen;
    for (const QString &folder : m_folders) {
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                           QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (files.hasNext()) {
            const QString path = files.next();
            QString id = DesktopEntryFile::desktopFileID(folder, path);
            id.chop(int(sizeof(".desktop") - 1));
            if (seen.contains(id))
                continue;
            seen.insert(id);
            if (std::optional<Entry> entry = readEntry(path, id))
                m_entries.append(std::move(*entry));
        }
    }
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::find(const QString &className,
                                                                const QString &instanceName)
{
    const QString key = className + u'\n' + instanceName;
    if (const auto found = m_found.constFind(key); found != m_found.cend())
        return *found;
    if (!m_scanned)
        scan();

    const QStringList names{className, instanceName};
    const auto firstWhere = [&](auto matches) -> std::optional<Entry> {
        for (const QString &name : names) {
            if (name.isEmpty())
                continue;
            for (const Entry &entry : std::as_const(m_entries)) {
                if (matches(entry, name))
                    return entry;
            }
        }
        return std::nullopt;
    };
    std::optional<Entry> entry = firstWhere(
        [](const Entry &entry, const QString &name) { return entry.startupWMClass == name; });
    if (!entry)
        entry = firstWhere([](const Entry &entry, const QString &name) {
            return entry.id.compare(name, Qt::CaseInsensitive) == 0;
        });
    if (!entry)
        entry = firstWhere([](const Entry &entry, const QString &name) {
            return lastDottedPart(entry.id).compare(name, Qt::CaseInsensitive) == 0;
        });
    m_found.insert(key, entry);
    return entry;
}
