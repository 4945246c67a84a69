#include "softshadow.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{

// Widths of three box blurs whose sequence approximates a Gaussian of deviation sigma.
std::array<int, 3> boxRadii(qreal sigma)
{
    constexpr int passes = 3;
    const double ideal = std::sqrt(12.0 * sigma * sigma / passes + 1.0);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double idealCount =
        (12.0 * sigma * sigma - passes * lower * lower - 4.0 * passes * lower - 3.0 * passes) /
        (-4.0 * lower - 4.0);
    const int lowerCount = static_cast<int>(std::lround(idealCount));
    std::array<int, 3> radii{};
    for (int i = 0; i < passes; ++i)
        radii[i] = ((i < lowerCount ? lower : upper) - 1) / 2;
    return radii;
}

// One box pass over `count` values spaced `stride` apart, treating everything outside as zero.
void boxPass(const quint8 *source, quint8 *target, int count, qsizetype stride, int radius)
{
    const int width = 2 * radius + 1;
    int sum = 0;
    for (int i = 0; i < std::min(radius, count); ++i)
        sum += source[i * stride];
    for (int i = 0; i < count; ++i) {
        const int entering = i + radius;
        const int leaving = i - radius - 1;
        if (entering < count)
            sum += source[entering * stride];
        if (leaving >= 0)
            sum -= source[leaving * stride];
        target[i * stride] = static_cast<quint8>((sum + width / 2) / width);
    }
}

void blurAlpha(std::vector<quint8> &alpha, int width, int height, qreal sigma)
{
    std::vector<quint8> scratch(alpha.size());
    for (const int radius : boxRadii(sigma)) {
        if (radius < 1)
            continue;
        for (int y = 0; y < height; ++y)
            boxPass(&alpha[size_t(y) * width], &scratch[size_t(y) * width], width, 1, radius);
        for (int x = 0; x < width; ++x)
            boxPass(&scratch[x], &alpha[x], height, width, radius);
    }
}

} // namespace

void SoftShadow::paint(QPainter &painter, const QPainterPath &path) const
{
    const QTransform toDevice = painter.transform();
    const QPainterPath devicePath =
        toDevice.map(path.translated(offset)); // the offset is given before the mapping
    const qreal scale = std::sqrt(std::abs(toDevice.determinant()));
    const qreal sigma = blur * scale / 2.0;
    const int margin = static_cast<int>(std::ceil(3.0 * sigma)) + 2;

    const QRect bounds =
        devicePath.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    if (bounds.isEmpty())
        return;

    QImage mask(bounds.size(), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter maskPainter(&mask);
        maskPainter.setRenderHint(QPainter::Antialiasing);
        maskPainter.translate(-bounds.topLeft());
        maskPainter.fillPath(devicePath, Qt::black);
    }

    const int width = mask.width();
    const int height = mask.height();
    std::vector<quint8> alpha(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(mask.constScanLine(y), width, &alpha[size_t(y) * width]);
    if (sigma > 0.1)
        blurAlpha(alpha, width, height, sigma);

    QImage shadow(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    const QRgb premultiplied = qPremultiply(color.rgba());
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(shadow.scanLine(y));
        const quint8 *coverage = &alpha[size_t(y) * width];
        for (int x = 0; x < width; ++x) {
            const uint c = coverage[x];
            line[x] = qRgba(qRed(premultiplied) * c / 255, qGreen(premultiplied) * c / 255,
                            qBlue(premultiplied) * c / 255, qAlpha(premultiplied) * c / 255);
        }
    }

    painter.save();
    painter.resetTransform();
    painter.drawImage(bounds.topLeft(), shadow);
    painter.restore();
}
