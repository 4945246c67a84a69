#include "platform/x11/clipboardpasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace
{

// Without an X server the adapter follows QClipboard's own notifications.
TEST(ClipboardPasteboardWithoutX11Test, AWriteCountsOnceAndReplacesTheWholeContent)
{
    ClipboardPasteboard pasteboard(QGuiApplication::clipboard());
    int notifications = 0;
    pasteboard.setChangeHandler([&] { ++notifications; });
    const qint64 start = pasteboard.changeCount();

    pasteboard.write({.rtf = QByteArray("{\\rtf1 x}"), .text = QStringLiteral("x")});
    QCoreApplication::processEvents();
    EXPECT_EQ(pasteboard.changeCount(), start + 1);
    EXPECT_EQ(notifications, 0);

    const QMimeData *content = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(content);
    EXPECT_EQ(content->text(), QStringLiteral("x"));
    EXPECT_EQ(content->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 x}"));
    EXPECT_EQ(pasteboard.string(), QStringLiteral("x"));
    EXPECT_EQ(pasteboard.data(PasteboardDataType::Rtf, 100).bytes, QByteArray("{\\rtf1 x}"));

    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    pasteboard.write({.image = image});
    EXPECT_EQ(pasteboard.changeCount(), start + 2);
    ASSERT_TRUE(pasteboard.image());
    EXPECT_EQ(pasteboard.image()->size(), QSize(3, 2));
    EXPECT_FALSE(pasteboard.string()) << "the text of the earlier write stayed";
    EXPECT_FALSE(pasteboard.data(PasteboardDataType::Rtf, 100).bytes);
}

TEST(ClipboardPasteboardWithoutX11Test, AConcealedWriteCarriesThePasswordMarkers)
{
    ClipboardPasteboard pasteboard(QGuiApplication::clipboard());
    pasteboard.write({.text = QStringLiteral("hunter2"), .concealed = true});
    const QMimeData *content = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(content);
    EXPECT_EQ(content->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    EXPECT_TRUE(content->hasFormat(QStringLiteral("application/x-nspasteboard-concealed-type")));
    EXPECT_TRUE(pasteboard.types().contains(PasteboardMarker::concealed));

    pasteboard.write({.text = QStringLiteral("plain")});
    EXPECT_FALSE(pasteboard.types().contains(PasteboardMarker::concealed));
}

} // namespace
