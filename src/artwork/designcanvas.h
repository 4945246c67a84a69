#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

class QPainter;

// Helpers for artwork that is designed on a canvas of abstract units with the origin at the
// bottom left (y grows upwards) and rendered at any pixel size.
namespace DesignCanvas
{

// A transparent image of `size` points at the given device pixel ratio.
QImage transparentImage(QSizeF size, qreal devicePixelRatio);

// Maps a design of `design` units onto the whole of the painter's device (no device pixel
// ratio of its own), flips y and turns on antialiasing.
void begin(QPainter &painter, QSizeF design);

inline QColor srgb(qreal red, qreal green, qreal blue, qreal alpha = 1.0)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha));
}
inline QColor grey(qreal white, qreal alpha = 1.0)
{
    return srgb(white, white, white, alpha);
}

QPainterPath roundedRect(const QRectF &rect, qreal radius);

// The rectangle moved and sized so that its edges fall on whole device pixels (at least one
// pixel high and wide) under the painter's current transform.
QRectF snappedToPixels(const QPainter &painter, const QRectF &rect);
QPainterPath ellipse(const QRectF &rect);

// The outline of `text` set in `font` at `points` design units, with its baseline starting at
// `origin`, upright in the flipped design coordinates.
QPainterPath textPath(const QString &text, QFont font, qreal points, QPointF origin);
// Metrics of `font` at `points` design units.
qreal textWidth(const QString &text, QFont font, qreal points);
qreal descent(QFont font, qreal points);

} // namespace DesignCanvas
