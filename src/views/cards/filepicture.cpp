#include "filepicture.h"

#include "artwork/appiconprovider.h"
#include "model/clippingitem.h"

#include <QCache>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>

namespace FilePicture
{

namespace
{

QString existingPath(const ClippingItem &item)
{
    if (!item.fileName || !item.filePath || item.fileName->toLower().endsWith(u".sketch"))
        return QString();
    const QString path = *item.filePath + QLatin1Char('/') + *item.fileName;
    return QFileInfo::exists(path) ? path : QString();
}

QImage drawnDocument()
{
    static const QImage image = AppIconProvider::drawSketchDocumentIcon(2);
    return image;
}

} // namespace

bool usesInstalledIcon(const ClippingItem &item)
{
    return !existingPath(item).isEmpty();
}

QImage picture(const ClippingItem &item, QSize pixelSize)
{
    const QString path = existingPath(item);
    if (path.isEmpty())
        return drawnDocument();
    static QCache<QString, QImage> icons(64);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    const QString key = type.name() + QLatin1Char('|') + QString::number(pixelSize.width()) +
                        QLatin1Char('x') + QString::number(pixelSize.height());
    if (const QImage *cached = icons.object(key))
        return *cached;
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    // Without an icon in the theme: a page that names no other format.
    static const QImage plainDocument = AppIconProvider::drawPlainDocumentIcon(2);
    const QImage image =
        icon.isNull() ? plainDocument : icon.pixmap(pixelSize.expandedTo(QSize(1, 1))).toImage();
    icons.insert(key, new QImage(image));
    return image;
}

} // namespace FilePicture
