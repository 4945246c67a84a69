#include "model/passwordcrypto.h"
#include "statefixture.h"

#include <QBuffer>
#include <QImage>

namespace
{

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// What a restore left on the clipboard, in a form a table can spell out.
struct Written {
    std::optional<QString> string;
    std::optional<QByteArray> rtf;
    std::optional<QUrl> url;
    std::optional<QSize> imageSize;
};

struct RestoreCase {
    const char *name;
    ClippingItem item;
    bool plainTextOnly;
    Written expected;
};

void PrintTo(const RestoreCase &c, std::ostream *os)
{
    *os << c.name;
}

const QByteArray rtf("{\\rtf1 rich}");

class RestoreTest : public StateFixture, public testing::WithParamInterface<RestoreCase>
{
};

TEST_P(RestoreTest, WritesTheRichestFormOrPlainText)
{
    ClipboardManagerState &s = makeState();
    m_pasteboard.copyText(QStringLiteral("left over"));
    s.copyToSystemPasteboard(ClippingItem::make(GetParam().item), GetParam().plainTextOnly);

    const FakePasteboard::Content &content = m_pasteboard.content();
    const Written &expected = GetParam().expected;
    EXPECT_EQ(content.string, expected.string);
    EXPECT_EQ(content.rtf, expected.rtf);
    EXPECT_EQ(content.url, expected.url);
    EXPECT_EQ(content.image ? std::optional(content.image->size()) : std::nullopt,
              expected.imageSize);
    EXPECT_EQ(s.statusToastMessage(), GetParam().plainTextOnly
                                          ? QStringLiteral("Copied as Plain Text")
                                          : QStringLiteral("Copied to Clipboard"));
    EXPECT_EQ(m_pasteboard.writes(), 1) << "other programs saw more than one change";
    EXPECT_EQ(content.types.contains(PasteboardMarker::concealed), GetParam().item.isPassword)
        << "a secret goes out marked, and only a secret";
}

INSTANTIATE_TEST_SUITE_P(
    Types, RestoreTest,
    testing::Values(
        RestoreCase{"textWithRichText",
                    {.textContent = "rich", .rtfData = rtf},
                    false,
                    {.string = "rich", .rtf = rtf}},
        RestoreCase{"textWithRichTextAsPlain",
                    {.textContent = "rich", .rtfData = rtf},
                    true,
                    {.string = "rich"}},
        RestoreCase{"colorWithRichText",
                    {.type = ClippingType::Color, .textContent = "#FF0000", .rtfData = rtf},
                    false,
                    {.string = "#FF0000", .rtf = rtf}},
        RestoreCase{"link",
                    {.type = ClippingType::Url, .textContent = "https://example.com/a"},
                    false,
                    {.string = "https://example.com/a", .url = QUrl("https://example.com/a")}},
        RestoreCase{"linkThatIsNoURL",
                    {.type = ClippingType::Url, .textContent = "not a url"},
                    false,
                    {.string = "not a url"}},
        RestoreCase{"linkAsPlain",
                    {.type = ClippingType::Url, .textContent = "https://example.com/a"},
                    true,
                    {.string = "https://example.com/a"}},
        RestoreCase{"image",
                    {.type = ClippingType::Image,
                     .textContent = QString::fromUtf8("Image (3 × 2 px)"),
                     .imageData = pngBytes(3, 2)},
                    false,
                    {.imageSize = QSize(3, 2)}},
        RestoreCase{"imageAsPlain",
                    {.type = ClippingType::Image,
                     .textContent = QString::fromUtf8("Image (3 × 2 px)"),
                     .imageData = pngBytes(3, 2)},
                    true,
                    {.string = QString::fromUtf8("Image (3 × 2 px)")}},
        RestoreCase{"imageThatDoesNotDecode",
                    {.type = ClippingType::Image,
                     .textContent = QString::fromUtf8("Image (3 × 2 px)"),
                     .imageData = QByteArray("not an image")},
                    false,
                    {.string = QString::fromUtf8("Image (3 × 2 px)")}},
        RestoreCase{"file",
                    {.type = ClippingType::File,
                     .textContent = "Report.pdf",
                     .fileName = "Report.pdf",
                     .filePath = "/Users/x/Docs/"},
                    false,
                    {.url = QUrl::fromLocalFile("/Users/x/Docs/Report.pdf")}},
        RestoreCase{"fileFolderWithoutSlash",
                    {.type = ClippingType::File,
                     .textContent = "Report.pdf",
                     .fileName = "Report.pdf",
                     .filePath = "/Users/x/Docs"},
                    false,
                    {.url = QUrl::fromLocalFile("/Users/x/Docs/Report.pdf")}},
        RestoreCase{"fileAsPlain",
                    {.type = ClippingType::File,
                     .textContent = "Report.pdf",
                     .fileName = "Report.pdf",
                     .filePath = "/Users/x/Docs/"},
                    true,
                    {.string = "Report.pdf"}},
        RestoreCase{"fileWithoutLocation",
                    {.type = ClippingType::File, .textContent = "Report.pdf"},
                    false,
                    {.string = "Report.pdf"}},
        RestoreCase{"secretIsWrittenOpened",
                    {.textContent = "hunter2", .isPassword = true},
                    false,
                    {.string = "hunter2"}},
        RestoreCase{"secretAsPlain",
                    {.textContent = "hunter2", .isPassword = true},
                    true,
                    {.string = "hunter2"}},
        RestoreCase{
            "secretLink",
            {.type = ClippingType::Url,
             .textContent = "https://example.com/token",
             .isPassword = true},
            false,
            {.string = "https://example.com/token", .url = QUrl("https://example.com/token")}}),
    [](const auto &info) { return std::string(info.param.name); });

class RestoreRulesTest : public StateFixture
{
};

TEST_F(RestoreRulesTest, ARestoreIsNotCapturedAgainButTheNextCopyIs)
{
    ClipboardManagerState &s = makeState();
    m_pasteboard.copyText(QStringLiteral("older"));
    s.checkPasteboard();
    m_pasteboard.copyText(QStringLiteral("newer"));
    s.checkPasteboard();
    const qsizetype count = s.items().size();
    const ClippingItem older = s.items().at(1);

    s.copyToSystemPasteboard(older);
    s.checkPasteboard();
    EXPECT_EQ(s.items().size(), count);
    EXPECT_EQ(s.items().at(1).id, older.id) << "the restored clipping keeps its place";

    m_pasteboard.copyText(QStringLiteral("next"));
    s.checkPasteboard();
    ASSERT_EQ(s.items().size(), count + 1);
    EXPECT_EQ(s.items().first().textContent, u"next");
}

TEST_F(RestoreRulesTest, TheSecretIsNeverWrittenSealed)
{
    ClipboardManagerState &s = makeState();
    const ClippingItem secret =
        ClippingItem::make({.textContent = QStringLiteral("hunter2"), .isPassword = true});
    ASSERT_TRUE(secret.encryptedPasswordData);
    s.copyToSystemPasteboard(secret);
    EXPECT_EQ(m_pasteboard.content().string, QStringLiteral("hunter2"));
    EXPECT_FALSE(m_pasteboard.content().rtf);
}

TEST_F(RestoreRulesTest, ActivationRestoresThenAsksTheShellWithTheAutoPasteSetting)
{
    ClipboardManagerState &s = makeState();
    QList<bool> requests;
    s.onRequestHideWindowAndPaste = [&](const ClippingItem &, bool paste) {
        EXPECT_EQ(m_pasteboard.content().string, QStringLiteral("one")) << "restored first";
        requests.append(paste);
    };
    const ClippingItem item = ClippingItem::make({.textContent = QStringLiteral("one")});
    s.activateClipping(item);
    s.setAutoPasteIntoFrontmostApp(true);
    s.activateClipping(item, true);
    EXPECT_EQ(requests, (QList<bool>{false, true}));
    EXPECT_EQ(s.statusToastMessage(), QStringLiteral("Copied as Plain Text"));

    s.onRequestHideWindowAndPaste = nullptr;
    s.activateClipping(item);
    EXPECT_EQ(m_pasteboard.content().string, QStringLiteral("one"));
}

struct OpenCase {
    const char *name;
    ClippingItem item;
    QList<QUrl> opened;
    QStringList revealed;
};

void PrintTo(const OpenCase &c, std::ostream *os)
{
    *os << c.name;
}

class OpenSelectedTest : public StateFixture, public testing::WithParamInterface<OpenCase>
{
};

TEST_P(OpenSelectedTest, OpensAndRevealsTheSelectedClipping)
{
    ClipboardManagerState &s = makeState();
    s.insertNewItem(ClippingItem::make(GetParam().item));
    // A search that hides the clipping does not matter: it is found in the whole history.
    s.setSearchText(QStringLiteral("no such text anywhere"));
    s.openSelectedItem();
    s.revealSelectedItemInFinder();
    EXPECT_EQ(m_workspace.opened(), GetParam().opened);
    EXPECT_EQ(m_workspace.revealed(), GetParam().revealed);
}

INSTANTIATE_TEST_SUITE_P(
    Types, OpenSelectedTest,
    testing::Values(
        OpenCase{"linkIsTrimmedAndOpened",
                 {.type = ClippingType::Url, .textContent = "  https://example.com/x\n"},
                 {QUrl("https://example.com/x")},
                 {}},
        OpenCase{"linkThatIsNoURL", {.type = ClippingType::Url, .textContent = "no url"}, {}, {}},
        OpenCase{"file",
                 {.type = ClippingType::File,
                  .textContent = "Report.pdf",
                  .fileName = "Report.pdf",
                  .filePath = "/Users/x/Docs/"},
                 {QUrl::fromLocalFile("/Users/x/Docs/Report.pdf")},
                 {"/Users/x/Docs/Report.pdf"}},
        OpenCase{"fileWithoutName",
                 {.type = ClippingType::File, .textContent = "Docs", .filePath = "/Users/x/Docs/"},
                 {QUrl::fromLocalFile("/Users/x/Docs/")},
                 {"/Users/x/Docs/"}},
        OpenCase{"text", {.textContent = "plain words"}, {}, {}},
        OpenCase{"color", {.type = ClippingType::Color, .textContent = "#00FF00"}, {}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RestoreRulesTest, OpeningWithoutOrWithAStaleSelectionDoesNothing)
{
    ClipboardManagerState &s = makeState();
    s.insertNewItem(ClippingItem::make(
        {.type = ClippingType::Url, .textContent = QStringLiteral("https://example.com/")}));
    s.setSelectedItemID(std::nullopt);
    s.openSelectedItem();
    s.setSelectedItemID(QUuid::createUuid());
    s.openSelectedItem();
    s.revealSelectedItemInFinder();
    EXPECT_TRUE(m_workspace.opened().isEmpty());
    EXPECT_TRUE(m_workspace.revealed().isEmpty());
}

} // namespace
