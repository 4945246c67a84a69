#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The two toolbar icons the board draws itself, stroked in the given colour inside the frame.
namespace BoardIcons
{

// A window outline with the sidebar's edge: a line while closed, a filled strip while open.
void drawSidebarToggle(QPainter &painter, const QRectF &frame, const QColor &colour, bool isOpen);
void drawWindowAnchor(QPainter &painter, const QRectF &frame, const QColor &colour);

} // namespace BoardIcons
