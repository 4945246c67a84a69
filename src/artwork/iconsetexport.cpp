#include "iconsetexport.h"

#include "appiconprovider.h"
#include "pngencoding.h"

#include <QDir>
#include <QHash>
#include <QSaveFile>

namespace IconsetExport
{

const QList<Entry> &entries()
{
    static const QList<Entry> list{
        {QStringLiteral("icon_16x16.png"), 16},    {QStringLiteral("icon_16x16@2x.png"), 32},
        {QStringLiteral("icon_32x32.png"), 32},    {QStringLiteral("icon_32x32@2x.png"), 64},
        {QStringLiteral("icon_128x128.png"), 128}, {QStringLiteral("icon_128x128@2x.png"), 256},
        {QStringLiteral("icon_256x256.png"), 256}, {QStringLiteral("icon_256x256@2x.png"), 512},
        {QStringLiteral("icon_512x512.png"), 512}, {QStringLiteral("icon_512x512@2x.png"), 1024},
    };
    return list;
}

QStringList write(const QString &folder)
{
    QDir().mkpath(folder);
    const QDir directory(folder);
    QStringList failures;
    // Several files share a size; each size is drawn and encoded once.
    QHash<int, std::optional<QByteArray>> encoded;
    for (const Entry &entry : entries()) {
        auto png = encoded.constFind(entry.pixels);
        if (png == encoded.constEnd())
            png = encoded.insert(
                entry.pixels,
                PngEncoding::encode(AppIconProvider::drawBrandLogoImage(entry.pixels)));
        const QString path = directory.filePath(entry.fileName);
        if (!*png) {
            failures.append(path + QStringLiteral(": the picture could not be encoded"));
            continue;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(**png) != (*png)->size() ||
            !file.commit())
            failures.append(path + QStringLiteral(": ") + file.errorString());
    }
    return failures;
}

} // namespace IconsetExport
