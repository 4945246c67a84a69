#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

class QPainter;

// A soft shadow under a rounded rectangle. Blurring is far too slow for every paint, so each
// shape, colour and scale is blurred once and the picture reused.
namespace CachedShadow
{

void paint(QPainter &painter, const QRectF &rect, qreal cornerRadius, const QColor &colour,
           QPointF offset, qreal blurRadius);

} // namespace CachedShadow
