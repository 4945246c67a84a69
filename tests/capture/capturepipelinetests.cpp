#include "capture/clipboardcapture.h"
#include "capturefixture.h"

#include <QRandomGenerator>
#include <QTest>

namespace
{

const QString imageToast = QStringLiteral("Skipped: Image exceeds 10 MB limit");
const QString textToast = QStringLiteral("Skipped: Text exceeds 10 MB limit");

QImage filledImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(79, 194, 231));
    return image;
}

QUrl fileURL(const char *path)
{
    return QUrl::fromLocalFile(QString::fromUtf8(path));
}

class CaptureTest : public CaptureFixture
{
};

TEST_F(CaptureTest, ContentPresentAtStartIsNotCaptured)
{
    m_pasteboard.copyText(QStringLiteral("before"));
    start();
    poll();
    EXPECT_EQ(count(), 1);
    m_pasteboard.copyText(QStringLiteral("after"));
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().textContent, QStringLiteral("after"));
}

TEST_F(CaptureTest, ANewClippingIsFirstSelectedAndSaved)
{
    start();
    m_pasteboard.copyText(QStringLiteral("hello"));
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().textContent, QStringLiteral("hello"));
    EXPECT_EQ(newest().sourceAppName, QStringLiteral("Editor"));
    EXPECT_EQ(newest().sourceAppBundleID, QStringLiteral("org.example.editor"));
    EXPECT_EQ(newest().createdAt, m_clock.now());
    EXPECT_EQ(state().selectedItemID(), newest().id);
    EXPECT_EQ(storedFile().items, state().items());
}

TEST_F(CaptureTest, APollWithoutChangeReadsOnlyTheCount)
{
    start();
    const int reads = m_pasteboard.reads();
    for (int i = 0; i < 5; ++i)
        poll();
    EXPECT_EQ(m_pasteboard.reads(), reads);
}

TEST_F(CaptureTest, ChangeNotificationCapturesWithoutWaitingForThePoll)
{
    start();
    m_pasteboard.copyText(QStringLiteral("at once"));
    EXPECT_EQ(count(), 1) << "never read from inside the notification";
    QCoreApplication::processEvents();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().textContent, QStringLiteral("at once"));
}

TEST_F(CaptureTest, TheTimerFindsChangesThatWereNotNotified)
{
    start();
    m_pasteboard.setNotifiesChanges(false);
    m_pasteboard.copyText(QStringLiteral("polled"));
    QCoreApplication::processEvents();
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return count() == 2; }, 1000));
    EXPECT_EQ(newest().textContent, QStringLiteral("polled"));
}

TEST_F(CaptureTest, PauseKeepsTheChangeForTheFirstPollAfterResuming)
{
    start();
    state().setIsPaused(true);
    m_pasteboard.copyText(QStringLiteral("A"));
    m_pasteboard.copyText(QStringLiteral("B"));
    QCoreApplication::processEvents();
    poll();
    EXPECT_EQ(count(), 1);
    state().setIsPaused(false);
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().textContent, QStringLiteral("B"));
}

TEST_F(CaptureTest, CopiesInTheProgramItselfAreNeverCaptured)
{
    start();
    m_frontApplication.setOwnApplicationInFront();
    m_pasteboard.copyText(QStringLiteral("own field"));
    poll();
    m_frontApplication.setFront(QStringLiteral("Editor"), QString());
    poll();
    EXPECT_EQ(count(), 1) << "the skipped change is dealt with";
    m_pasteboard.copyText(QStringLiteral("elsewhere"));
    poll();
    EXPECT_EQ(count(), 2);
}

// The board may come to the front between the copy and the poll; the copy is the work of the
// application that was in front when the clipboard reported it.
TEST_F(CaptureTest, TheCopyIsJudgedByWhoWasInFrontWhenItWasReported)
{
    start();
    m_frontApplication.setFront(QStringLiteral("Bitwarden"), QString());
    m_pasteboard.copyText(QStringLiteral("hunter2"));
    m_frontApplication.setOwnApplicationInFront();
    QCoreApplication::processEvents();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().sourceAppName, QStringLiteral("Bitwarden"));
    EXPECT_TRUE(newest().isPassword);

    m_pasteboard.copyText(QStringLiteral("own field"));
    m_frontApplication.setFront(QStringLiteral("Editor"), QString());
    QCoreApplication::processEvents();
    EXPECT_EQ(count(), 2);
}

TEST_F(CaptureTest, ACopyMadeWhileStartingIsTakenBeforeTheBoardCanShow)
{
    makeReadingState();
    m_pasteboard.copyText(QStringLiteral("during start-up"));
    state().finishLoading();
    EXPECT_EQ(newest().textContent, QStringLiteral("during start-up"));
    EXPECT_EQ(newest().sourceAppName, QStringLiteral("Editor"));
}

TEST_F(CaptureTest, ARestoredClippingIsNotCapturedButTheNextCopyIs)
{
    start();
    m_pasteboard.copyText(QStringLiteral("A"));
    poll();
    m_pasteboard.copyText(QStringLiteral("B"));
    poll();
    state().copyToSystemPasteboard(state().items()[1]);
    QCoreApplication::processEvents();
    poll();
    ASSERT_EQ(count(), 3);
    EXPECT_EQ(newest().textContent, QStringLiteral("B"));
    m_pasteboard.copyText(QStringLiteral("C"));
    poll();
    EXPECT_EQ(newest().textContent, QStringLiteral("C"));
}

struct SourceCase {
    const char *name;
    std::optional<RunningApplication> front;
    const char *appName;
    const char *bundleID;
};

class SourceApplicationTest : public CaptureFixture, public testing::WithParamInterface<SourceCase>
{
};

TEST_P(SourceApplicationTest, NameAndId)
{
    start();
    m_frontApplication.setFront(GetParam().front);
    m_pasteboard.copyText(QStringLiteral("x"));
    poll();
    EXPECT_EQ(newest().sourceAppName, QString::fromUtf8(GetParam().appName));
    EXPECT_EQ(newest().sourceAppBundleID, QString::fromUtf8(GetParam().bundleID));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SourceApplicationTest,
    testing::Values(
        SourceCase{"NoFrontApplication", std::nullopt, "Finder", ""},
        SourceCase{"Nameless", RunningApplication{.bundleIdentifier = QStringLiteral("a.b")},
                   "Finder", "a.b"},
        SourceCase{"Chrome",
                   RunningApplication{.localizedName = QStringLiteral("Google Chrome"),
                                      .bundleIdentifier = QStringLiteral("google-chrome")},
                   "Chrome", "google-chrome"},
        SourceCase{"OtherChrome",
                   RunningApplication{.localizedName = QStringLiteral("Google Chrome Beta")},
                   "Google Chrome Beta", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CaptureTest, FileURLsComeFirstAndOnlyTheFirstIsKept)
{
    start();
    m_pasteboard.copy({.types = {QStringLiteral("text/uri-list"), QStringLiteral("image/png")},
                       .fileURLs = {fileURL("/home/x/Pictures/shot.png"), fileURL("/tmp/b.txt")},
                       .image = filledImage(4, 4),
                       .string = QStringLiteral("shot.png")});
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().type, ClippingType::File);
    EXPECT_EQ(newest().fileName, QStringLiteral("shot.png"));
    EXPECT_EQ(newest().filePath, QStringLiteral("/home/x/Pictures/"));
}

TEST_F(CaptureTest, AnImageComesBeforeTextAndIsStoredAsFreshPng)
{
    start();
    m_pasteboard.copy({.types = {QStringLiteral("image/png"), QStringLiteral("text/plain")},
                       .image = filledImage(30, 20),
                       .string = QStringLiteral("caption")});
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().type, ClippingType::Image);
    EXPECT_EQ(newest().textContent, QStringLiteral("Image (30 \u00D7 20 px)"));
    ASSERT_TRUE(newest().imageData);
    EXPECT_TRUE(newest().imageData->startsWith("\x89PNG"));
    EXPECT_EQ(QImage::fromData(*newest().imageData).size(), QSize(30, 20));
}

TEST_F(CaptureTest, TiffIsConvertedToPng)
{
    start();
    m_pasteboard.copyImage(filledImage(12, 8), "TIFF");
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().type, ClippingType::Image);
    ASSERT_TRUE(newest().imageData);
    EXPECT_TRUE(newest().imageData->startsWith("\x89PNG"));
    EXPECT_EQ(newest().imageDimensions, QStringLiteral("12 \u00D7 8 px"));
}

// Raw data that no decoder takes, of an exact size.
QByteArray undecodable(qint64 size, const QByteArray &header = {})
{
    QByteArray bytes = header;
    bytes.append(QByteArray(size - header.size(), 'z'));
    return bytes;
}

struct LimitCase {
    const char *name;
    FakePasteboard::Content content;
    // The text clipping that is made, or nothing.
    std::optional<QString> captured;
    std::optional<QString> toast;
};

class SizeLimitTest : public CaptureFixture, public testing::WithParamInterface<LimitCase>
{
};

TEST_P(SizeLimitTest, Outcome)
{
    start();
    m_pasteboard.copy(GetParam().content);
    poll();
    EXPECT_EQ(state().statusToastMessage(), GetParam().toast);
    if (GetParam().captured) {
        ASSERT_EQ(count(), 2);
        EXPECT_EQ(newest().textContent, *GetParam().captured);
    } else {
        EXPECT_EQ(count(), 1);
    }
}

const QString fallback = QStringLiteral("fallback text");
const QByteArray pngHeader("\x89PNG\r\n\x1a\n", 8);
// 5,242,880 two-byte characters: exactly 10,485,760 UTF-8 bytes.
const QString largestText = QString(5'242'880, QChar(0xE9));

INSTANTIATE_TEST_SUITE_P(
    Limits, SizeLimitTest,
    testing::Values(LimitCase{"PngAtTheLimit",
                              {.png = undecodable(10'485'760, pngHeader), .string = fallback},
                              fallback,
                              std::nullopt},
                    LimitCase{"PngOneByteOverEvenWithText",
                              {.png = undecodable(10'485'761, pngHeader), .string = fallback},
                              std::nullopt,
                              imageToast},
                    LimitCase{"TiffAtTheLimit",
                              {.tiff = undecodable(41'943'040), .string = fallback},
                              fallback,
                              std::nullopt},
                    LimitCase{"TiffOneByteOver",
                              {.tiff = undecodable(41'943'041), .string = fallback},
                              std::nullopt,
                              imageToast},
                    LimitCase{"TextAtTheLimit", {.string = largestText}, largestText, std::nullopt},
                    LimitCase{
                        "TextOneByteOver", {.string = largestText + u'a'}, std::nullopt, textToast},
                    LimitCase{"PngHeaderWithGarbageFallsToText",
                              {.png = pngHeader + QByteArray(500, '\x07'), .string = fallback},
                              fallback,
                              std::nullopt},
                    LimitCase{"PngHeaderWithGarbageAlone",
                              {.png = pngHeader + QByteArray(500, '\x07')},
                              std::nullopt,
                              std::nullopt},
                    LimitCase{"EmptyText", {.string = QString()}, std::nullopt, std::nullopt},
                    LimitCase{"NothingReadable",
                              {.types = {QStringLiteral("application/x-thing")}},
                              std::nullopt,
                              std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CaptureTest, RichTextIsKeptUpToItsLimit)
{
    start();
    m_pasteboard.copy({.rtf = undecodable(10'485'760), .string = QStringLiteral("rich")});
    poll();
    ASSERT_EQ(count(), 2);
    ASSERT_TRUE(newest().rtfData);
    EXPECT_EQ(newest().rtfData->size(), 10'485'760);

    m_pasteboard.copy({.rtf = undecodable(10'485'761), .string = QStringLiteral("richer")});
    poll();
    ASSERT_EQ(count(), 3);
    EXPECT_EQ(newest().textContent, QStringLiteral("richer"));
    EXPECT_FALSE(newest().rtfData);
    EXPECT_FALSE(state().statusToastMessage());
}

TEST_F(CaptureTest, RichTextIsNotReadForColoursAndLinks)
{
    start();
    m_pasteboard.copy({.rtf = QByteArray("{\\rtf1 #fff}"), .string = QStringLiteral("#fff")});
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().type, ClippingType::Color);
    EXPECT_FALSE(newest().rtfData);
}

TEST_F(CaptureTest, HugeTiffIsRefusedWithoutDecoding)
{
    start();
    m_pasteboard.copy(
        {.tiff = undecodable(50 * 1024 * 1024), .image = filledImage(8, 8), .string = fallback});
    poll();
    EXPECT_EQ(state().statusToastMessage(), imageToast);
    EXPECT_EQ(m_pasteboard.imageDecodes(), 0);
    EXPECT_EQ(count(), 1);
}

TEST_F(CaptureTest, DecodedImageIsWeighedInItsUncompressedForm)
{
    start();
    // 4096 x 2560 pixels of four bytes: exactly 41,943,040 bytes.
    m_pasteboard.copy({.image = filledImage(4096, 2560), .string = fallback});
    poll();
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().type, ClippingType::Image);

    // One pixel row more: too large to convert, so the text is taken, without a toast.
    m_pasteboard.copy({.image = filledImage(4096, 2561), .string = fallback});
    poll();
    ASSERT_EQ(count(), 3);
    EXPECT_EQ(newest().type, ClippingType::Text);
    EXPECT_EQ(newest().textContent, fallback);
    EXPECT_FALSE(state().statusToastMessage());
}

TEST_F(CaptureTest, ProducedPngOverTheLimitIsRefused)
{
    start();
    // Noise does not compress: about 16 MB of PNG from 16 MB of pixels.
    QImage noise(2000, 2000, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        random.fillRange(reinterpret_cast<quint32 *>(noise.scanLine(y)), noise.width());
    m_pasteboard.copy({.image = noise, .string = fallback});
    poll();
    EXPECT_EQ(state().statusToastMessage(), imageToast);
    EXPECT_EQ(count(), 1);
}

struct SensitivityCase {
    const char *name;
    QStringList types;
    const char *appName;
    const char *bundleID;
    bool sensitive;
};

class SensitivityTest : public CaptureFixture,
                        public testing::WithParamInterface<std::tuple<SensitivityCase, bool>>
{
};

TEST_P(SensitivityTest, SecretOrSkipped)
{
    const auto &[sample, ignorePasswords] = GetParam();
    start();
    state().setIgnorePasswords(ignorePasswords);
    m_frontApplication.setFront(QString::fromUtf8(sample.appName),
                                QString::fromUtf8(sample.bundleID));
    const QString password = QStringLiteral("correct horse");
    m_pasteboard.copyText(password, sample.types);
    poll();

    if (sample.sensitive && ignorePasswords) {
        EXPECT_EQ(count(), 1);
        EXPECT_FALSE(state().statusToastMessage());
        return;
    }
    ASSERT_EQ(count(), 2);
    EXPECT_EQ(newest().isPassword, sample.sensitive);
    if (sample.sensitive) {
        EXPECT_TRUE(newest().textContent.isEmpty());
        EXPECT_EQ(newest().resolvedText(), password);
        EXPECT_FALSE(storedFile().items.first().encryptedPasswordData->isEmpty());
    } else {
        EXPECT_EQ(newest().textContent, password);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, SensitivityTest,
    testing::Combine(
        testing::Values(
            SensitivityCase{
                "ConcealedMarker",
                {QStringLiteral("text/plain"), QStringLiteral("org.nspasteboard.ConcealedType")},
                "Editor",
                "",
                true},
            SensitivityCase{"OnePasswordMarker",
                            {QStringLiteral("com.agilebits.onepassword")},
                            "Editor",
                            "",
                            true},
            SensitivityCase{"TransientMarker",
                            {QStringLiteral("org.nspasteboard.TransientType")},
                            "Editor",
                            "",
                            true},
            SensitivityCase{"MarkerNamesCompareExactly",
                            {QStringLiteral("org.nspasteboard.concealedtype")},
                            "Editor",
                            "",
                            false},
            SensitivityCase{"NameFragment", {}, "Bitwarden", "", true},
            SensitivityCase{"NameFragmentIgnoresCase", {}, "KeePassXC Passwords", "", true},
            SensitivityCase{"BundleIdFragment", {}, "Vault", "com.bitwarden.desktop", true},
            SensitivityCase{"KeychainAccess", {}, "Keychain Access", "", true},
            SensitivityCase{"KeePassXC", {}, "KeePassXC", "", true},
            SensitivityCase{"SeahorseById", {}, "Keys", "org.gnome.seahorse.Application", true},
            SensitivityCase{"KWallet", {}, "KWalletManager", "", true},
            SensitivityCase{"Ordinary", {QStringLiteral("text/plain")}, "Editor", "org.e", false}),
        testing::Bool()),
    [](const auto &info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "_Ignored" : "_Kept");
    });

TEST_F(CaptureTest, SensitiveFilesAndImagesAreOrdinaryClippings)
{
    start();
    m_frontApplication.setFront(QStringLiteral("Bitwarden"), QStringLiteral("com.bitwarden"));
    m_pasteboard.copy({.fileURLs = {fileURL("/home/x/vault.json")}});
    poll();
    m_pasteboard.copy({.image = filledImage(2, 2)});
    poll();
    ASSERT_EQ(count(), 3);
    EXPECT_EQ(state().items()[1].type, ClippingType::File);
    EXPECT_FALSE(state().items()[1].isPassword);
    EXPECT_EQ(newest().type, ClippingType::Image);
    EXPECT_FALSE(newest().isPassword);

    state().setIgnorePasswords(true);
    m_pasteboard.copy({.fileURLs = {fileURL("/home/x/other.json")}});
    poll();
    EXPECT_EQ(count(), 3) << "with passwords ignored nothing of the source is taken";
}

TEST_F(CaptureTest, NoPlainSecretReachesTheStoreFile)
{
    start();
    m_pasteboard.copyText(QStringLiteral("SuperSecret42"), {PasteboardMarker::concealed});
    poll();
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("SuperSecret42"));
}

// The newest clipping, then the copies made one after another.
struct DuplicateCase {
    const char *name;
    QList<FakePasteboard::Content> copies;
    int added;
};

class DuplicateTest : public CaptureFixture, public testing::WithParamInterface<DuplicateCase>
{
};

TEST_P(DuplicateTest, OnlyTheNewestIsCompared)
{
    start();
    for (const FakePasteboard::Content &copy : GetParam().copies) {
        m_pasteboard.copy(copy);
        poll();
    }
    EXPECT_EQ(count(), 1 + GetParam().added);
}

FakePasteboard::Content text(const char *value, QStringList types = {})
{
    return {.types = std::move(types), .string = QString::fromUtf8(value)};
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DuplicateTest,
    testing::Values(DuplicateCase{"SameTextTwice", {text("A"), text("A")}, 1},
                    DuplicateCase{"ABA", {text("A"), text("B"), text("A")}, 3},
                    DuplicateCase{"RepeatsTheLoadedNewest", {text("seed")}, 0},
                    DuplicateCase{"TextThenLinkOfTheSameText",
                                  {text("https://a.com"), text(" https://a.com ")},
                                  1},
                    DuplicateCase{"SameImageTwice",
                                  {{.image = filledImage(3, 3)}, {.image = filledImage(3, 3)}},
                                  2},
                    DuplicateCase{"FilesCompareByName",
                                  {{.fileURLs = {fileURL("/a/Report.pdf")}},
                                   {.fileURLs = {fileURL("/b/Report.pdf")}}},
                                  1},
                    DuplicateCase{"SecretTwice",
                                  {text("pw", {PasteboardMarker::concealed}),
                                   text("pw", {PasteboardMarker::concealed})},
                                  2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CaptureTest, ADiscardedDuplicateChangesNothing)
{
    start();
    m_pasteboard.copyText(QStringLiteral("A"));
    poll();
    state().setSelectedItemID(state().items().last().id);
    QFile::remove(storePath());
    m_pasteboard.copyText(QStringLiteral("A"));
    poll();
    EXPECT_EQ(state().selectedItemID(), state().items().last().id);
    EXPECT_FALSE(QFile::exists(storePath())) << "nothing is saved";
}

TEST_F(CaptureTest, TrimmingDropsTheOldestEvenAFavourite)
{
    ClippingItem favourite = seedItem(QStringLiteral("favourite"));
    favourite.isFavorite = true;
    start({seedItem(QStringLiteral("b")), seedItem(QStringLiteral("a")), favourite});
    state().setHistoryLimit(3);
    m_pasteboard.copyText(QStringLiteral("new"));
    poll();
    ASSERT_EQ(count(), 3);
    QStringList texts;
    for (const ClippingItem &item : state().items())
        texts << item.textContent;
    EXPECT_EQ(texts, (QStringList{"new", "b", "a"}));
    EXPECT_EQ(storedFile().items.size(), 3);
}

TEST_F(CaptureTest, ALimitBelowOneStillKeepsTheNewClipping)
{
    start();
    state().setHistoryLimit(0);
    m_pasteboard.copyText(QStringLiteral("only"));
    poll();
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(newest().textContent, QStringLiteral("only"));
    EXPECT_EQ(state().selectedItemID(), newest().id);
}

TEST(ClipboardCaptureTest, TiffFormIsFourBytesAPixel)
{
    EXPECT_EQ(ClipboardCapture::tiffFormSize(QImage(2880, 1800, QImage::Format_RGB32)),
              qint64(2880) * 1800 * 4);
    EXPECT_EQ(ClipboardCapture::tiffFormSize(QImage()), 0);
}

} // namespace
