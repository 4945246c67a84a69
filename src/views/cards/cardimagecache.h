#pragma once

#include "screenfulbytes.h"

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QSizeF>
#include <QUuid>

// Decoded clipping images, scaled for the card that shows them, by clipping and pixel size.
// Image data that does not decode is remembered too, so that no paint tries again.
class CardImageCache
{
public:
    // Images are a part of the cards on screen.
    explicit CardImageCache(qsizetype maxBytes = screenfulBytes());

    static CardImageCache &shared();

    // The natural size of the image, without decoding its pixels; empty when the data is not an
    // image.
    QSize imageSize(const QUuid &id, const QByteArray &data);
    // The image scaled to pixelSize; null when the data does not decode.
    QImage image(const QUuid &id, const QByteArray &data, QSize pixelSize);
    // How often data was decoded, for tests and benchmarks.
    int decodeCount() const { return m_decodeCount; }
    void clear();

private:
    struct Key {
        QUuid id;
        QSize size;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &key, size_t seed)
    {
        return qHashMulti(seed, key.id, key.size.width(), key.size.height());
    }

    QCache<Key, QImage> m_images;
    QHash<QUuid, QSize> m_sizes;
    QSet<QUuid> m_undecodable;
    int m_decodeCount = 0;
};
