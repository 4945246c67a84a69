#include "artwork/appiconprovider.h"
#include "artwork/iconsetexport.h"
#include "imagesampling.h"
#include "scratchdirectory.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ImageSampling;

namespace
{

bool isOpaque(const QColor &color)
{
    return color.alpha() == 255;
}

bool isBadgeGreen(const QColor &color)
{
    return color.alpha() > 200 && color.green() > 140 && color.green() - color.red() > 90 &&
           color.green() - color.blue() > 40;
}

// What every rendering of the logo must show, whatever its size.
void expectLooksLikeTheLogo(const QImage &image)
{
    ASSERT_TRUE(image.hasAlphaChannel());
    const QRectF whole(0, 0, 1, 1);
    const int pixels = image.width() * image.height();
    EXPECT_GT(countPixels(image, whole, isOpaque), pixels * 6 / 10) << "the tile fills the canvas";
    for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)})
        EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << "rounded corners stay transparent";

    const QRectF badgeRegion(0.5, 0.55, 0.3, 0.35);
    const int regionPixels =
        int(badgeRegion.width() * image.width()) * int(badgeRegion.height() * image.height());
    EXPECT_GE(countPixels(image, badgeRegion, isBadgeGreen), std::max(3, regionPixels / 20))
        << "the green badge sits at the lower right";
    EXPECT_EQ(countPixels(image, QRectF(0, 0, 0.5, 0.5), isBadgeGreen), 0)
        << "and nowhere near the upper left";
}

TEST(IconsetExportTest, WritesEveryFileAtItsExactSizeIntoANewNestedFolder)
{
    ScratchDirectory scratch;
    const QString folder = scratch.filePath(QStringLiteral("a/b/AppIcon.iconset"));
    IconsetExport::write(folder);

    QStringList expectedNames;
    for (const IconsetExport::Entry &entry : IconsetExport::entries()) {
        SCOPED_TRACE(entry.fileName.toStdString());
        expectedNames.append(entry.fileName);
        const QImage image(QDir(folder).filePath(entry.fileName), "png");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(entry.pixels, entry.pixels));
        expectLooksLikeTheLogo(image);
    }
    expectedNames.sort();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expectedNames)
        << "no other files, no temporary leftovers";
}

TEST(IconsetExportTest, NamesTheTenFilesWithTheirPixelSizes)
{
    QStringList names;
    for (const IconsetExport::Entry &entry : IconsetExport::entries())
        names.append(entry.fileName + u':' + QString::number(entry.pixels));
    EXPECT_EQ(names, (QStringList{"icon_16x16.png:16", "icon_16x16@2x.png:32", "icon_32x32.png:32",
                                  "icon_32x32@2x.png:64", "icon_128x128.png:128",
                                  "icon_128x128@2x.png:256", "icon_256x256.png:256",
                                  "icon_256x256@2x.png:512", "icon_512x512.png:512",
                                  "icon_512x512@2x.png:1024"}));
}

TEST(IconsetExportTest, AnUnwritableFolderIsSkippedQuietly)
{
    ScratchDirectory scratch;
    const QString blocker = scratch.filePath(QStringLiteral("file"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    IconsetExport::write(blocker + QStringLiteral("/icons"));
    EXPECT_TRUE(QFileInfo(blocker).isFile());
}

TEST(BrandLogoTest, HonoursTheDevicePixelRatio)
{
    const QImage image = AppIconProvider::drawBrandLogoImage(64, 2);
    EXPECT_EQ(image.size(), QSize(128, 128));
    EXPECT_EQ(image.devicePixelRatio(), 2);
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(64, 64));
    expectLooksLikeTheLogo(image);
}

TEST(BrandLogoTest, ShowcaseArtworkIsThePngOfTheLogoAt512)
{
    const std::optional<QByteArray> png = AppIconProvider::generateShowcaseArtwork();
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->startsWith("\x89PNG\r\n\x1a\n"));
    const QImage image = QImage::fromData(*png, "png");
    EXPECT_EQ(image.size(), QSize(512, 512));
    expectLooksLikeTheLogo(image);
}

} // namespace
