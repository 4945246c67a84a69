#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// One line of text drawn from a shaped copy kept per text and font: a board repaints the same
// labels over and over, and shaping them is most of what a label costs.
namespace CachedText
{

// Draws text in the rectangle, aligned as asked (left or centred, vertically centred), clipped
// to nothing: the caller elides beforehand.
void draw(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font,
          const QColor &colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// Draws text with its top-left corner at the point.
void drawAt(QPainter &painter, QPointF topLeft, const QString &text, const QFont &font,
            const QColor &colour);

} // namespace CachedText
