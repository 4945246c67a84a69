#include "cardsamples.h"
#include "views/cards/cardbadge.h"
#include "views/cards/cardlayout.h"
#include "views/cards/clippingcard.h"
#include "views/foundation/theme.h"

#include <gtest/gtest.h>

namespace
{

struct GridCase {
    int rows;
    int columns;
    CardTier tier;
    qreal header;
    qreal footer;
    qreal button;
    qreal headerPadding;
};

void PrintTo(const GridCase &c, std::ostream *os)
{
    *os << c.rows << " x " << c.columns;
}

class CardGridTierTest : public testing::TestWithParam<GridCase>
{
};

CardLayout::Input layoutInput(CardTier tier)
{
    CardLayout::Input input;
    input.rect = QRectF(10, 20, tier == CardTier::Compact ? 560 : 300, 200);
    input.tier = tier;
    input.sourceAppName = QStringLiteral("Text Editor");
    input.badgeLabel = QStringLiteral("TEXT");
    input.metadataText = QStringLiteral("42 characters");
    input.collectionNames = {QStringLiteral("Work"), QStringLiteral("Ideas")};
    input.hasMaskButton = true;
    input.relativeTime = QStringLiteral("2m ago");
    return input;
}

} // namespace

TEST_P(CardGridTierTest, BandsAndButtonsFollowTheTier)
{
    const GridCase &c = GetParam();
    EXPECT_EQ(cardTier(c.rows, c.columns), c.tier);
    const CardLayout l = CardLayout::compute(layoutInput(c.tier));
    EXPECT_DOUBLE_EQ(l.header.height(), c.header);
    EXPECT_DOUBLE_EQ(l.header.top(), 20);
    EXPECT_DOUBLE_EQ(l.footer.height(), c.footer);
    EXPECT_DOUBLE_EQ(l.copyButton.width(), c.button);
    EXPECT_DOUBLE_EQ(l.copyButton.height(), c.button);
    EXPECT_DOUBLE_EQ(l.sourceIcon.left(), 10 + c.headerPadding);
    EXPECT_DOUBLE_EQ(l.sourceIcon.width(), 14);
    EXPECT_DOUBLE_EQ(l.content.top(), l.header.bottom() + 1);
    if (c.tier == CardTier::Compact) {
        // No footer: the metadata and chips move into the header.
        EXPECT_TRUE(l.footer.isEmpty());
        EXPECT_DOUBLE_EQ(l.content.bottom(), 220);
        EXPECT_EQ(l.headerMetadata.text, QStringLiteral("• 42 characters"));
        ASSERT_EQ(l.headerChips.size(), 2);
        EXPECT_EQ(l.headerChips[0].text, QStringLiteral("Work"));
        EXPECT_TRUE(l.footerChips.isEmpty());
    } else {
        EXPECT_DOUBLE_EQ(l.footer.bottom(), 220);
        EXPECT_DOUBLE_EQ(l.content.bottom() + 1, l.footer.top());
        EXPECT_EQ(l.footerMetadata.text, QStringLiteral("42 characters"));
        ASSERT_EQ(l.footerChips.size(), 2);
        EXPECT_EQ(l.footerChips[1].text, QStringLiteral("Ideas"));
        EXPECT_GT(l.footerChips[0].rect.left(), l.footerMetadata.rect.right());
        EXPECT_TRUE(l.headerChips.isEmpty());
    }
    // Buttons sit in order before the trailing label, inside the header.
    ASSERT_TRUE(l.maskButton);
    EXPECT_LT(l.maskButton->right(), l.copyButton.left() + 0.01);
    EXPECT_LT(l.copyButton.right(), l.favoriteButton.left() + 0.01);
    EXPECT_LT(l.favoriteButton.right(), l.trailing.rect.left());
    EXPECT_LE(l.trailing.rect.right(), l.header.right() - c.headerPadding + 0.01);
    EXPECT_LT(l.name.rect.right(), l.badge.rect.left());
}

INSTANTIATE_TEST_SUITE_P(Grids, CardGridTierTest,
                         testing::Values(GridCase{6, 1, CardTier::Compact, 24, 0, 18, 8},
                                         GridCase{3, 3, CardTier::Roomy, 30, 24, 18, 8},
                                         GridCase{4, 4, CardTier::Standard, 26, 20, 15, 6},
                                         GridCase{3, 4, CardTier::Standard, 26, 20, 15, 6},
                                         GridCase{5, 5, CardTier::Compact, 24, 0, 18, 8},
                                         GridCase{2, 2, CardTier::Roomy, 30, 24, 18, 8},
                                         GridCase{3, 5, CardTier::Standard, 26, 20, 15, 6}));

TEST(CardLayoutTest, PasteHintOnlyWhenSelectedAndShortcutReplacesTime)
{
    CardLayout::Input input = layoutInput(CardTier::Roomy);
    EXPECT_FALSE(CardLayout::compute(input).pasteHint);
    input.isSelected = true;
    const CardLayout selected = CardLayout::compute(input);
    ASSERT_TRUE(selected.pasteHint);
    EXPECT_EQ(selected.pasteHint->text, QStringLiteral("Enter Paste"));
    EXPECT_LE(selected.pasteHint->rect.right(), input.rect.right() - 10 + 0.01);

    input.shortcutLabel = QStringLiteral("Ctrl+3");
    const CardLayout shortcut = CardLayout::compute(input);
    EXPECT_TRUE(shortcut.trailingIsShortcut);
    EXPECT_EQ(shortcut.trailing.text, QStringLiteral("Ctrl+3"));
}

TEST(CardLayoutTest, HitTestFindsButtonsAndBands)
{
    const CardLayout l = CardLayout::compute(layoutInput(CardTier::Standard));
    using Part = CardLayout::Part;
    EXPECT_EQ(l.hitTest(l.maskButton->center()), Part::MaskButton);
    EXPECT_EQ(l.hitTest(l.copyButton.center()), Part::CopyButton);
    EXPECT_EQ(l.hitTest(l.favoriteButton.center()), Part::FavoriteButton);
    EXPECT_EQ(l.hitTest(l.name.rect.center()), Part::Header);
    EXPECT_EQ(l.hitTest(l.content.center()), Part::Content);
    EXPECT_EQ(l.hitTest(l.footer.center()), Part::Footer);
    EXPECT_EQ(l.hitTest(QPointF(5, 5)), Part::Outside);
}

TEST(CardLayoutTest, ALongNameShrinksThenElidesButKeepsTheBadge)
{
    CardLayout::Input input = layoutInput(CardTier::Standard);
    input.rect.setWidth(180);
    input.sourceAppName = QStringLiteral("A Very Long Application Name Indeed");
    const CardLayout l = CardLayout::compute(input);
    EXPECT_DOUBLE_EQ(l.nameScale, 0.8);
    EXPECT_TRUE(l.name.text.endsWith(QChar(0x2026)));
    EXPECT_GT(l.badge.rect.width(), 0);
    EXPECT_LE(l.badge.rect.right(), (l.maskButton ? l.maskButton->left() : l.copyButton.left()));
}

namespace
{

struct BadgeCase {
    const char *name;
    ClippingItem item;
    const char *label;
    QColor Theme::*colour;
};

std::vector<BadgeCase> badgeCases()
{
    ClippingItem text = textClipping(QStringLiteral("hello"));
    ClippingItem emoji = textClipping(QStringLiteral("🎉"));
    ClippingItem code = textClipping(QStringLiteral("let x = 1"));
    code.richKind = RichContentKind::CodeSnippet;
    ClippingItem event = textClipping(QStringLiteral("Review"));
    event.richKind = RichContentKind::CalendarEvent;
    ClippingItem headline = textClipping(QStringLiteral("x"));
    headline.richKind = RichContentKind::CoralHeadline;
    ClippingItem secretCode = secretClipping(QStringLiteral("let x"));
    secretCode.richKind = RichContentKind::CodeSnippet;
    const auto ofType = [](ClippingType type) {
        ClippingItem item = textClipping(QStringLiteral("x"));
        item.type = type;
        return item;
    };
    return {{"text", text, "TEXT", &Theme::textBadgeAccent},
            {"emoji", emoji, "EMOJI", &Theme::textBadgeAccent},
            {"code", code, "CODE", &Theme::codeBadgeAccent},
            {"event", event, "EVENT", &Theme::cyan},
            {"headline", headline, "TEXT", &Theme::textBadgeAccent},
            {"secret", secretClipping(QStringLiteral("pw")), "SECRET", &Theme::green},
            {"secretCode", secretCode, "SECRET", &Theme::green},
            {"image", ofType(ClippingType::Image), "IMAGE", &Theme::purple},
            {"color", ofType(ClippingType::Color), "COLOR", &Theme::orange},
            {"file", ofType(ClippingType::File), "FILE", &Theme::teal},
            {"link", ofType(ClippingType::Url), "LINK", &Theme::blue}};
}

} // namespace

TEST(CardBadgeTest, LabelAndColourPerTypeAndKind)
{
    for (const BadgeCase &c : badgeCases()) {
        for (const Theme *theme : {&Theme::dark(), &Theme::light()}) {
            const CardBadge badge = CardBadge::forItem(c.item, *theme);
            EXPECT_EQ(badge.label, QString::fromLatin1(c.label)) << c.name;
            EXPECT_EQ(badge.colour, theme->*c.colour) << c.name;
        }
    }
}

TEST(ClippingCardTest, ShortcutBadgeOnlyWithCtrlHeldAndANumberFromOneToNine)
{
    const ClippingItem item = textClipping(QStringLiteral("x"));
    ClippingCard::Input input{item, QRectF(0, 0, 200, 150), CardTier::Standard, Theme::dark()};
    const auto shows = [&](bool holding, std::optional<int> number) {
        input.isHoldingCommandKey = holding;
        input.shortcutNumber = number;
        return ClippingCard::showsShortcutBadge(input);
    };
    EXPECT_TRUE(shows(true, 1));
    EXPECT_TRUE(shows(true, 9));
    EXPECT_FALSE(shows(true, 10));
    EXPECT_FALSE(shows(true, 0));
    EXPECT_FALSE(shows(true, std::nullopt));
    EXPECT_FALSE(shows(false, 3));
    input.isHoldingCommandKey = true;
    input.shortcutNumber = 1;
    EXPECT_EQ(ClippingCard::layout(input).trailing.text, QStringLiteral("Ctrl+1"));
    input.shortcutNumber = 12;
    EXPECT_FALSE(ClippingCard::layout(input).trailingIsShortcut);
}

TEST(ClippingCardTest, ToolTipsNameTheNativeKeys)
{
    ClippingItem item = textClipping(QStringLiteral("x"));
    using Part = CardLayout::Part;
    EXPECT_EQ(ClippingCard::toolTip(Part::MaskButton, item, true),
              QStringLiteral("Show Text (or hold Alt)"));
    EXPECT_EQ(ClippingCard::toolTip(Part::MaskButton, item, false),
              QStringLiteral("Hide / Mask Text"));
    EXPECT_EQ(ClippingCard::toolTip(Part::CopyButton, item, false),
              QStringLiteral("Copy to Clipboard (Ctrl+C)"));
    EXPECT_EQ(ClippingCard::toolTip(Part::FavoriteButton, item, false),
              QStringLiteral("Add to Favorites"));
    item.isFavorite = true;
    EXPECT_EQ(ClippingCard::toolTip(Part::FavoriteButton, item, false),
              QStringLiteral("Remove from Favorites"));
    EXPECT_TRUE(ClippingCard::toolTip(Part::Content, item, false).isEmpty());
}

TEST(ClippingCardTest, MaskButtonForTextAndPasswords)
{
    ClippingItem item = textClipping(QStringLiteral("x"));
    EXPECT_TRUE(ClippingCard::hasMaskButton(item));
    item.type = ClippingType::Url;
    EXPECT_FALSE(ClippingCard::hasMaskButton(item));
    item.isPassword = true;
    EXPECT_TRUE(ClippingCard::hasMaskButton(item));
}
