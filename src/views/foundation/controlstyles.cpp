#include "controlstyles.h"

#include "theme.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace
{

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(float(std::min(1.0, colour.alphaF() * opacity)));
    return colour;
}

QString css(const QColor &colour)
{
    return colour.name(QColor::HexArgb);
}

} // namespace

QString ControlStyles::button(const Theme &theme, bool prominent, int verticalPadding,
                              int sidePadding)
{
    const QColor fill = prominent ? theme.accent : withOpacity(theme.secondaryText, 0.16);
    const QColor pressed = prominent ? theme.accent.darker(120) : withOpacity(fill, 2);
    const QColor text =
        prominent ? QGuiApplication::palette().color(QPalette::HighlightedText) : theme.primaryText;
    const QColor border = prominent ? theme.accent : withOpacity(theme.secondaryText, 0.4);
    return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 5px; padding: %5px %6px; }"
                          " QPushButton:pressed { background-color: %4; }")
        .arg(css(fill), css(text), css(border), css(pressed))
        .arg(verticalPadding)
        .arg(sidePadding);
}
