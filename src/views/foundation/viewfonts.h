#pragma once

#include <QFont>

// Fonts sized in logical pixels. Sizes in the design are pixel heights; QFont's own points
// would come out a third too large on a 96 dpi screen.
namespace ViewFonts
{

// The ordinary interface face (it also stands in for the rounded design).
QFont ui(qreal pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospaced(qreal pixelSize, QFont::Weight weight = QFont::Normal);
// The interface face with the colour emoji face put first, so that emoji the interface face
// also has in black and white still come out in colour.
QFont emoji(qreal pixelSize);
// Sets the font's size to the given logical pixel height, keeping everything else.
void setPixelSize(QFont &font, qreal pixelSize);

} // namespace ViewFonts
