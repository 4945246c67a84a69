#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the board goes on a screen: flush with the top right corner of the screen's available
// area (without panels), its size unchanged, even where that leaves part of it off screen.
namespace BoardPlacement
{

QPoint flushTopRight(const QRect &availableArea, const QSize &windowSize);

} // namespace BoardPlacement
