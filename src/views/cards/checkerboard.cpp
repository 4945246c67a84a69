#include "checkerboard.h"

#include "views/foundation/theme.h"

#include <QPainter>
#include <cmath>

namespace Checkerboard
{

void paint(QPainter &painter, const QRectF &rect, const Theme &theme)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.fillRect(rect, theme.checkerFirst);
    const int columns = int(std::ceil(rect.width() / squareSize));
    const int rows = int(std::ceil(rect.height() / squareSize));
    for (int r = 0; r < rows; ++r) {
        for (int c = (r + 1) % 2; c < columns; c += 2)
            painter.fillRect(QRectF(rect.left() + c * squareSize, rect.top() + r * squareSize,
                                    squareSize, squareSize),
                             theme.checkerSecond);
    }
    painter.restore();
}

} // namespace Checkerboard
