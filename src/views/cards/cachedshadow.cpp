#include "cachedshadow.h"

#include "artwork/softshadow.h"
#include "screenfulbytes.h"

#include <QCache>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <memory>

namespace CachedShadow
{

namespace
{

struct Key {
    int width;
    int height;
    int radius;
    int blur;
    QRgb colour;
    int scale;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &key, size_t seed = 0)
{
    return qHashMulti(seed, key.width, key.height, key.radius, key.blur, key.colour, key.scale);
}

struct Picture {
    QImage image;
    qreal margin = 0;
};

void draw(QPainter &painter, const QRectF &rect, QPointF offset, const Picture &picture)
{
    const QRectF target(rect.topLeft() + offset - QPointF(picture.margin, picture.margin),
                        rect.size() + QSizeF(2 * picture.margin, 2 * picture.margin));
    painter.drawImage(target, picture.image);
}

} // namespace

void paint(QPainter &painter, const QRectF &rect, qreal cornerRadius, const QColor &colour,
           QPointF offset, qreal blurRadius)
{
    if (rect.isEmpty() || colour.alpha() == 0)
        return;
    // The board's own shadow is as large as the board, which may be larger than its grid.
    static QCache<Key, Picture> cache(screenBytes() / 2);
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    // Quantised to quarter points, so that cards of one grid share their shadow.
    const auto quarter = [](qreal value) { return int(std::lround(value * 4)); };
    const Key key{quarter(rect.width()), quarter(rect.height()), quarter(cornerRadius),
                  quarter(blurRadius),   colour.rgba(),          quarter(scale)};
    Picture *picture = cache.object(key);
    if (!picture) {
        auto made = std::make_unique<Picture>();
        made->margin = std::ceil(blurRadius * 1.5) + 2;
        const QSizeF size = rect.size() + QSizeF(2 * made->margin, 2 * made->margin);
        made->image = QImage((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
        made->image.fill(Qt::transparent);
        QPainter shadowPainter(&made->image);
        shadowPainter.setRenderHint(QPainter::Antialiasing);
        shadowPainter.scale(scale, scale);
        QPainterPath path;
        path.addRoundedRect(QRectF(QPointF(made->margin, made->margin), rect.size()), cornerRadius,
                            cornerRadius);
        SoftShadow{colour, QPointF(), blurRadius}.paint(shadowPainter, path);
        shadowPainter.end();
        const qsizetype cost = made->image.sizeInBytes();
        // Too large to keep, it is still drawn this once.
        if (cost > cache.maxCost()) {
            draw(painter, rect, offset, *made);
            return;
        }
        picture = made.get();
        cache.insert(key, made.release(), cost);
    }
    draw(painter, rect, offset, *picture);
}

} // namespace CachedShadow
