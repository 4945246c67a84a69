#include "boardplacement.h"

namespace BoardPlacement
{

QPoint flushTopRight(const QRect &availableArea, const QSize &windowSize)
{
    return QPoint(availableArea.x() + availableArea.width() - windowSize.width(),
                  availableArea.y());
}

} // namespace BoardPlacement
