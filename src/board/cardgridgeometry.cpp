#include "cardgridgeometry.h"

#include <algorithm>

CardGridGeometry CardGridGeometry::forArea(QSizeF area, int gridRows, int gridColumns)
{
    CardGridGeometry geometry;
    geometry.rows = std::max(gridRows, 1);
    geometry.columns = std::max(gridColumns, 1);
    // A cramped area still gets cards of a usable size; the grid scrolls instead.
    constexpr double smallestContent = 100;
    const double contentWidth = std::max(
        area.width() - 2 * horizontalPadding - spacing * (geometry.columns - 1), smallestContent);
    const double contentHeight = std::max(
        area.height() - 2 * verticalPadding - spacing * (geometry.rows - 1), smallestContent);
    geometry.cardSize = QSizeF(contentWidth / geometry.columns, contentHeight / geometry.rows);
    return geometry;
}
