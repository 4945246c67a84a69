#include "sidebarrowbutton.h"

#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMimeData>
#include <QPainter>

namespace
{

constexpr int rowHeight = 24;
constexpr qreal sidePadding = 10;
constexpr qreal partSpacing = 8;
constexpr qreal iconSide = 15;
constexpr qreal cornerRadius = 7;

} // namespace

SidebarRowButton::SidebarRowButton(const Theme *const &theme, QString title, IconPainter icon,
                                   QWidget *parent)
    : QAbstractButton(parent), m_theme(theme), m_icon(std::move(icon))
{
    setText(title);
    setAccessibleName(title);
    setFixedHeight(rowHeight);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SidebarRowButton::setBadgeCount(int count)
{
    if (m_badgeCount == count)
        return;
    m_badgeCount = count;
    update();
}

void SidebarRowButton::setSelected(bool selected)
{
    if (m_isSelected == selected)
        return;
    m_isSelected = selected;
    update();
}

void SidebarRowButton::setAcceptsDroppedText(bool accepts)
{
    setAcceptDrops(accepts);
}

QSize SidebarRowButton::sizeHint() const
{
    return QSize(160, rowHeight);
}

void SidebarRowButton::paintEvent(QPaintEvent *)
{
    const Theme &theme = *m_theme;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(rect());
    if (m_isSelected) {
        QLinearGradient gradient(area.topLeft(), area.topRight());
        gradient.setColorAt(0, theme.sidebarSelectionStart);
        gradient.setColorAt(1, theme.sidebarSelectionEnd);
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawRoundedRect(area, cornerRadius, cornerRadius);
    } else if (m_isDropTarget) {
        painter.setPen(QPen(theme.accent, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(area.adjusted(0.75, 0.75, -0.75, -0.75), cornerRadius,
                                cornerRadius);
    }

    const QColor white = Qt::white;
    const QColor iconColour = m_isSelected             ? white
                              : m_iconColour.isValid() ? m_iconColour
                                                       : theme.sidebarIcon;
    qreal x = sidePadding;
    const QRectF iconFrame(x, (area.height() - iconSide) / 2, iconSide, iconSide);
    if (m_icon)
        m_icon(painter, iconFrame, iconColour);
    x += iconSide + partSpacing;

    qreal right = area.width() - sidePadding;
    if (m_badgeCount >= 1) {
        const QFont badgeFont = ViewFonts::ui(10, QFont::DemiBold);
        const QString count = QString::number(m_badgeCount);
        const QFontMetricsF metrics(badgeFont);
        const QSizeF capsule(metrics.horizontalAdvance(count) + 12, metrics.height() + 3);
        const QRectF badge(right - capsule.width(), (area.height() - capsule.height()) / 2,
                           capsule.width(), capsule.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_isSelected ? theme.sidebarSelectedBadgeCapsule
                                      : theme.sidebarBadgeCapsule);
        painter.drawRoundedRect(badge, badge.height() / 2, badge.height() / 2);
        painter.setFont(badgeFont);
        painter.setPen(m_isSelected ? white : theme.sidebarBadgeText);
        painter.drawText(badge, Qt::AlignCenter, count);
        right = badge.left() - partSpacing;
    }

    const QFont titleFont = ViewFonts::ui(12.5, m_isSelected ? QFont::DemiBold : QFont::Normal);
    painter.setFont(titleFont);
    painter.setPen(m_isSelected ? white : theme.sidebarTitle);
    const QRectF titleRect(x, 0, std::max<qreal>(0, right - x), area.height());
    painter.drawText(
        titleRect, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(titleFont).elidedText(text(), Qt::ElideRight, titleRect.width()));
}

void SidebarRowButton::contextMenuEvent(QContextMenuEvent *event)
{
    if (onContextMenu)
        onContextMenu(event->globalPos());
}

void SidebarRowButton::dragEnterEvent(QDragEnterEvent *event)
{
    if (!event->mimeData()->hasText())
        return;
    event->acceptProposedAction();
    m_isDropTarget = true;
    update();
}

void SidebarRowButton::dragLeaveEvent(QDragLeaveEvent *)
{
    m_isDropTarget = false;
    update();
}

void SidebarRowButton::dropEvent(QDropEvent *event)
{
    m_isDropTarget = false;
    update();
    if (!event->mimeData()->hasText())
        return;
    event->acceptProposedAction();
    if (onDropText)
        onDropText(event->mimeData()->text());
}
