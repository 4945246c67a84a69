#include "platform/x11/clipboardpasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace
{

// Without an X server the adapter follows QClipboard's own notifications.
TEST(ClipboardPasteboardWithoutX11Test, OwnWritesCountOnceAndMakeOneContent)
{
    ClipboardPasteboard pasteboard(QGuiApplication::clipboard());
    int notifications = 0;
    pasteboard.setChangeHandler([&] { ++notifications; });
    const qint64 start = pasteboard.changeCount();

    pasteboard.clearContents();
    pasteboard.setRtf("{\\rtf1 x}");
    pasteboard.setString(QStringLiteral("x"));
    QCoreApplication::processEvents();
    EXPECT_EQ(pasteboard.changeCount(), start + 3);
    EXPECT_EQ(notifications, 0);

    const QMimeData *content = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(content);
    EXPECT_EQ(content->text(), QStringLiteral("x"));
    EXPECT_EQ(content->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 x}"));
    EXPECT_EQ(pasteboard.string(), QStringLiteral("x"));
    EXPECT_EQ(pasteboard.data(PasteboardDataType::Rtf), QByteArray("{\\rtf1 x}"));

    pasteboard.clearContents();
    EXPECT_FALSE(pasteboard.string()) << "a clear starts a new content";
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    pasteboard.writeImage(image);
    ASSERT_TRUE(pasteboard.image());
    EXPECT_EQ(pasteboard.image()->size(), QSize(3, 2));
    EXPECT_FALSE(pasteboard.string());
}

} // namespace
