#pragma once

#include "capture/workspace.h"

#include <QObject>

// Links and files through the desktop's default handlers; files are revealed through the file
// manager's D-Bus service, or by opening their folder where no file manager offers it.
class DesktopWorkspace final : public QObject, public Workspace
{
    Q_OBJECT

public:
    explicit DesktopWorkspace(QObject *parent = nullptr);

    void openURL(const QUrl &url) override;
    void revealFile(const QString &path) override;
};
