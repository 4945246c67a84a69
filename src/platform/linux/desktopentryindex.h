#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The installed applications' .desktop entries, for naming a window's application from its
// WM_CLASS.
class DesktopEntryIndex
{
public:
    struct Entry {
        // The desktop-file id without ".desktop" (folders below applications/ joined by "-").
        QString id;
        QString name;
        QString startupWMClass;

        bool operator==(const Entry &) const = default;
    };

    // Folders searched in order; an id found earlier hides the same id found later.
    explicit DesktopEntryIndex(QStringList applicationFolders);
    // The user's and the system's applications folders.
    static QStringList defaultFolders();

    // By StartupWMClass, then by the desktop-file id (whole, or its last dotted part), trying
    // the WM_CLASS class name before the instance name; ids compare ignoring case.
    std::optional<Entry> find(const QString &className, const QString &instanceName);

private:
    void scan();

    QStringList m_folders;
    bool m_scanned = false;
    QList<Entry> m_entries;
    QHash<QString, std::optional<Entry>> m_found;
};
