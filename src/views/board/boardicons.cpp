#include "boardicons.h"

#include <QPainter>
#include <QPainterPath>

namespace BoardIcons
{

void drawSidebarToggle(QPainter &painter, const QRectF &frame, const QColor &colour, bool isOpen)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = frame.adjusted(0.8, 0.8, -0.8, -0.8);
    const qreal radius = outline.height() * 0.22;
    const qreal edge = outline.left() + outline.width() * 0.34;
    if (isOpen) {
        QPainterPath window;
        window.addRoundedRect(outline, radius, radius);
        QPainterPath strip;
        strip.addRect(
            QRectF(outline.left(), outline.top(), edge - outline.left(), outline.height()));
        painter.fillPath(window.intersected(strip), colour);
    }
    painter.setPen(QPen(colour, 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outline, radius, radius);
    if (!isOpen)
        painter.drawLine(QPointF(edge, outline.top()), QPointF(edge, outline.bottom()));
    painter.restore();
}

void drawWindowAnchor(QPainter &painter, const QRectF &frame, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = frame.width();
    const qreal h = frame.height();
    const qreal cx = frame.center().x();
    const qreal ringRadius = w * 0.12;
    const QPointF ringCentre(cx, frame.top() + h * 0.06 + ringRadius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 1.35));
    painter.drawEllipse(ringCentre, ringRadius, ringRadius);

    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal shankTop = ringCentre.y() + ringRadius;
    const qreal bottom = frame.top() + h * 0.94;
    painter.drawLine(QPointF(cx, shankTop), QPointF(cx, bottom));
    const qreal barY = frame.top() + h * 0.38;
    painter.drawLine(QPointF(cx - w * 0.2, barY), QPointF(cx + w * 0.2, barY));
    QPainterPath arms;
    const qreal armTop = frame.top() + h * 0.6;
    arms.moveTo(frame.left() + w * 0.12, armTop);
    arms.quadTo(frame.left() + w * 0.16, bottom, cx, bottom);
    arms.quadTo(frame.right() - w * 0.16, bottom, frame.right() - w * 0.12, armTop);
    painter.drawPath(arms);
    painter.restore();
}

} // namespace BoardIcons
