#pragma once

#include <QList>
#include <QString>

// The application icon set: the logo as PNG files of the sizes an icon set needs.
namespace IconsetExport
{

struct Entry {
    QString fileName;
    int pixels;
};

// The files in the order they are written.
const QList<Entry> &entries();

// Creates the folder with its parents and writes every file into it. Failures skip the file
// they concern; nothing is reported.
void write(const QString &folder);

} // namespace IconsetExport
