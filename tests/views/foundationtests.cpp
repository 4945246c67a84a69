#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <gtest/gtest.h>

namespace
{

// Every symbol name the board, sidebar, cards, windows and menus draw.
const char *const usedSymbols[] = {"arrow.down.circle.fill",
                                   "calendar",
                                   "checkmark",
                                   "checkmark.circle.fill",
                                   "clock.arrow.circlepath",
                                   "doc.fill",
                                   "doc.on.clipboard",
                                   "doc.on.doc",
                                   "doc.text.magnifyingglass",
                                   "eye",
                                   "eye.fill",
                                   "eye.slash",
                                   "eye.slash.fill",
                                   "folder",
                                   "folder.fill",
                                   "gearshape",
                                   "gearshape.fill",
                                   "globe",
                                   "heart",
                                   "heart.fill",
                                   "heart.slash",
                                   "keyboard",
                                   "link",
                                   "lock.shield",
                                   "lock.shield.fill",
                                   "magnifyingglass",
                                   "moon.stars.fill",
                                   "paintpalette.fill",
                                   "photo.fill",
                                   "plus.circle.fill",
                                   "rectangle.grid.1x2",
                                   "safari",
                                   "square.grid.2x2",
                                   "square.grid.3x3",
                                   "sun.max.fill",
                                   "text.alignleft",
                                   "trash",
                                   "xmark.bin",
                                   "xmark.circle.fill"};

} // namespace

TEST(SymbolsTest, EveryUsedNameHasAGlyphInTheEmbeddedFont)
{
    const QFontMetricsF metrics(Symbols::font(24));
    ASSERT_EQ(QFontInfo(Symbols::font(24)).family(), Symbols::font(24).family())
        << "the embedded symbol font did not load";
    for (const char *name : usedSymbols) {
        const std::optional<QChar> glyph = Symbols::glyph(QString::fromLatin1(name));
        ASSERT_TRUE(glyph) << name;
        EXPECT_TRUE(metrics.inFont(*glyph)) << name;
    }
    EXPECT_FALSE(Symbols::glyph(u"no.such.symbol"));
    // Nothing in the table points past the font either.
    for (const QString &name : Symbols::names())
        EXPECT_TRUE(metrics.inFont(*Symbols::glyph(name))) << name.toStdString();
}

TEST(SymbolsTest, DrawsInTheRequestedColourAndMakesIcons)
{
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Symbols::draw(painter, u"heart.fill", QRectF(0, 0, 40, 40), 32, Qt::red);
    painter.end();
    EXPECT_EQ(image.pixelColor(20, 20).rgb(), QColor(Qt::red).rgb());
    EXPECT_FALSE(Symbols::icon(u"trash", Qt::black).isNull());
    EXPECT_TRUE(Symbols::icon(u"no.such.symbol", Qt::black).isNull());
}

TEST(KeyLabelsTest, NamesKeysTheWayThisDesktopWritesThem)
{
    EXPECT_EQ(KeyLabels::quickPasteLabel(1), QStringLiteral("Ctrl+1"));
    EXPECT_EQ(KeyLabels::label(KeyLabels::copy()), QStringLiteral("Ctrl+C"));
    EXPECT_EQ(KeyLabels::label(KeyLabels::pastePlainText()), QStringLiteral("Ctrl+Shift+V"));
    EXPECT_EQ(KeyLabels::label(KeyLabels::toggleSidebar()), QStringLiteral("Ctrl+Alt+S"));
    EXPECT_EQ(KeyLabels::label(KeyLabels::enter()), QStringLiteral("Enter"));
    EXPECT_EQ(KeyLabels::alt(), QStringLiteral("Alt"));
}

TEST(ViewFontsTest, SizesArePixelHeights)
{
    const QFont font = ViewFonts::ui(20);
    const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 20 * 72 / dpi);
    EXPECT_TRUE(QFontInfo(ViewFonts::monospaced(12)).fixedPitch());
}

TEST(ThemeTest, AppearancesDifferWhereTheyShould)
{
    const Theme &dark = Theme::dark();
    const Theme &light = Theme::light();
    EXPECT_TRUE(dark.isDark);
    EXPECT_FALSE(light.isDark);
    EXPECT_EQ(dark.cardBase, QColor::fromRgbF(0.15f, 0.16f, 0.19f));
    EXPECT_EQ(light.cardBase, QColor(Qt::white));
    EXPECT_EQ(dark.selectionBlue, light.selectionBlue);
    EXPECT_TRUE(dark.codeBodyBackground.isValid());
    EXPECT_FALSE(light.codeBodyBackground.isValid());
    EXPECT_EQ(&Theme::forAppearance(AppearancePreference::Dark), &dark);
    EXPECT_EQ(&Theme::forAppearance(AppearancePreference::Light), &light);
}
