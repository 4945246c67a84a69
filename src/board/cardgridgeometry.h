#pragma once

#include <QSizeF>

// Layout of the board's card grid for a given grid area: all cards in one scrolling grid,
// sized so that rows × columns cards fill the visible area.
struct CardGridGeometry {
    static constexpr double spacing = 10;
    static constexpr double horizontalPadding = 12;
    static constexpr double verticalPadding = 10;

    int rows = 1;
    int columns = 1;
    QSizeF cardSize;

    // gridRows and gridColumns below 1 count as 1.
    static CardGridGeometry forArea(QSizeF area, int gridRows, int gridColumns);

    bool operator==(const CardGridGeometry &) const = default;
};
