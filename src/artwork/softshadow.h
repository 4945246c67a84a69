#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// A blurred drop shadow of a filled path. QPainter has none of its own, so the shape's
// coverage is rendered into a mask, blurred and composited under the shape.
struct SoftShadow {
    QColor color;
    QPointF offset; // in the painter's current coordinates
    qreal blur = 0; // blur radius in the painter's current coordinates

    // Draws the shadow of path (in the painter's current coordinates) onto the painter's
    // device. The painter must draw onto a device without a device pixel ratio of its own.
    void paint(QPainter &painter, const QPainterPath &path) const;
};
