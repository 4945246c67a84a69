// The real program under the private X server, driven from outside as other programs would.
#include "model/clippingjson.h"
#include "model/passwordcrypto.h"
#include "store/clippingkey.h"
#include "store/inisettingsstore.h"
#include "x11testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace
{

class EndToEndTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_home = std::make_unique<QTemporaryDir>();
        const QString applications = s_home->filePath(QStringLiteral("data/applications"));
        QDir().mkpath(applications);
        QFile entry(applications + QStringLiteral("/scratch-editor.desktop"));
        if (entry.open(QIODevice::WriteOnly))
            entry.write("[Desktop Entry]\nType=Application\nName=Scratch Editor\n"
                        "StartupWMClass=ScratchEditor\nExec=scratch\n");
        entry.close();

        xclipCopy("present at start");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           s_home->filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           s_home->filePath(QStringLiteral("config")));
        s_program = std::make_unique<QProcess>();
        s_program->setProcessEnvironment(environment);
        s_program->setProcessChannelMode(QProcess::ForwardedChannels);
        // A board in front would make every copy the program's own, which it does not keep.
        s_program->start(QStringLiteral(QUILLSTASH_PROGRAM), {QStringLiteral("--background")});
        s_started = s_program->waitForStarted(5000) &&
                    QTest::qWaitFor([] { return QFile::exists(storePath()); }, 10000);
        // The watcher starts right after the store is written; give it one poll.
        QTest::qWait(400);
    }
    static void TearDownTestSuite()
    {
        if (s_program) {
            s_program->terminate();
            if (!s_program->waitForFinished(3000))
                s_program->kill();
            s_program->waitForFinished(1000);
        }
        s_program.reset();
        s_home.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_started) << "the program did not start or wrote no store file";
        ASSERT_EQ(s_program->state(), QProcess::Running);
    }

    static QString storePath()
    {
        return s_home->filePath(QStringLiteral("data/Quillstash/clippings_store_v1.json"));
    }
    static QByteArray storeBytes()
    {
        QFile file(storePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QList<ClippingItem> items()
    {
        return ClippingJson::decodeStore(storeBytes()).value_or(PersistedStore{}).items;
    }
    // The newest clipping once it has this text (or stays something else for the time).
    static std::optional<ClippingItem> newestOnceItIs(const QString &text, int milliseconds = 3000)
    {
        std::optional<ClippingItem> newest;
        const bool arrived = QTest::qWaitFor(
            [&] {
                const QList<ClippingItem> all = items();
                newest = all.isEmpty() ? std::nullopt : std::optional(all.first());
                return newest && newest->textContent == text;
            },
            milliseconds);
        return arrived ? newest : std::nullopt;
    }
    static QByteArray clippingKey()
    {
        IniSettingsStore settings(
            s_home->filePath(QStringLiteral("config/Quillstash/Quillstash.conf")));
        return settings.value(ClippingKey::settingsKey).toByteArray();
    }
    // Whatever the copy leaves on the clipboard adds nothing: the next ordinary copy lands
    // directly on the clipping that was newest before it.
    static void expectNothingFrom(const std::function<void()> &copy, int settleMilliseconds = 500)
    {
        const QList<ClippingItem> before = items();
        copy();
        QTest::qWait(settleMilliseconds);
        const QString sentinel = QStringLiteral("sentinel %1").arg(++s_sentinels);
        QElapsedTimer clock;
        clock.start();
        xclipCopy(sentinel.toUtf8());
        ASSERT_TRUE(newestOnceItIs(sentinel, 2000)) << "the copy after it was not captured";
        EXPECT_LT(clock.elapsed(), 1000) << "the program was slow to take the next copy";
        const QList<ClippingItem> after = items();
        ASSERT_EQ(after.size(), before.size() + 1);
        EXPECT_EQ(after[1], before.first());
    }

    static inline std::unique_ptr<QTemporaryDir> s_home;
    static inline std::unique_ptr<QProcess> s_program;
    static inline bool s_started = false;
    static inline int s_sentinels = 0;
};

TEST_F(EndToEndTest, ContentPresentAtStartIsNotCaptured)
{
    xclipCopy("first copy after start");
    ASSERT_TRUE(newestOnceItIs(QStringLiteral("first copy after start")));
    for (const ClippingItem &item : items())
        EXPECT_NE(item.textContent, QStringLiteral("present at start"));
}

TEST_F(EndToEndTest, PlainTextOnceEvenWhenCopiedTwice)
{
    xclipCopy("plain end-to-end text ");
    const std::optional<ClippingItem> text =
        newestOnceItIs(QStringLiteral("plain end-to-end text "));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, ClippingType::Text);
    EXPECT_EQ(text->richKind, RichContentKind::PlainText);
    EXPECT_EQ(text->sourceAppName, QStringLiteral("Finder")) << "no window is in front";
    EXPECT_TRUE(text->sourceAppBundleID.isEmpty());
    EXPECT_FALSE(text->isPassword);
    expectNothingFrom([] { xclipCopy("plain end-to-end text "); });
}

TEST_F(EndToEndTest, ColourAndLink)
{
    xclipCopy("  #4fc2e7 \n");
    const std::optional<ClippingItem> colour = newestOnceItIs(QStringLiteral("#4FC2E7"));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->type, ClippingType::Color);
    EXPECT_EQ(colour->colorHex, QStringLiteral("#4FC2E7"));

    xclipCopy(" https://example.com/path?q=1 ");
    const std::optional<ClippingItem> link =
        newestOnceItIs(QStringLiteral("https://example.com/path?q=1"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->type, ClippingType::Url);
}

TEST_F(EndToEndTest, RichTextBesideText)
{
    const QByteArray rtf = "{\\rtf1\\ansi {\\b bold} text}";
    OwnerProcess owner(
        {{QStringLiteral("UTF8_STRING"), "bold text"}, {QStringLiteral("text/rtf"), rtf}});
    ASSERT_TRUE(owner.waitUntilReady());
    const std::optional<ClippingItem> text = newestOnceItIs(QStringLiteral("bold text"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, ClippingType::Text);
    EXPECT_EQ(text->rtfData, rtf);
}

TEST_F(EndToEndTest, PngImage)
{
    QImage image(64, 48, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 90));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    xclipCopy(png, QStringLiteral("image/png"));
    const std::optional<ClippingItem> clipping =
        newestOnceItIs(QStringLiteral("Image (64 \u00D7 48 px)"));
    ASSERT_TRUE(clipping);
    EXPECT_EQ(clipping->type, ClippingType::Image);
    EXPECT_EQ(clipping->imageDimensions, QStringLiteral("64 \u00D7 48 px"));
    ASSERT_TRUE(clipping->imageData);
    EXPECT_EQ(QImage::fromData(*clipping->imageData).pixelColor(3, 3), QColor(200, 40, 90));
}

TEST_F(EndToEndTest, FileFromAUriList)
{
    xclipCopy("file:///home/someone/Docs/My%20Report.pdf\r\n", QStringLiteral("text/uri-list"));
    const std::optional<ClippingItem> file = newestOnceItIs(QStringLiteral("My Report.pdf"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->type, ClippingType::File);
    EXPECT_EQ(file->fileName, QStringLiteral("My Report.pdf"));
    EXPECT_EQ(file->filePath, QStringLiteral("/home/someone/Docs/"));
}

TEST_F(EndToEndTest, PasswordManagerHintMakesASealedSecret)
{
    const QByteArray secret = "e2e-Secret-Pa55word";
    OwnerProcess owner({{QStringLiteral("UTF8_STRING"), secret},
                        {QStringLiteral("x-kde-passwordManagerHint"), "secret"}});
    ASSERT_TRUE(owner.waitUntilReady());
    std::optional<ClippingItem> sealed;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<ClippingItem> all = items();
            if (!all.isEmpty() && all.first().isPassword)
                sealed = all.first();
            return sealed.has_value();
        },
        3000));
    EXPECT_EQ(sealed->type, ClippingType::Text);
    EXPECT_TRUE(sealed->textContent.isEmpty());
    EXPECT_EQ(sealed->isMasked, true);
    ASSERT_TRUE(sealed->encryptedPasswordData);
    EXPECT_EQ(PasswordCrypto::decrypt(*sealed->encryptedPasswordData, clippingKey()),
              QString::fromUtf8(secret));
    EXPECT_FALSE(storeBytes().contains(secret)) << "the plain secret is in the store file";
}

TEST_F(EndToEndTest, SourceIsTheApplicationInFront)
{
    OwnerProcess editor({{QStringLiteral("UTF8_STRING"), "typed in the editor"}},
                        {QStringLiteral("--window"), QStringLiteral("ScratchEditor")});
    ASSERT_TRUE(editor.waitUntilReady());
    const std::optional<ClippingItem> text = newestOnceItIs(QStringLiteral("typed in the editor"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->sourceAppName, QStringLiteral("Scratch Editor"));
    EXPECT_EQ(text->sourceAppBundleID, QStringLiteral("scratch-editor"));
    editor.terminate();
}

TEST_F(EndToEndTest, BadInputAddsNothing)
{
    SCOPED_TRACE("web links only");
    expectNothingFrom([] { xclipCopy("https://example.com/\n", QStringLiteral("text/uri-list")); });
    SCOPED_TRACE("empty text");
    expectNothingFrom([] { xclipCopy(QByteArray()); });
    SCOPED_TRACE("PNG header and garbage");
    expectNothingFrom([] {
        xclipCopy(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(4000, '\x13'),
                  QStringLiteral("image/png"));
    });
    SCOPED_TRACE("50 MB TIFF");
    expectNothingFrom(
        [] {
            xclipCopy("II*\0" + QByteArray(50 * 1024 * 1024, '\0'), QStringLiteral("image/tiff"));
        },
        1500);
    SCOPED_TRACE("owner vanishing mid-read");
    std::unique_ptr<OwnerProcess> vanishing;
    expectNothingFrom(
        [&] {
            vanishing = std::make_unique<OwnerProcess>(
                OwnerProcess::Offers{{QStringLiteral("UTF8_STRING"), "vanishes"}},
                QStringList{QStringLiteral("--exit-on-data")});
            ASSERT_TRUE(vanishing->waitUntilReady());
        },
        6000);
    SCOPED_TRACE("stuck owner");
    std::unique_ptr<OwnerProcess> stuck;
    expectNothingFrom(
        [&] {
            stuck = std::make_unique<OwnerProcess>(
                OwnerProcess::Offers{{QStringLiteral("UTF8_STRING"), "never sent"}},
                QStringList{QStringLiteral("--stuck")});
            ASSERT_TRUE(stuck->waitUntilReady());
        },
        6000);
}

TEST_F(EndToEndTest, TextThatIsNotUtf8KeepsWhatCanBeRead)
{
    xclipCopy("caf\xE9 au lait");
    const std::optional<ClippingItem> text = newestOnceItIs(QStringLiteral("caf\uFFFD au lait"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, ClippingType::Text);
}

TEST_F(EndToEndTest, LatencyFromCopyToStoreFile)
{
    constexpr int copies = 50;
    QList<double> milliseconds;
    for (int i = 0; i < copies; ++i) {
        const QByteArray text = "latency-sample-" + QByteArray::number(i);
        const QByteArray stored = "\"" + text + "\"";
        QElapsedTimer clock;
        clock.start();
        xclipCopy(text);
        while (!storeBytes().contains(stored) && clock.elapsed() < 3000)
            QTest::qSleep(1);
        milliseconds << clock.nsecsElapsed() / 1e6;
        ASSERT_LT(clock.elapsed(), 3000) << "copy " << i << " never reached the store";
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = (milliseconds[copies / 2 - 1] + milliseconds[copies / 2]) / 2;
    std::printf("[ latency  ] xclip copy to store file over %d copies: median %.1f ms, worst %.1f "
                "ms\n",
                copies, median, milliseconds.last());
    RecordProperty("latency_median_ms", QString::number(median, 'f', 1).toStdString());
    RecordProperty("latency_worst_ms", QString::number(milliseconds.last(), 'f', 1).toStdString());
}

// The pictures show the showcase only: a copy the user makes meanwhile is not even read.
TEST(ScreenshotExportTest, LeavesTheClipboardAlone)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLSTASH_PROGRAM),
                  {QStringLiteral("--export-screenshots"), home.filePath(QStringLiteral("shots"))});
    QByteArray output;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            output += program.readAllStandardError();
            return output.contains("board-shown");
        },
        10000))
        << output.constData();

    OwnerProcess editor({{QStringLiteral("UTF8_STRING"), "copied during the export"}},
                        {QStringLiteral("--window"), QStringLiteral("ScratchEditor")});
    ASSERT_TRUE(editor.waitUntilReady());
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(editor.requests(), QStringList());
}

} // namespace
