#include "designcanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace
{

// Text is laid out at a large whole pixel size and scaled, so fractional point sizes stay
// exact and glyph outlines are never hinted to a grid that the scaling would distort.
constexpr int layoutPixelSize = 200;

QFont layoutFont(QFont font)
{
    font.setPixelSize(layoutPixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

namespace DesignCanvas
{

QImage transparentImage(QSizeF size, qreal devicePixelRatio)
{
    const QSize pixels(std::max(1, int(std::lround(size.width() * devicePixelRatio))),
                       std::max(1, int(std::lround(size.height() * devicePixelRatio))));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void begin(QPainter &painter, QSizeF design)
{
    const QPaintDevice *device = painter.device();
    const qreal sx = device->width() / design.width();
    const qreal sy = device->height() / design.height();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(QTransform(sx, 0, 0, -sy, 0, device->height()));
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QRectF snappedToPixels(const QPainter &painter, const QRectF &rect)
{
    const QTransform toDevice = painter.transform();
    const QRectF device = toDevice.mapRect(rect);
    const qreal left = std::round(device.left());
    const qreal top = std::round(device.top());
    const qreal right = std::max(left + 1, std::round(device.right()));
    const qreal bottom = std::max(top + 1, std::round(device.bottom()));
    return toDevice.inverted().mapRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
}

QPainterPath ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect);
    return path;
}

QPainterPath textPath(const QString &text, QFont font, qreal points, QPointF origin)
{
    QPainterPath glyphs;
    glyphs.addText(QPointF(0, 0), layoutFont(std::move(font)), text);
    const qreal scale = points / layoutPixelSize;
    return QTransform(scale, 0, 0, -scale, origin.x(), origin.y()).map(glyphs);
}

qreal textWidth(const QString &text, QFont font, qreal points)
{
    return QFontMetricsF(layoutFont(std::move(font))).horizontalAdvance(text) * points /
           layoutPixelSize;
}

qreal descent(QFont font, qreal points)
{
    return QFontMetricsF(layoutFont(std::move(font))).descent() * points / layoutPixelSize;
}

} // namespace DesignCanvas
