#pragma once

#include "artwork/applicationiconlookup.h"

#include <QStringList>

// Installed applications as the desktop entries (.desktop files) of the XDG application
// folders; the bundle id is the desktop-file id, with or without its ".desktop" suffix.
class DesktopEntryIconLookup final : public ApplicationIconLookup
{
public:
    // Folders in order of precedence; by default $XDG_DATA_HOME/applications, then those of
    // $XDG_DATA_DIRS.
    explicit DesktopEntryIconLookup(QStringList applicationFolders = defaultFolders());

    static QStringList defaultFolders();

    QString iconName(const QString &bundleID) const override;

private:
    QStringList m_folders;
};
