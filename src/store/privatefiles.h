#pragma once

#include <QString>

// Files and folders that hold the user's clippings or key: readable by the owner alone.
namespace PrivateFiles
{

// Creates the folder and its parents; the folder itself gets mode 0700. False on failure.
bool makePrivateDirectory(const QString &path);
// Creates an empty file with mode 0600 when there is none; narrows the mode of an existing one.
void touchPrivateFile(const QString &path);
void restrictToOwner(const QString &filePath);
// Makes the file's last rename durable: it is only once its folder is on disk.
void syncFolderOf(const QString &filePath);

} // namespace PrivateFiles
