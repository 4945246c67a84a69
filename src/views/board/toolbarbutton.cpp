#include "toolbarbutton.h"

#include "views/foundation/theme.h"

#include <QPainter>

ToolbarButton::ToolbarButton(const Theme *const &theme, QSize size, qreal radius, IconPainter icon,
                             QWidget *parent)
    : QAbstractButton(parent), m_theme(theme), m_size(size), m_radius(radius),
      m_icon(std::move(icon))
{
    setFixedSize(size);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ToolbarButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(rect());
    if (m_radius >= 0) {
        painter.setPen(Qt::NoPen);
        QColor fill = m_theme->squareButtonBackground;
        if (isDown())
            fill.setAlphaF(std::min(1.0f, fill.alphaF() * 2.5f));
        painter.setBrush(fill);
        painter.drawRoundedRect(area, m_radius, m_radius);
    }
    m_icon(painter, area, *m_theme);
}
