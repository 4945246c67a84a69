#pragma once

#include <QRectF>

class QPainter;
struct Theme;

// The transparency pattern behind images: squares of 9 from the rectangle's top-left corner.
namespace Checkerboard
{

constexpr qreal squareSize = 9;
void paint(QPainter &painter, const QRectF &rect, const Theme &theme);

} // namespace Checkerboard
