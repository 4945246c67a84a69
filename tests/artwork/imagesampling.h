#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <functional>

// Reading rendered artwork back in the y-up design coordinates it was drawn in.
namespace ImageSampling
{

// The unpremultiplied colour at design point `point` of an image showing a design of
// `designSize` units across.
inline QColor colorAt(const QImage &image, QPointF point, qreal designSize)
{
    const qreal scale = image.width() / designSize;
    const int x = int(point.x() * scale);
    const int y = int((designSize - point.y()) * scale);
    return image.pixelColor(std::clamp(x, 0, image.width() - 1),
                            std::clamp(y, 0, image.height() - 1));
}

inline bool isNear(const QColor &actual, const QColor &expected, int tolerance = 6)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance &&
           std::abs(actual.alpha() - expected.alpha()) <= tolerance;
}

// The number of pixels inside `region` (fractions of the image, top-left origin) that pass
// `test`.
inline int countPixels(const QImage &image, const QRectF &region,
                       const std::function<bool(const QColor &)> &test)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = int(region.top() * argb.height()); y < int(region.bottom() * argb.height()); ++y)
        for (int x = int(region.left() * argb.width()); x < int(region.right() * argb.width()); ++x)
            count += test(argb.pixelColor(x, y)) ? 1 : 0;
    return count;
}

} // namespace ImageSampling
