#include "cardimagecache.h"

#include <QBuffer>
#include <QImageReader>

namespace
{

// Named where the data says so: unnamed, the reader loads every image plugin to ask each
// whether it knows the data, which costs the board's first frame several milliseconds.
QByteArray formatOf(const QByteArray &data)
{
    if (data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8)))
        return QByteArrayLiteral("png");
    if (data.startsWith(QByteArrayView("II*\0", 4)) || data.startsWith(QByteArrayView("MM\0*", 4)))
        return QByteArrayLiteral("tiff");
    return {};
}

} // namespace

CardImageCache::CardImageCache(qsizetype maxBytes) : m_images(maxBytes) {}

CardImageCache &CardImageCache::shared()
{
    static CardImageCache cache;
    return cache;
}

QSize CardImageCache::imageSize(const QUuid &id, const QByteArray &data)
{
    if (m_undecodable.contains(id))
        return QSize();
    const auto known = m_sizes.constFind(id);
    if (known != m_sizes.constEnd())
        return *known;
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, formatOf(data));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        m_undecodable.insert(id);
        return QSize();
    }
    m_sizes.insert(id, size);
    return size;
}

QImage CardImageCache::image(const QUuid &id, const QByteArray &data, QSize pixelSize)
{
    if (pixelSize.isEmpty() || m_undecodable.contains(id))
        return QImage();
    const Key key{id, pixelSize};
    if (const QImage *cached = m_images.object(key))
        return *cached;

    ++m_decodeCount;
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, formatOf(data));
    reader.setScaledSize(pixelSize);
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        m_undecodable.insert(id);
        return QImage();
    }
    if (decoded.size() != pixelSize)
        decoded = decoded.scaled(pixelSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    decoded.convertTo(QImage::Format_ARGB32_Premultiplied);
    m_images.insert(key, new QImage(decoded), decoded.sizeInBytes());
    return decoded;
}

void CardImageCache::clear()
{
    m_images.clear();
    m_sizes.clear();
    m_undecodable.clear();
    m_decodeCount = 0;
}
