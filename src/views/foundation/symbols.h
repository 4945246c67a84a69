#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>

class QPainter;

// The board's symbols by their design names ("heart.fill", "doc.on.doc"), drawn as glyphs of
// the embedded Material Icons font.
namespace Symbols
{

// Registers the icon font. Done before the first window is made: registering a font makes
// every font loaded until then be loaded again.
void loadFont();
std::optional<QChar> glyph(QStringView name);
// Every name the table knows.
QStringList names();
// The icon font at a pixel size.
QFont font(qreal pixelSize);
// Draws the symbol centred in the rectangle, size pixels high; unknown names draw nothing.
void draw(QPainter &painter, QStringView name, const QRectF &rect, qreal size,
          const QColor &colour);
// The symbol as an icon (menus, buttons), in the given colour.
QIcon icon(QStringView name, const QColor &colour);

} // namespace Symbols
