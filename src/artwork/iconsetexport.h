#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The application icon set: the logo as PNG files of the sizes an icon set needs.
namespace IconsetExport
{

struct Entry {
    QString fileName;
    int pixels;
};

// The files in the order they are written.
const QList<Entry> &entries();

// Creates the folder with its parents and writes every file into it. The files that could not
// be written, each with the reason; empty on success.
QStringList write(const QString &folder);

} // namespace IconsetExport
