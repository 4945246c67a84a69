#pragma once

#include <QHash>
#include <QString>

// One .desktop file as the XDG desktop-entry format defines it.
namespace DesktopEntryFile
{

// The keys of the [Desktop Entry] group; localised variants such as Name[de] are keys of
// their own. Empty when the file cannot be read.
QHash<QString, QString> readMainGroup(const QString &path);
// The same from the file's bytes.
QHash<QString, QString> parseMainGroup(const QByteArray &text);

// The desktop-file id of a file below an applications folder: its relative path with the
// folder separators turned into dashes ("kde/konsole.desktop" is "kde-konsole.desktop").
QString desktopFileID(const QString &folder, const QString &path);

} // namespace DesktopEntryFile
