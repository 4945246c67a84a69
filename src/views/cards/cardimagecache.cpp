#include "cardimagecache.h"

#include <QBuffer>
#include <QImageReader>

namespace
{

// The format, where the data says which: the reader would otherwise load every image plugin
// to ask each whether it knows the data, several milliseconds of the board's first frame.
void nameFormat(QImageReader &reader, const QByteArray &data)
{
    QByteArray format;
    if (data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8)))
        format = QByteArrayLiteral("png");
    else if (data.startsWith(QByteArrayView("II*\0", 4)) ||
             data.startsWith(QByteArrayView("MM\0*", 4)))
        format = QByteArrayLiteral("tiff");
    if (format.isEmpty())
        return;
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
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
    QImageReader reader(&buffer);
    nameFormat(reader, data);
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
    QImageReader reader(&buffer);
    nameFormat(reader, data);
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
