#include "residentmemory.h"

#include <QFile>

namespace
{

long kilobytesOf(const QString &file, const QByteArray &field)
{
    QFile status(file);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

long residentKilobytes(const QString &process)
{
    return kilobytesOf(QStringLiteral("/proc/%1/status").arg(process), "VmRSS:");
}

long proportionalKilobytes(const QString &process)
{
    return kilobytesOf(QStringLiteral("/proc/%1/smaps_rollup").arg(process), "Pss:");
}

long anonymousKilobytes(const QString &process)
{
    return kilobytesOf(QStringLiteral("/proc/%1/smaps_rollup").arg(process), "Anonymous:");
}
