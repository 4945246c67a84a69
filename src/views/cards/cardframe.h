#pragma once

#include "cardtier.h"

#include <QColor>
#include <QRectF>

class QPainter;
struct Theme;

// Everything of a card that does not depend on its text: shadow, fill, bands, dividers and
// border. Cards of one grid share their size, so the frame is drawn once and copied after.
struct CardFrame {
    QRectF rect;
    CardTier tier = CardTier::Standard;
    QColor base;
    bool isSelected = false;
    bool hasCodeBody = false;

    void paint(QPainter &painter, const Theme &theme) const;
    // Draws without the kept copy (for the copy itself and for tests).
    void paintDirect(QPainter &painter, const Theme &theme) const;

    static constexpr qreal cornerRadius = 10;
};
