#include "viewfonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace ViewFonts
{

namespace
{

qreal logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96;
    return dpi > 0 ? dpi : 96;
}

QFont sized(QFont font, qreal pixelSize, QFont::Weight weight)
{
    setPixelSize(font, pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace

void setPixelSize(QFont &font, qreal pixelSize)
{
    font.setPointSizeF(pixelSize * 72 / logicalDpi());
}

QFont ui(qreal pixelSize, QFont::Weight weight)
{
    return sized(QFontDatabase::systemFont(QFontDatabase::GeneralFont), pixelSize, weight);
}

QFont monospaced(qreal pixelSize, QFont::Weight weight)
{
    return sized(QFontDatabase::systemFont(QFontDatabase::FixedFont), pixelSize, weight);
}

QFont emoji(qreal pixelSize)
{
    QFont font = ui(pixelSize);
    font.setFamilies({QStringLiteral("Noto Color Emoji"), font.family()});
    return font;
}

} // namespace ViewFonts
