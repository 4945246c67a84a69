#include "capture/clipboardcapture.h"
#include "platform/x11/clipboardpasteboard.h"
#include "x11testsupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

namespace
{

QByteArray imageBytes(QSize size, const char *format = "PNG")
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray pngBytes(QSize size)
{
    return imageBytes(size);
}

quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

// A small, valid PNG whose header declares another size.
QByteArray pngDeclaring(QSize size)
{
    QByteArray png = pngBytes(QSize(1, 1));
    // The header chunk follows the 8-byte signature: length, "IHDR", width, height, ...
    qToBigEndian<quint32>(quint32(size.width()), png.data() + 16);
    qToBigEndian<quint32>(quint32(size.height()), png.data() + 20);
    qToBigEndian<quint32>(crc32(QByteArrayView(png).sliced(12, 17)), png.data() + 29);
    return png;
}

// What the process holds once freed memory has gone back to the system.
qint64 residentBytes()
{
    ::malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

class ClipboardPasteboardTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pasteboard.setChangeHandler([this] { ++m_notifications; });
        // Changes made by earlier tests' owners may still be on their way.
        settle();
        m_notifications = 0;
    }
    // Lets late notifications arrive.
    static void settle() { QTest::qWait(300); }
    bool waitForCount(qint64 count)
    {
        return QTest::qWaitFor([&] { return m_pasteboard.changeCount() == count; }, 3000);
    }
    // Another program copies and the change has been seen.
    void copyFromOutside(const QByteArray &text)
    {
        const qint64 before = m_pasteboard.changeCount();
        xclipCopy(text);
        ASSERT_TRUE(waitForCount(before + 1));
    }

    ClipboardPasteboard m_pasteboard{QGuiApplication::clipboard()};
    int m_notifications = 0;
};

TEST_F(ClipboardPasteboardTest, AnOwnWriteCountsOnceAndMakesOneContent)
{
    copyFromOutside("before");
    m_notifications = 0;
    const qint64 start = m_pasteboard.changeCount();
    m_pasteboard.write(
        {.rtf = QByteArray("{\\rtf1 bold}"), .text = QStringLiteral("plain \u00E9")});
    EXPECT_EQ(m_pasteboard.changeCount(), start + 1);
    settle();
    EXPECT_EQ(m_pasteboard.changeCount(), start + 1) << "a late echo of the write counted";
    EXPECT_EQ(m_notifications, 0);

    const QByteArray targets = xclipPaste(QStringLiteral("TARGETS")).value_or(QByteArray());
    EXPECT_TRUE(targets.contains("text/rtf")) << targets.constData();
    EXPECT_TRUE(targets.contains("UTF8_STRING")) << targets.constData();
    EXPECT_FALSE(targets.contains("x-kde-passwordManagerHint")) << targets.constData();
    EXPECT_EQ(xclipPaste(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 bold}"));
    EXPECT_EQ(xclipPaste(QStringLiteral("UTF8_STRING")), QStringLiteral("plain \u00E9").toUtf8());
    EXPECT_EQ(m_pasteboard.changeCount(), start + 1) << "serving a paste is no change";
}

TEST_F(ClipboardPasteboardTest, AConcealedWriteShowsOtherProgramsThePasswordMarkers)
{
    m_pasteboard.write({.text = QStringLiteral("hunter2"), .concealed = true});
    const QByteArray targets = xclipPaste(QStringLiteral("TARGETS")).value_or(QByteArray());
    EXPECT_TRUE(targets.contains("application/x-nspasteboard-concealed-type"))
        << targets.constData();
    EXPECT_EQ(xclipPaste(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    EXPECT_EQ(xclipPaste(QStringLiteral("UTF8_STRING")), QByteArray("hunter2"));
}

TEST_F(ClipboardPasteboardTest, UrlAndImageWritesReachOtherPrograms)
{
    m_pasteboard.write({.url = QUrl::fromLocalFile(QStringLiteral("/tmp/My Report.pdf")),
                        .text = QStringLiteral("My Report.pdf")});
    EXPECT_EQ(xclipPaste(QStringLiteral("text/uri-list")).value_or("").trimmed(),
              QByteArray("file:///tmp/My%20Report.pdf"));
    EXPECT_EQ(xclipPaste(QStringLiteral("UTF8_STRING")), QByteArray("My Report.pdf"));

    QImage image(7, 5, QImage::Format_ARGB32);
    image.fill(Qt::red);
    m_pasteboard.write({.image = image});
    const std::optional<QByteArray> png = xclipPaste(QStringLiteral("image/png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(QImage::fromData(*png).size(), QSize(7, 5));
    EXPECT_FALSE(xclipPaste(QStringLiteral("TARGETS")).value_or("").contains("UTF8_STRING"))
        << "the text of the earlier write stayed";
}

TEST_F(ClipboardPasteboardTest, ExternalChangesCountOnceAndOwnerExitNotAtAll)
{
    const qint64 start = m_pasteboard.changeCount();
    {
        OwnerProcess owner({{QStringLiteral("UTF8_STRING"), "owned"}});
        ASSERT_TRUE(owner.waitUntilReady());
        ASSERT_TRUE(waitForCount(start + 1));
        EXPECT_EQ(m_notifications, 1);
        EXPECT_EQ(m_pasteboard.string(), QStringLiteral("owned"));
        owner.terminate();
    }
    settle();
    EXPECT_EQ(m_pasteboard.changeCount(), start + 1);
    EXPECT_EQ(m_notifications, 1);
    EXPECT_FALSE(m_pasteboard.string()) << "the content left with its owner";
}

TEST_F(ClipboardPasteboardTest, LinuxFormatsMapToTheRepresentations)
{
    const QByteArray png = pngBytes(QSize(9, 4));
    OwnerProcess owner({{QStringLiteral("text/plain;charset=utf-8"), "caf\xC3\xA9"},
                        {QStringLiteral("text/rtf"), "{\\rtf1 x}"},
                        {QStringLiteral("image/png"), png},
                        {QStringLiteral("text/uri-list"), "file:///tmp/a.txt\r\n"}});
    ASSERT_TRUE(owner.waitUntilReady());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_notifications == 1; }, 3000)) << m_notifications;

    const QStringList types = m_pasteboard.types();
    EXPECT_FALSE(types.contains(QStringLiteral("TARGETS")));
    EXPECT_TRUE(types.contains(QStringLiteral("text/rtf")));
    EXPECT_EQ(m_pasteboard.string(), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(m_pasteboard.data(PasteboardDataType::Rtf, 100).bytes, QByteArray("{\\rtf1 x}"));
    EXPECT_EQ(m_pasteboard.data(PasteboardDataType::Png, png.size()).bytes, png);
    EXPECT_TRUE(m_pasteboard.data(PasteboardDataType::Png, png.size() - 1).oversize);
    EXPECT_FALSE(m_pasteboard.data(PasteboardDataType::Tiff, 100).bytes);
    ASSERT_TRUE(m_pasteboard.image());
    EXPECT_EQ(m_pasteboard.image()->size(), QSize(9, 4));
    EXPECT_EQ(m_pasteboard.fileURLs(),
              QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"))});

    // Every representation was asked of the owner once, however often it was read.
    m_pasteboard.types();
    m_pasteboard.string();
    m_pasteboard.fileURLs();
    QStringList requests = owner.requests();
    EXPECT_EQ(requests.count(QStringLiteral("TARGETS")), 1) << qPrintable(requests.join(' '));
    requests.removeDuplicates();
    EXPECT_EQ(requests.size(), owner.requests().size()) << qPrintable(requests.join(' '));
}

struct MarkerCase {
    const char *name;
    const char *target;
    QByteArray value;
    bool concealed;
};

class PasswordMarkerTest : public ClipboardPasteboardTest,
                           public testing::WithParamInterface<MarkerCase>
{
};

TEST_P(PasswordMarkerTest, ReportedAsConcealed)
{
    OwnerProcess owner({{QStringLiteral("UTF8_STRING"), "pw"},
                        {QString::fromLatin1(GetParam().target), GetParam().value}});
    ASSERT_TRUE(owner.waitUntilReady());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_notifications == 1; }, 3000)) << m_notifications;
    EXPECT_EQ(m_pasteboard.types().contains(QStringLiteral("org.nspasteboard.ConcealedType")),
              GetParam().concealed);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, PasswordMarkerTest,
    testing::Values(MarkerCase{"KdeHintSecret", "x-kde-passwordManagerHint", "secret", true},
                    MarkerCase{"KdeHintOther", "x-kde-passwordManagerHint", "public", false},
                    MarkerCase{"ConcealedMime", "application/x-nspasteboard-concealed-type", "",
                               true},
                    MarkerCase{"LiteralMarker", "org.nspasteboard.ConcealedType", "", true},
                    MarkerCase{"Unrelated", "text/html", "<b>pw</b>", false}),
    [](const auto &info) { return std::string(info.param.name); });

struct UriListCase {
    const char *name;
    QByteArray list;
    QStringList paths;
};

class UriListTest : public ClipboardPasteboardTest, public testing::WithParamInterface<UriListCase>
{
};

TEST_P(UriListTest, OnlyLocalFilesAreFileURLs)
{
    OwnerProcess owner({{QStringLiteral("text/uri-list"), GetParam().list}});
    ASSERT_TRUE(owner.waitUntilReady());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_notifications == 1; }, 3000)) << m_notifications;
    QStringList paths;
    for (const QUrl &url : m_pasteboard.fileURLs())
        paths << url.toLocalFile();
    EXPECT_EQ(paths, GetParam().paths);
    EXPECT_FALSE(m_pasteboard.string()) << "a uri-list alone is no text";
}

INSTANTIATE_TEST_SUITE_P(
    Lists, UriListTest,
    testing::Values(UriListCase{"PercentEncoded",
                                "file:///tmp/My%20Report%C3%A9.pdf\r\n",
                                {QStringLiteral("/tmp/My Report\u00E9.pdf")}},
                    UriListCase{"CommentsWebAndOtherHosts",
                                "# copied\r\nhttps://example.com/a\r\nfile:///etc/hosts\r\n"
                                "file://localhost/tmp/b\r\nfile://elsewhere/c\r\n\r\n",
                                {QStringLiteral("/etc/hosts"), QStringLiteral("/tmp/b")}},
                    UriListCase{"WebOnly", "https://example.com/\nhttp://example.org/x\n", {}},
                    UriListCase{"Garbage", "\x01\x02 not a url", {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ClipboardPasteboardTest, TextThatIsNotUtf8GetsReplacementCharacters)
{
    for (const char *target : {"UTF8_STRING", "text/plain;charset=utf-8"}) {
        m_notifications = 0;
        OwnerProcess owner({{QString::fromLatin1(target), QByteArray("ab\xFF\xFE"
                                                                     "cd")}});
        ASSERT_TRUE(owner.waitUntilReady());
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_notifications == 1; }, 3000)) << m_notifications;
        EXPECT_EQ(m_pasteboard.string(), QStringLiteral("ab\uFFFD\uFFFDcd")) << target;
    }
}

TEST_F(ClipboardPasteboardTest, AStuckOwnerStallsOnceAndIsNeverAskedAgain)
{
    const qint64 start = m_pasteboard.changeCount();
    OwnerProcess owner({{QStringLiteral("UTF8_STRING"), "never sent"}},
                       {QStringLiteral("--stuck")});
    ASSERT_TRUE(owner.waitUntilReady());
    ASSERT_TRUE(waitForCount(start + 1)) << "a change, even if nothing of it can be read";
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(m_pasteboard.types().isEmpty());
    // Qt gives up on the format list after its fixed 5 s.
    const qint64 firstRead = clock.restart();
    EXPECT_GE(firstRead, 4000);
    EXPECT_TRUE(m_pasteboard.types().isEmpty());
    EXPECT_FALSE(m_pasteboard.string());
    EXPECT_FALSE(m_pasteboard.image());
    EXPECT_TRUE(m_pasteboard.fileURLs().isEmpty());
    EXPECT_LT(clock.elapsed(), 100) << "asked the stuck owner again";
    EXPECT_EQ(owner.requests(), QStringList{QStringLiteral("TARGETS")});
    std::printf("[ stuck    ] the format list gave up after %lld ms\n", firstRead);

    copyFromOutside("after the stuck owner");
    EXPECT_EQ(m_pasteboard.string(), QStringLiteral("after the stuck owner"));
}

TEST_F(ClipboardPasteboardTest, AnOwnerVanishingMidReadGivesNothing)
{
    const qint64 start = m_pasteboard.changeCount();
    OwnerProcess owner({{QStringLiteral("UTF8_STRING"), "gone"}},
                       {QStringLiteral("--exit-on-data")});
    ASSERT_TRUE(owner.waitUntilReady());
    ASSERT_TRUE(waitForCount(start + 1));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(m_pasteboard.string());
    const qint64 firstRead = clock.restart();
    EXPECT_FALSE(m_pasteboard.string());
    EXPECT_LT(clock.elapsed(), 100) << "asked again after the owner was gone";
    std::printf("[ vanished ] first read gave up after %lld ms\n", firstRead);
    settle();
    EXPECT_EQ(m_pasteboard.changeCount(), start + 1);
    copyFromOutside("after the vanished owner");
}

struct HostileCase {
    const char *name;
    OwnerProcess::Offers offers;
    QStringList flags;
    // The text clipping made, or the toast shown.
    std::optional<QString> text;
    std::optional<QString> toast;
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    *os << c.name;
}

class HostileOwnerTest : public ClipboardPasteboardTest,
                         public testing::WithParamInterface<HostileCase>
{
};

// One change costs at most one of Qt's waits and keeps no more than the limits allow, and no
// image decoder but PNG's and TIFF's is handed the owner's bytes.
TEST_P(HostileOwnerTest, CostsOneWaitAndBoundedMemory)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 start = m_pasteboard.changeCount();
    OwnerProcess owner(GetParam().offers, GetParam().flags);
    ASSERT_TRUE(owner.waitUntilReady());
    ASSERT_TRUE(waitForCount(start + 1));

    const qint64 resident = residentBytes();
    const ClipboardCapture::Outcome outcome = ClipboardCapture::read(m_pasteboard, false, {});
    [[maybe_unused]] const qint64 kept = residentBytes() - resident;
    EXPECT_LT(clock.elapsed(), 7000);
    EXPECT_EQ(outcome.toast, GetParam().toast);
    EXPECT_EQ(outcome.item ? std::optional(outcome.item->textContent) : std::nullopt,
              GetParam().text);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer keeps freed blocks resident in its quarantine.
    EXPECT_LT(kept, qint64(64) << 20) << "kept for the change: " << kept;
#endif

    QStringList asked = owner.requests();
    asked.removeAll(QStringLiteral("TARGETS"));
    for (const QString &target : asked)
        EXPECT_TRUE(!target.startsWith(u"image/") || target == u"image/png" ||
                    target == u"image/tiff")
            << qPrintable(target);
    if (GetParam().flags.contains(QStringLiteral("--stall-data"))) {
        EXPECT_EQ(asked.size(), 1)
            << "asked again after a time-out: " << qPrintable(asked.join(' '));
    }

    copyFromOutside("after the hostile owner");
    EXPECT_EQ(m_pasteboard.string(), QStringLiteral("after the hostile owner"));
    EXPECT_LT(clock.elapsed(), 10000);
}

OwnerProcess::Offers everyTarget(const QByteArray &bytes, int otherImageForms)
{
    OwnerProcess::Offers offers{{QStringLiteral("image/png"), bytes},
                                {QStringLiteral("image/tiff"), bytes},
                                {QStringLiteral("UTF8_STRING"), bytes},
                                {QStringLiteral("text/rtf"), bytes}};
    for (int i = 0; i < otherImageForms; ++i)
        offers.append({QStringLiteral("image/x-form%1").arg(i), bytes});
    return offers;
}

const QString caption = QStringLiteral("caption");

INSTANTIATE_TEST_SUITE_P(
    Owners, HostileOwnerTest,
    testing::Values(HostileCase{"StallingOnManyImageForms",
                                everyTarget("never sent", 150),
                                {QStringLiteral("--stall-data")}},
                    HostileCase{"ThirtyMegabytesOnEveryFormButPng",
                                [] {
                                    OwnerProcess::Offers offers =
                                        everyTarget(QByteArray(30 << 20, 'z'), 20);
                                    offers.removeFirst();
                                    return offers;
                                }(),
                                {},
                                std::nullopt,
                                ClipboardCapture::textTooLargeMessage},
                    HostileCase{"PngDeclaringThirtyThousandSquare",
                                {{QStringLiteral("image/png"), pngDeclaring(QSize(30000, 30000))},
                                 {QStringLiteral("UTF8_STRING"), caption.toUtf8()}},
                                {},
                                caption},
                    HostileCase{"BmpUnderThePngName",
                                {{QStringLiteral("image/png"), imageBytes(QSize(6, 6), "BMP")},
                                 {QStringLiteral("image/bmp"), imageBytes(QSize(6, 6), "BMP")},
                                 {QStringLiteral("UTF8_STRING"), caption.toUtf8()}},
                                {},
                                caption}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
