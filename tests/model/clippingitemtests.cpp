#include "model/clippingitem.h"
#include "model/passwordcrypto.h"
#include "scratchdirectory.h"

#include <gtest/gtest.h>

namespace
{

ClippingItem textItem(const QString &text, RichContentKind kind = RichContentKind::PlainText)
{
    return ClippingItem::make({.type = ClippingType::Text,
                               .textContent = text,
                               .richKind = kind,
                               .sourceAppName = QStringLiteral("Editor"),
                               .sourceAppBundleID = QStringLiteral("org.example.editor")});
}

TEST(ClippingItemTest, MakeFillsIdentityAndTime)
{
    const Timestamp before = Timestamp::now();
    const ClippingItem item = textItem(QStringLiteral("hello"));
    EXPECT_FALSE(item.id.isNull());
    EXPECT_NE(item.id, textItem(QStringLiteral("hello")).id);
    EXPECT_GE(item.createdAt, before);
    EXPECT_EQ(item.isMasked, false);
    EXPECT_FALSE(item.isSecret());
}

TEST(ClippingItemTest, PasswordTextIsSealedAtOnce)
{
    const ClippingItem item = ClippingItem::make({.type = ClippingType::Text,
                                                  .textContent = QStringLiteral("abc"),
                                                  .isPassword = true,
                                                  .rtfData = QByteArray("{\\rtf1 abc}"),
                                                  .sourceAppName = QStringLiteral("Vault"),
                                                  .sourceAppBundleID = {}});
    EXPECT_TRUE(item.textContent.isEmpty());
    ASSERT_TRUE(item.encryptedPasswordData);
    EXPECT_EQ(item.encryptedPasswordData->size(), 31);
    EXPECT_EQ(item.isMasked, true);
    EXPECT_TRUE(item.isPassword);
    EXPECT_FALSE(item.rtfData);
    EXPECT_EQ(item.resolvedText(), QStringLiteral("abc"));
}

TEST(ClippingItemTest, PasswordExplicitlyUnmaskedStaysPlain)
{
    const ClippingItem item = ClippingItem::make({.type = ClippingType::Text,
                                                  .textContent = QStringLiteral("abc"),
                                                  .isPassword = true,
                                                  .isMasked = false,
                                                  .sourceAppName = {},
                                                  .sourceAppBundleID = {}});
    EXPECT_EQ(item.textContent, QStringLiteral("abc"));
    EXPECT_FALSE(item.encryptedPasswordData);
    EXPECT_EQ(item.isMasked, false);
    EXPECT_TRUE(item.isPassword);
    EXPECT_TRUE(item.isSecret()) << "a password is a secret whatever isMasked says";
}

TEST(ClippingItemTest, GivenSealedBytesAreKeptAsGiven)
{
    const QByteArray sealed = *PasswordCrypto::encrypt(QStringLiteral("x"));
    const ClippingItem item = ClippingItem::make({.type = ClippingType::Text,
                                                  .textContent = {},
                                                  .encryptedPasswordData = sealed,
                                                  .isPassword = true,
                                                  .sourceAppName = {},
                                                  .sourceAppBundleID = {}});
    EXPECT_EQ(item.encryptedPasswordData, sealed);
    EXPECT_EQ(item.resolvedText(), QStringLiteral("x"));
}

TEST(ClippingItemTest, MaskingAndUnmaskingMoveTheTextAndDropRichText)
{
    ClippingItem item = textItem(QStringLiteral("rich words"));
    item.rtfData = QByteArray("{\\rtf1 rich words}");
    item.isFavorite = true;
    const ClippingItem before = item;

    item.applyMaskState(true);
    EXPECT_TRUE(item.textContent.isEmpty());
    EXPECT_FALSE(item.rtfData);
    EXPECT_TRUE(item.isPassword);
    EXPECT_EQ(item.isMasked, true);
    EXPECT_EQ(item.resolvedText(), QStringLiteral("rich words"));
    EXPECT_EQ(item.id, before.id);
    EXPECT_TRUE(item.isFavorite);

    const QByteArray firstSealing = *item.encryptedPasswordData;
    item.applyMaskState(true);
    EXPECT_NE(*item.encryptedPasswordData, firstSealing) << "masking again seals afresh";

    item.applyMaskState(false);
    EXPECT_EQ(item.textContent, QStringLiteral("rich words"));
    EXPECT_FALSE(item.encryptedPasswordData);
    EXPECT_FALSE(item.isPassword);
    EXPECT_EQ(item.isMasked, false);
    EXPECT_FALSE(item.rtfData);
}

TEST(ClippingItemTest, MaskingEmptyTextSealsNothing)
{
    ClippingItem item = textItem(QString());
    item.applyMaskState(true);
    EXPECT_FALSE(item.encryptedPasswordData);
    EXPECT_TRUE(item.isSecret());
}

TEST(ClippingItemTest, SealedBytesThatDoNotOpenAreKeptRatherThanUnmaskedToNothing)
{
    ClippingItem item = textItem(QString());
    item.isPassword = true;
    item.isMasked = true;
    item.encryptedPasswordData = QByteArray(40, 'z');
    EXPECT_EQ(item.resolvedText(), QString());
    EXPECT_EQ(item.obfuscatedText(), QString(8, QChar(0x2022)));
    const ClippingItem before = item;
    EXPECT_FALSE(item.applyMaskState(false));
    EXPECT_EQ(item, before);
}

TEST(ClippingItemTest, WithoutAKeyNothingChangesAndNoTextIsLost)
{
    ClippingItem plain = textItem(QStringLiteral("keep me"));
    ClippingItem secret = textItem(QStringLiteral("sealed"));
    ASSERT_TRUE(secret.applyMaskState(true));
    ClippingItem plainSecret = textItem(QStringLiteral("only copy"));
    plainSecret.isPassword = true;
    plainSecret.isMasked.reset();

    PasswordCrypto::setKeyProvider([] { return QByteArray(); });
    for (auto [item, masked] :
         {std::pair{&plain, true}, std::pair{&secret, false}, std::pair{&plainSecret, true}}) {
        const ClippingItem before = *item;
        EXPECT_FALSE(item->applyMaskState(masked));
        EXPECT_EQ(*item, before);
    }
    const ClippingItem made = ClippingItem::make(
        {.textContent = QStringLiteral("copied"), .isPassword = true, .sourceAppName = {}});
    EXPECT_EQ(made.textContent, QStringLiteral("copied")) << "kept until it can be sealed";
    EXPECT_TRUE(made.awaitsSealing());
    PasswordCrypto::setKeyProvider(testClippingKey);
}

TEST(ClippingItemTest, ObfuscatedTextIsClampedBetweenEightAndThirtyTwoDots)
{
    EXPECT_EQ(textItem(QStringLiteral("abc")).obfuscatedText(), QString(8, QChar(0x2022)));
    EXPECT_EQ(textItem(QString(12, u'a')).obfuscatedText(), QString(12, QChar(0x2022)));
    EXPECT_EQ(textItem(QString(100, u'a')).obfuscatedText(), QString(32, QChar(0x2022)));
}

TEST(ClippingItemTest, SecretWhenMaskedOrAPassword)
{
    ClippingItem item = textItem(QStringLiteral("t"));
    item.isPassword = true;
    item.isMasked.reset();
    EXPECT_TRUE(item.isSecret());
    item.isMasked = false;
    EXPECT_TRUE(item.isSecret());
    item.isPassword = false;
    EXPECT_FALSE(item.isSecret());
    item.isMasked = true;
    EXPECT_TRUE(item.isSecret());
}

struct AgeCase {
    double seconds;
    const char *expected;
};

void PrintTo(const AgeCase &c, std::ostream *os)
{
    *os << c.seconds << " s";
}

class RelativeTimeTest : public testing::TestWithParam<AgeCase>
{
};

TEST_P(RelativeTimeTest, UsesTheLargestWholeUnit)
{
    ClippingItem item = textItem(QStringLiteral("t"));
    item.createdAt = Timestamp(1000000.0);
    EXPECT_EQ(item.relativeTimeString(item.createdAt.addingSeconds(GetParam().seconds)),
              QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Ages, RelativeTimeTest,
                         testing::Values(AgeCase{0.4, "1s"}, AgeCase{-30, "1s"}, AgeCase{1.9, "1s"},
                                         AgeCase{42, "42s"}, AgeCase{59, "59s"}, AgeCase{60, "1m"},
                                         AgeCase{3599, "59m"}, AgeCase{3600, "1h"},
                                         AgeCase{86399, "23h"}, AgeCase{86400, "1d"},
                                         AgeCase{400 * 86400.0, "400d"}));

TEST(ClippingItemTest, AgeOverrideWins)
{
    ClippingItem item = textItem(QStringLiteral("t"));
    item.customRelativeTimeOverride = QStringLiteral("5s");
    EXPECT_EQ(item.relativeTimeString(item.createdAt.addingSeconds(9999)), QStringLiteral("5s"));
}

struct EmojiCase {
    const char16_t *text;
    bool large;
};

void PrintTo(const EmojiCase &c, std::ostream *os)
{
    *os << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

class LargeEmojiTest : public testing::TestWithParam<EmojiCase>
{
};

TEST_P(LargeEmojiTest, OneToFourEmojiOnly)
{
    EXPECT_EQ(textItem(QString::fromUtf16(GetParam().text)).isLargeEmojiOnly(), GetParam().large);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LargeEmojiTest,
    testing::Values(EmojiCase{u"\U0001F44D \U0001F44D", true},
                    EmojiCase{u"\U0001F44D\U0001F44D\U0001F44D\U0001F44D\U0001F44D", false},
                    EmojiCase{u"\U0001F44D\U0001F44D\U0001F44D\U0001F44D", true},
                    EmojiCase{u"\u270C\uFE0F \U0001F60E", true}, EmojiCase{u"  \U0001F600\n", true},
                    EmojiCase{u"\U0001F468\u200D\U0001F469\u200D\U0001F467", true},
                    EmojiCase{u"\U0001F1E9\U0001F1EA", true}, EmojiCase{u"\u2049", true},
                    EmojiCase{u"1", false}, EmojiCase{u"#", false}, EmojiCase{u"\u203C", false},
                    EmojiCase{u"\U0001F600a", false}, EmojiCase{u"", false},
                    EmojiCase{u"   ", false},
                    // Six characters before the spaces are taken out is too many.
                    EmojiCase{u"\U0001F600 \U0001F600 \U0001F600 \U0001F600", false}));

TEST(ClippingItemTest, LargeEmojiNeedsAPlainVisibleTextClipping)
{
    ClippingItem masked = textItem(QStringLiteral("\U0001F600"));
    masked.applyMaskState(true);
    EXPECT_FALSE(masked.isLargeEmojiOnly());

    ClippingItem headline = textItem(QStringLiteral("\U0001F600"), RichContentKind::CoralHeadline);
    EXPECT_FALSE(headline.isLargeEmojiOnly());

    ClippingItem link = textItem(QStringLiteral("\U0001F600"));
    link.type = ClippingType::Url;
    EXPECT_FALSE(link.isLargeEmojiOnly());
}

struct FooterCase {
    const char *name;
    ClippingItem item;
    QString expected;
};

ClippingItem withType(ClippingItem item, ClippingType type)
{
    item.type = type;
    return item;
}

std::vector<FooterCase> footerCases()
{
    ClippingItem file = withType(textItem(QStringLiteral("a.txt")), ClippingType::File);
    ClippingItem file30 = file;
    file30.filePath = QStringLiteral("/Users/somebody/Documents/abc/"); // 30 characters
    ClippingItem file31 = file;
    file31.filePath = QStringLiteral("/Users/somebody/Documents/abcd/");
    ClippingItem fileNamed = file;
    fileNamed.fileName = QStringLiteral("Plan.pdf");
    ClippingItem fileBare = file;

    ClippingItem image = withType(textItem(QStringLiteral("x.png")), ClippingType::Image);
    ClippingItem imageSized = image;
    imageSized.imageDimensions = QStringLiteral("20 × 10 px");

    ClippingItem color = withType(textItem(QStringLiteral("#FFF")), ClippingType::Color);
    ClippingItem colorHex = color;
    colorHex.colorHex = QStringLiteral("#4FC2E7");

    ClippingItem url = withType(textItem(QStringLiteral("https://a.example")), ClippingType::Url);
    ClippingItem urlTitled = url;
    urlTitled.urlTitle = QStringLiteral("A page");
    ClippingItem urlEmptyTitle = url;
    urlEmptyTitle.urlTitle = QString();

    ClippingItem calendar = withType(textItem(QStringLiteral("x")), ClippingType::Color);
    calendar.richKind = RichContentKind::CalendarEvent;

    ClippingItem secret = textItem(QStringLiteral("abcd"));
    secret.applyMaskState(true);

    return {
        {"file30", file30, QStringLiteral("/Users/somebody/Documents/abc/")},
        {"file31", file31, QStringLiteral("...rs/somebody/Documents/abcd/")},
        {"fileName", fileNamed, QStringLiteral("Plan.pdf")},
        {"fileBare", fileBare, QStringLiteral("File")},
        {"imageDefault", image, QStringLiteral("512 × 512 px")},
        {"imageSized", imageSized, QStringLiteral("20 × 10 px")},
        {"colorText", color, QStringLiteral("4 characters")},
        {"colorHex", colorHex, QStringLiteral("7 characters")},
        {"urlBare", url, QStringLiteral("17 characters")},
        {"urlTitled", urlTitled, QStringLiteral("A page")},
        {"urlEmptyTitle", urlEmptyTitle, QStringLiteral("17 characters")},
        {"calendarAnyType", calendar, QStringLiteral("Calendar Event")},
        {"code", textItem(QStringLiteral("int a;\nb();"), RichContentKind::CodeSnippet),
         QStringLiteral("2 lines, 11 characters")},
        {"codeOneLine", textItem(QStringLiteral("int a;"), RichContentKind::CodeSnippet),
         QStringLiteral("6 characters")},
        {"codeCrLf", textItem(QStringLiteral("a\r\nb\n\n"), RichContentKind::CodeSnippet),
         QStringLiteral("4 lines, 5 characters")},
        {"plainTwoLines", textItem(QStringLiteral("int a;\nb();")),
         QStringLiteral("11 characters")},
        {"one", textItem(QStringLiteral("a")), QStringLiteral("1 characters")},
        {"emoji", textItem(QStringLiteral("\u270C\uFE0F \U0001F60E")),
         QStringLiteral("2 characters")},
        {"secretCountsOpenedText", secret, QStringLiteral("4 characters")},
    };
}

class FooterTest : public testing::TestWithParam<FooterCase>
{
};

TEST_P(FooterTest, DescribesTheContent)
{
    EXPECT_EQ(GetParam().item.footerMetadataText(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Items, FooterTest, testing::ValuesIn(footerCases()),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
