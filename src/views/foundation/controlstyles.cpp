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

QString ControlStyles::controls(const Theme &theme)
{
    const QColor fill = withOpacity(theme.secondaryText, 0.16);
    const QColor border = withOpacity(theme.secondaryText, 0.4);
    const QColor pressed = withOpacity(fill, 2);
    return button(theme, false, 2, 8) +
           QStringLiteral(" QToolButton { background-color: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 4px; }"
                          " QToolButton:pressed { background-color: %4; }"
                          " QToolButton:disabled, QPushButton:disabled { color: %5; }"
                          " QComboBox { background-color: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 5px; padding: 2px 8px; }"
                          " QComboBox QAbstractItemView { background-color: %6; color: %2;"
                          " selection-background-color: %7; selection-color: white; }")
               .arg(css(fill), css(theme.primaryText), css(border), css(pressed),
                    css(theme.secondaryText), css(theme.barBackground), css(theme.accent));
}

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
