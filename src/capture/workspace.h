#pragma once

#include <QString>
#include <QUrl>

// The desktop's handlers for links and files.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // Opens a link in the browser or a file in its application.
    virtual void openURL(const QUrl &url) = 0;
    // Shows the file selected in the file manager.
    virtual void revealFile(const QString &path) = 0;
};
