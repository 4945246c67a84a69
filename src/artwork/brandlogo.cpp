#include "brandlogo.h"

#include "designcanvas.h"
#include "softshadow.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <array>

using namespace DesignCanvas;

namespace
{

const QRectF tileRect(28, 28, 456, 456);
constexpr qreal tileRadius = 104;

// One of the text lines on the clipboard.
struct Bar {
    QRectF rect;
    QColor color;
};

void paintTile(QPainter &p)
{
    const QPainterPath tile = roundedRect(tileRect, tileRadius);
    QLinearGradient base(QPointF(60, 460), QPointF(450, 40));
    base.setColorAt(0.0, srgb(0.08, 0.1, 0.24));
    base.setColorAt(0.5, srgb(0.16, 0.24, 0.62));
    base.setColorAt(1.0, srgb(0.08, 0.58, 0.88));
    p.fillPath(tile, base);

    // The glow sits behind the clipboard so that the paper seems lit from within the tile.
    QRadialGradient glow(QPointF(300, 300), 300, QPointF(330, 330));
    glow.setColorAt(0.0, srgb(0.45, 0.85, 1.0, 0.45));
    glow.setColorAt(1.0, srgb(0.45, 0.85, 1.0, 0.0));
    p.fillPath(tile, glow);

    // A faint inner rim catches the edge the way a glass tile would.
    QLinearGradient rim(QPointF(256, 484), QPointF(256, 28));
    rim.setColorAt(0.0, grey(1.0, 0.22));
    rim.setColorAt(0.5, grey(1.0, 0.04));
    rim.setColorAt(1.0, grey(1.0, 0.12));
    p.strokePath(roundedRect(tileRect.adjusted(2, 2, -2, -2), tileRadius - 2), QPen(rim, 4));
}

void paintBackCard(QPainter &p, QPointF centre, QSizeF size, qreal radius, qreal angle,
                   const QColor &fill, qreal outlineOpacity)
{
    p.save();
    p.translate(centre);
    p.rotate(qRadiansToDegrees(angle));
    const QPainterPath card = roundedRect(
        QRectF(-size.width() / 2, -size.height() / 2, size.width(), size.height()), radius);
    p.fillPath(card, fill);
    p.strokePath(card, QPen(grey(1.0, outlineOpacity), 3));
    p.restore();
}

void paintClipboard(QPainter &p)
{
    const QPainterPath board = roundedRect({132, 96, 248, 288}, 38);
    SoftShadow{grey(0.0, 0.38), {0, -14}, 28}.paint(p, board);
    p.fillPath(board, srgb(0.98, 0.99, 1.0, 0.97));
    // A gentle fall-off towards the bottom gives the paper some depth.
    QLinearGradient shade(QPointF(256, 384), QPointF(256, 96));
    shade.setColorAt(0.0, srgb(0.2, 0.35, 0.7, 0.0));
    shade.setColorAt(1.0, srgb(0.2, 0.35, 0.7, 0.07));
    p.fillPath(board, shade);

    const QColor clipBlue = srgb(0.18, 0.46, 0.96);
    const QPen clipOutline(grey(1.0, 0.65), 4);
    QPainterPath ring = ellipse({234, 376, 44, 44});
    ring = ring.subtracted(ellipse({247, 389, 18, 18}));
    const QPainterPath clip = roundedRect({202, 356, 108, 42}, 15);
    const QPainterPath clipWithRing = clip.united(ring);
    SoftShadow{grey(0.0, 0.25), {0, -4}, 8}.paint(p, clipWithRing);
    p.fillPath(clipWithRing, clipBlue);
    p.strokePath(clipWithRing, clipOutline);
    // The clip's lower lip is lit from above.
    p.fillPath(roundedRect({214, 364, 84, 6}, 3), grey(1.0, 0.18));

    // On a 32-unit pitch, so that from 64 pixels up the gaps come out even.
    const std::array<Bar, 5> bars{{
        {{168, 312, 104, 24}, srgb(0.96, 0.34, 0.46)},
        {{168, 272, 176, 16}, srgb(0.16, 0.68, 0.98)},
        {{168, 240, 144, 16}, srgb(0.2, 0.26, 0.42)},
        {{168, 208, 176, 16}, srgb(0.22, 0.5, 0.96)},
        {{168, 176, 104, 16}, srgb(0.5, 0.58, 0.72, 0.55)},
    }};
    for (const Bar &bar : bars) {
        const QRectF rect = snappedToPixels(p, bar.rect);
        p.fillPath(roundedRect(rect, rect.height() / 2), bar.color);
    }
}

void paintBadge(QPainter &p)
{
    const QPointF centre(327, 153);
    const QPainterPath rim = ellipse({centre.x() - 36, centre.y() - 36, 72, 72});
    SoftShadow{grey(0.0, 0.3), {0, -5}, 12}.paint(p, rim);
    p.fillPath(rim, Qt::white);
    const QPainterPath badge = ellipse({centre.x() - 30, centre.y() - 30, 60, 60});
    QLinearGradient green(QPointF(centre.x(), centre.y() + 30),
                          QPointF(centre.x(), centre.y() - 30));
    green.setColorAt(0.0, srgb(0.2, 0.86, 0.6));
    green.setColorAt(0.45, srgb(0.12, 0.78, 0.52));
    green.setColorAt(1.0, srgb(0.09, 0.66, 0.44));
    p.fillPath(badge, green);

    QPainterPath check;
    check.moveTo(315, 153);
    check.lineTo(323, 144);
    check.lineTo(339, 162);
    p.strokePath(check, QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Edges on multiples of 32 units fall on whole pixels at 16 and at 32 pixels.
void paintCompactClipboard(QPainter &p)
{
    const QPainterPath board = roundedRect({128, 64, 256, 352}, 48);
    SoftShadow{grey(0.0, 0.4), {0, -16}, 24}.paint(p, board);
    p.fillPath(board, srgb(0.98, 0.99, 1.0));
    p.fillPath(roundedRect({192, 384, 128, 64}, 24), srgb(0.18, 0.46, 0.96));

    const std::array<Bar, 3> bars{{
        {{160, 320, 128, 32}, srgb(0.96, 0.34, 0.46)},
        {{160, 256, 192, 32}, srgb(0.16, 0.68, 0.98)},
        {{160, 192, 160, 32}, srgb(0.2, 0.26, 0.42)},
    }};
    for (const Bar &bar : bars)
        p.fillRect(snappedToPixels(p, bar.rect), bar.color);
}

void paintCompactBadge(QPainter &p)
{
    const QPointF centre(336, 128);
    p.fillPath(ellipse({centre.x() - 88, centre.y() - 88, 176, 176}), Qt::white);
    p.fillPath(ellipse({centre.x() - 68, centre.y() - 68, 136, 136}), srgb(0.12, 0.78, 0.52));
    QPainterPath check;
    check.moveTo(centre.x() - 34, centre.y());
    check.lineTo(centre.x() - 10, centre.y() - 26);
    check.lineTo(centre.x() + 36, centre.y() + 26);
    p.strokePath(check, QPen(Qt::white, 24, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

constexpr int compactBelowPixels = 48;

} // namespace

void paintBrandLogo(QPainter &painter, int pixels)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    paintTile(painter);
    if (pixels < compactBelowPixels) {
        paintCompactClipboard(painter);
        paintCompactBadge(painter);
    } else {
        paintBackCard(painter, {222, 268}, {230, 260}, 34, 0.12, srgb(0.42, 0.68, 1.0, 0.24), 0.28);
        paintBackCard(painter, {282, 256}, {270, 266}, 36, -0.07, srgb(0.25, 0.82, 0.98, 0.32),
                      0.35);
        paintClipboard(painter);
        paintBadge(painter);
    }
    painter.restore();
}
