#include "cardsamples.h"
#include "views/cards/cardcontent.h"
#include "views/cards/cardimagecache.h"
#include "views/cards/checkerboard.h"
#include "views/cards/clippingcard.h"
#include "views/foundation/theme.h"

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

constexpr qreal margin = 12;

QString pictureDirectory()
{
    static const QString path = [] {
        const QString dir = QStringLiteral(CARD_PICTURE_DIR);
        QDir().mkpath(dir);
        return dir;
    }();
    return path;
}

QSizeF cardSize(CardTier tier)
{
    return byTier(tier, QSizeF(560, 96), QSizeF(300, 210), QSizeF(230, 160));
}

const char *tierName(CardTier tier)
{
    return byTier(tier, "compact", "roomy", "standard");
}

QImage render(const ClippingCard::Input &input)
{
    QImage image((input.rect.size() + QSizeF(2 * margin, 2 * margin)).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(input.theme.boardBackground);
    QPainter painter(&image);
    ClippingCard::paint(painter, input);
    return image;
}

ClippingCard::Input inputFor(const ClippingItem &item, CardTier tier, const Theme &theme)
{
    ClippingCard::Input input{item, QRectF(QPointF(margin, margin), cardSize(tier)), tier, theme};
    input.isMasked = item.isSecret();
    input.now = item.createdAt.addingSeconds(125);
    return input;
}

// Colours composited onto the card may differ by rounding.
bool near(QColor actual, QColor expected, int tolerance = 6)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QColor over(QColor top, QColor bottom)
{
    const float a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + bottom.redF() * (1 - a),
                            top.greenF() * a + bottom.greenF() * (1 - a),
                            top.blueF() * a + bottom.blueF() * (1 - a));
}

QString describe(QColor colour)
{
    return colour.name(QColor::HexArgb);
}

class CardPictureTest : public testing::TestWithParam<std::tuple<CardTier, bool>>
{
};

} // namespace

TEST_P(CardPictureTest, EveryTypeRendersAndIsWrittenOut)
{
    const auto [tier, dark] = GetParam();
    const Theme &theme = Theme::forDark(dark);
    for (const CardSample &sample : cardSamples()) {
        ClippingCard::Input input = inputFor(sample.item, tier, theme);
        input.isSelected = sample.name == QStringLiteral("text");
        input.collectionNames = {QStringLiteral("Work")};
        const QImage image = render(input);
        const QString file =
            QStringLiteral("%1/%2-%3-%4.png")
                .arg(pictureDirectory(), sample.name, QLatin1StringView(tierName(tier)),
                     dark ? QStringLiteral("dark") : QStringLiteral("light"));
        ASSERT_TRUE(image.save(file)) << file.toStdString();
        // Nothing is drawn outside the card and its shadow.
        EXPECT_EQ(image.pixelColor(1, 1).rgb(), theme.boardBackground.rgb()) << file.toStdString();
        EXPECT_EQ(image.pixelColor(image.width() - 2, 1).rgb(), theme.boardBackground.rgb());
    }
}

INSTANTIATE_TEST_SUITE_P(TiersAndAppearances, CardPictureTest,
                         testing::Combine(testing::Values(CardTier::Compact, CardTier::Roomy,
                                                          CardTier::Standard),
                                          testing::Bool()));

TEST(CardRenderingTest, SelectionFrameIsTheSelectionBlue)
{
    for (const Theme *theme : {&Theme::dark(), &Theme::light()}) {
        const ClippingItem item = textClipping(QStringLiteral("hello"));
        ClippingCard::Input input = inputFor(item, CardTier::Standard, *theme);
        const int y = int(input.rect.center().y());
        input.isSelected = true;
        EXPECT_TRUE(near(render(input).pixelColor(int(margin) + 1, y), theme->selectionBlue))
            << describe(render(input).pixelColor(int(margin) + 1, y)).toStdString();
        input.isSelected = false;
        const QColor plain = render(input).pixelColor(int(margin) + 1, y);
        EXPECT_FALSE(near(plain, theme->selectionBlue, 30)) << describe(plain).toStdString();
    }
}

TEST(CardRenderingTest, FullCardColourFillsTheCardOnlyWhenOn)
{
    ClippingItem item = textClipping(QStringLiteral("#1E90FF"));
    item.type = ClippingType::Color;
    item.colorHex = QStringLiteral("#1E90FF");
    for (const Theme *theme : {&Theme::dark(), &Theme::light()}) {
        ClippingCard::Input input = inputFor(item, CardTier::Roomy, *theme);
        const CardLayout layout = ClippingCard::layout(input);
        const QPoint probe = (layout.content.bottomRight() - QPointF(4, 4)).toPoint();
        input.fullCardColorPreview = true;
        EXPECT_TRUE(near(render(input).pixelColor(probe), QColor(30, 144, 255)));
        input.fullCardColorPreview = false;
        EXPECT_TRUE(near(render(input).pixelColor(probe), theme->cardBase));
    }
}

TEST(CardRenderingTest, ImageCardsStandOnTheCheckerboard)
{
    const CardSample image = cardSamples()[8];
    ASSERT_EQ(image.item.type, ClippingType::Image);
    for (const Theme *theme : {&Theme::dark(), &Theme::light()}) {
        const ClippingCard::Input input = inputFor(image.item, CardTier::Roomy, *theme);
        const QRectF content = ClippingCard::layout(input).content;
        const QImage picture = render(input);
        const QPointF origin = content.topLeft();
        EXPECT_TRUE(
            near(picture.pixelColor((origin + QPointF(4, 3)).toPoint()), theme->checkerFirst, 2));
        EXPECT_TRUE(
            near(picture.pixelColor((origin + QPointF(13, 3)).toPoint()), theme->checkerSecond, 2));
        EXPECT_TRUE(
            near(picture.pixelColor((origin + QPointF(13, 12)).toPoint()), theme->checkerFirst, 2));
        // The image itself sits in the middle.
        EXPECT_FALSE(near(picture.pixelColor(content.center().toPoint()), theme->checkerFirst, 2));
    }
}

TEST(CardRenderingTest, UndecodableImageShowsOnlyTheCheckerboardAndIsNotRetried)
{
    ClippingItem item = textClipping(QString());
    item.type = ClippingType::Image;
    item.imageData = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(4096, '\x7f');
    CardImageCache cache;
    ClippingCard::Input input = inputFor(item, CardTier::Roomy, Theme::dark());
    input.images = &cache;
    const QImage first = render(input);
    const QImage second = render(input);
    EXPECT_EQ(first, second);
    EXPECT_LE(cache.decodeCount(), 1);
    const QRectF content = ClippingCard::layout(input).content;
    EXPECT_TRUE(near(first.pixelColor(content.center().toPoint()), Theme::dark().checkerFirst, 2) ||
                near(first.pixelColor(content.center().toPoint()), Theme::dark().checkerSecond, 2));
}

TEST(CardRenderingTest, ImagesDecodeOncePerSize)
{
    const CardSample image = cardSamples()[8];
    CardImageCache cache;
    ClippingCard::Input input = inputFor(image.item, CardTier::Roomy, Theme::dark());
    input.images = &cache;
    render(input);
    render(input);
    EXPECT_EQ(cache.decodeCount(), 1);
    input.rect.setHeight(input.rect.height() + 40);
    render(input);
    EXPECT_EQ(cache.decodeCount(), 2);
}

TEST(CardRenderingTest, SecretShowsDotsAndNoneOfItsText)
{
    for (const CardTier tier : {CardTier::Compact, CardTier::Roomy, CardTier::Standard}) {
        for (const Theme *theme : {&Theme::dark(), &Theme::light()}) {
            const ClippingItem one = secretClipping(QStringLiteral("alpha-bravo-42"));
            ClippingItem other = secretClipping(QStringLiteral("zulu-yankee-99"));
            other.id = one.id;
            other.createdAt = one.createdAt;
            const QImage first = render(inputFor(one, tier, *theme));
            // Texts of one length give the same dots, so nothing of the text reaches the pixels.
            EXPECT_EQ(first, render(inputFor(other, tier, *theme)));
            ClippingCard::Input revealed = inputFor(one, tier, *theme);
            revealed.isMasked = false;
            EXPECT_NE(first, render(revealed));

            // The dots' field, on the right where the dots do not reach.
            const CardLayout layout = ClippingCard::layout(inputFor(one, tier, *theme));
            const QColor field = over(theme->secretFieldBackground, theme->cardBase);
            const int x = int(layout.content.right() - 20);
            bool found = false;
            for (int y = int(layout.content.top()); y < int(layout.content.top()) + 60; ++y)
                found = found || near(first.pixelColor(x, y), field, 3);
            EXPECT_TRUE(found) << tierName(tier);
        }
    }
}

TEST(CardContentTest, LayoutChoiceAndHelpers)
{
    ClippingItem code = textClipping(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n10"));
    code.richKind = RichContentKind::CodeSnippet;
    EXPECT_EQ(CardContent::layoutFor(code, false), CardContent::Layout::Code);
    EXPECT_EQ(CardContent::layoutFor(code, true), CardContent::Layout::Secret);
    EXPECT_EQ(CardContent::keptCode(code.textContent, CardTier::Compact), QStringLiteral("1\n2"));
    EXPECT_EQ(CardContent::lineCount(CardContent::keptCode(code.textContent, CardTier::Roomy)), 10);
    EXPECT_EQ(CardContent::lineCount(QString()), 1);
    EXPECT_EQ(CardContent::hostLabel(QStringLiteral("https://example.org/a")),
              QStringLiteral("example.org"));
    EXPECT_EQ(CardContent::hostLabel(QStringLiteral("word")), QStringLiteral("Link"));
    EXPECT_EQ(CardContent::headlineText(),
              QStringLiteral("The most flexible clipboard manager for Linux"));
    EXPECT_EQ(CardContent::layoutFor(textClipping(QStringLiteral("🎉")), false),
              CardContent::Layout::Emoji);
    EXPECT_EQ(CardContent::imageRect(QRectF(0, 0, 112, 62), QSize(200, 100)),
              QRectF(6, 6, 100, 50));
}

TEST(CardRenderingTest, ShortcutBadgeAndFullCardColourPictures)
{
    const ClippingItem text = textClipping(QStringLiteral("Quick paste me"));
    ClippingCard::Input shortcut = inputFor(text, CardTier::Standard, Theme::dark());
    shortcut.isHoldingCommandKey = true;
    shortcut.shortcutNumber = 1;
    const CardLayout layout = ClippingCard::layout(shortcut);
    ASSERT_TRUE(layout.trailingIsShortcut);
    const QImage badge = render(shortcut);
    EXPECT_TRUE(near(badge.pixelColor((layout.trailing.rect.topLeft() + QPointF(1.5, 2)).toPoint()),
                     Theme::dark().accent, 12));
    EXPECT_TRUE(badge.save(pictureDirectory() + QStringLiteral("/shortcut-standard-dark.png")));

    ClippingItem colour = textClipping(QStringLiteral("#2E8B57"));
    colour.type = ClippingType::Color;
    colour.colorHex = QStringLiteral("#2E8B57");
    ClippingCard::Input full = inputFor(colour, CardTier::Roomy, Theme::light());
    full.fullCardColorPreview = true;
    EXPECT_TRUE(
        render(full).save(pictureDirectory() + QStringLiteral("/fullcolor-roomy-light.png")));
}

TEST(CardRenderingTest, CompactContentIsCutToTheRoundedCorners)
{
    const CardSample image = cardSamples()[8];
    const ClippingCard::Input input = inputFor(image.item, CardTier::Compact, Theme::light());
    const QImage picture = render(input);
    // Just inside the bottom-left corner's curve the board shows, not the checkerboard.
    const QPoint corner = (input.rect.bottomLeft() + QPointF(1, -2)).toPoint();
    EXPECT_FALSE(near(picture.pixelColor(corner), Theme::light().checkerFirst, 2) ||
                 near(picture.pixelColor(corner), Theme::light().checkerSecond, 2));
    const QPoint inside = (input.rect.bottomLeft() + QPointF(14, -3)).toPoint();
    EXPECT_TRUE(near(picture.pixelColor(inside), Theme::light().checkerFirst, 2) ||
                near(picture.pixelColor(inside), Theme::light().checkerSecond, 2));
}

TEST(CardRenderingTest, EmojiTheInterfaceFaceDrawsInBlackStillComeOutInColour)
{
    // DejaVu has a monochrome 😀; the card must take the colour face for it.
    const Theme &theme = Theme::forDark(false);
    for (const CardTier tier : {CardTier::Standard, CardTier::Compact}) {
        const QImage image = render(inputFor(textClipping(QStringLiteral("😀")), tier, theme));
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                coloured += pixel.hsvSaturation() > 150 && pixel.value() > 150 &&
                            pixel.hue() >= 35 && pixel.hue() <= 60;
            }
        EXPECT_GT(coloured, 40) << tierName(tier);
    }
}
