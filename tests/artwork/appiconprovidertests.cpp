#include "artwork/appiconprovider.h"
#include "artwork/applicationiconlookup.h"
#include "imagesampling.h"
#include "scratchdirectory.h"

#include <QDir>
#include <QHash>
#include <QIcon>
#include <gtest/gtest.h>

using namespace ImageSampling;

namespace
{

constexpr qreal appIconDesign = 32;

// Installed applications as a test sets them up; counts how often it is asked.
class FakeIconLookup final : public ApplicationIconLookup
{
public:
    QString iconName(const QString &bundleID) const override
    {
        ++m_requests;
        return m_icons.value(bundleID);
    }
    void install(const QString &bundleID, const QString &icon) { m_icons.insert(bundleID, icon); }
    int requests() const { return m_requests; }

private:
    QHash<QString, QString> m_icons;
    mutable int m_requests = 0;
};

QString writeSolidPng(const ScratchDirectory &scratch, const QString &name, const QColor &color)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(color);
    const QString path = scratch.filePath(name);
    EXPECT_TRUE(image.save(path, "png"));
    return path;
}

// Spots of each picture that only that picture paints in that colour (design coordinates,
// origin at the bottom left, at pixel centres so that edges do not blur them).
struct Sample {
    QPointF point;
    QColor color;
};

QColor rgb(qreal r, qreal g, qreal b)
{
    return QColor::fromRgbF(float(r), float(g), float(b));
}

const QHash<QString, QList<Sample>> &picturesByKind()
{
    static const QHash<QString, QList<Sample>> samples{
        {"gem", {{{16.5, 10.5}, rgb(0.98, 0.52, 0.0)}, {{16.5, 23.5}, rgb(1.0, 0.85, 0.25)}}},
        {"chrome", {{{16.5, 26.5}, rgb(0.92, 0.26, 0.21)}, {{16.5, 16.5}, rgb(0.26, 0.52, 0.96)}}},
        {"finder", {{{7.5, 15.5}, rgb(0.14, 0.56, 0.97)}, {{25.5, 15.5}, rgb(0.68, 0.86, 0.99)}}},
        {"mail", {{{6.5, 6.5}, rgb(0.16, 0.58, 0.96)}, {{16.5, 10.5}, Qt::white}}},
        {"xcode", {{{6.5, 6.5}, rgb(0.12, 0.58, 0.96)}, {{14.5, 14.5}, Qt::white}}},
        {"slack", {{{11.5, 21.5}, rgb(0.21, 0.77, 0.94)}, {{16.5, 16.5}, Qt::white}}},
        {"keyhole", {{{16.5, 16.5}, rgb(0.11, 0.55, 0.95)}, {{16.5, 6.5}, rgb(0.11, 0.55, 0.95)}}},
        {"photoshop", {{{8.5, 23.5}, rgb(0.0, 0.12, 0.21)}}},
        {"page", {{{9.5, 6.5}, rgb(0.95, 0.95, 0.97)}, {{15.5, 22.5}, rgb(0.45, 0.45, 0.5)}}},
    };
    return samples;
}

void expectPicture(const QImage &image, const QString &kind)
{
    ASSERT_TRUE(picturesByKind().contains(kind));
    for (const Sample &sample : picturesByKind().value(kind)) {
        const QColor actual = colorAt(image, sample.point, appIconDesign);
        EXPECT_TRUE(isNear(actual, sample.color))
            << kind.toStdString() << " at (" << sample.point.x() << ", " << sample.point.y()
            << ") is " << actual.name(QColor::HexArgb).toStdString();
    }
}

struct NameCase {
    const char *appName;
    const char *picture;
};

class AppPictureTest : public testing::TestWithParam<NameCase>
{
};

TEST_P(AppPictureTest, NameGetsItsPicture)
{
    AppIconProvider provider;
    const QImage image = provider.icon(QString::fromUtf8(GetParam().appName), QString());
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(32, 32));
    expectPicture(image, QString::fromLatin1(GetParam().picture));
}

INSTANTIATE_TEST_SUITE_P(
    Names, AppPictureTest,
    testing::Values(NameCase{"Sketch", "gem"}, NameCase{"Google Chrome", "chrome"},
                    NameCase{"Chrome", "chrome"}, NameCase{"Finder", "finder"},
                    NameCase{"Mail", "mail"}, NameCase{"Thunderbird Mail", "mail"},
                    NameCase{"XCODE", "xcode"}, NameCase{"Slack", "slack"},
                    NameCase{"1Password 7", "keyhole"}, NameCase{"Keychain Access", "keyhole"},
                    NameCase{"Password Safe", "keyhole"}, NameCase{"Photoshop", "photoshop"},
                    NameCase{"TextEdit", "page"}, NameCase{"", "page"},
                    // Where several tests match, the earlier one in the table decides.
                    NameCase{"Sketch for Chrome", "gem"}, NameCase{"Chrome Mail", "chrome"},
                    NameCase{"Photoshop Mail Export", "mail"},
                    NameCase{"Slack Password Helper", "slack"}),
    [](const auto &info) {
        std::string name = std::string(info.param.picture) + "_" + std::to_string(info.index);
        return name;
    });

TEST(AppIconProviderTest, AnInstalledApplicationsOwnIconComesFirst)
{
    ScratchDirectory scratch;
    FakeIconLookup lookup;
    lookup.install(QStringLiteral("com.google.Chrome"),
                   writeSolidPng(scratch, QStringLiteral("own.png"), Qt::magenta));
    AppIconProvider provider(&lookup);

    const QImage own = provider.icon(QStringLiteral("Google Chrome"), "com.google.Chrome");
    EXPECT_EQ(own.deviceIndependentSize(), QSizeF(32, 32)) << "scaled to the common extent";
    EXPECT_TRUE(isNear(colorAt(own, {16, 16}, appIconDesign), Qt::magenta));

    expectPicture(provider.icon(QStringLiteral("Google Chrome"), QString()), "chrome");
    expectPicture(provider.icon(QStringLiteral("Google Chrome"), "org.example.Missing"), "chrome");
}

TEST(AppIconProviderTest, AnIconThatCannotBeFoundFallsBackToThePicture)
{
    ScratchDirectory scratch;
    FakeIconLookup lookup;
    lookup.install("org.example.Theme", "quillstash-test-no-such-icon");
    lookup.install("org.example.Path", scratch.filePath(QStringLiteral("missing.png")));
    AppIconProvider provider(&lookup);
    expectPicture(provider.icon(QStringLiteral("Slack"), "org.example.Theme"), "slack");
    expectPicture(provider.icon(QStringLiteral("Finder"), "org.example.Path"), "finder");
}

TEST(AppIconProviderTest, ThemeIconsAreFoundByName)
{
    ScratchDirectory scratch;
    const QDir theme(scratch.filePath(QStringLiteral("icons/quillstash-test")));
    ASSERT_TRUE(theme.mkpath(QStringLiteral("48x48/apps")));
    QFile index(theme.filePath(QStringLiteral("index.theme")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Test\nDirectories=48x48/apps\n\n"
                "[48x48/apps]\nSize=48\nType=Fixed\n");
    index.close();
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::cyan);
    ASSERT_TRUE(image.save(theme.filePath(QStringLiteral("48x48/apps/org.example.Editor.png"))));

    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({scratch.filePath(QStringLiteral("icons"))});
    QIcon::setThemeName(QStringLiteral("quillstash-test"));
    FakeIconLookup lookup;
    lookup.install("org.example.Editor", "org.example.Editor");
    AppIconProvider provider(&lookup);
    const QImage icon = provider.icon(QStringLiteral("Editor"), "org.example.Editor");
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);

    EXPECT_TRUE(isNear(colorAt(icon, {16, 16}, appIconDesign), Qt::cyan));
}

TEST(AppIconProviderTest, CachesPerNameAndBundleID)
{
    ScratchDirectory scratch;
    FakeIconLookup lookup;
    lookup.install("com.apple.finder", writeSolidPng(scratch, "finder.png", Qt::darkGreen));
    AppIconProvider provider(&lookup);

    const QImage first = provider.icon(QStringLiteral("Finder"), "com.apple.finder");
    const QImage again = provider.icon(QStringLiteral("Finder"), "com.apple.finder");
    EXPECT_EQ(first.cacheKey(), again.cacheKey()) << "the very same image";
    EXPECT_EQ(lookup.requests(), 1);

    const QImage other = provider.icon(QStringLiteral("Finder"), "org.example.Files");
    EXPECT_EQ(lookup.requests(), 2) << "another bundle id is looked up afresh";
    EXPECT_NE(other.cacheKey(), first.cacheKey());
    expectPicture(other, "finder");

    provider.icon(QStringLiteral("Finder"), QString());
    provider.icon(QStringLiteral("Finder"), QString());
    EXPECT_EQ(lookup.requests(), 2) << "no bundle id, nothing to look up";
}

TEST(AppIconProviderTest, DrawsAtTheScreensPixelRatio)
{
    const QImage image = AppIconProvider::drawVectorAppIcon(QStringLiteral("Slack"), 3);
    EXPECT_EQ(image.size(), QSize(96, 96));
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(32, 32));
    expectPicture(image, "slack");
}

TEST(StatusIconTest, IsABlackMaskOnTransparency)
{
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image =
            AppIconProvider::drawMenuBarStatusIcon(ratio).convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(image.deviceIndependentSize(), QSizeF(18, 18));
        int inked = 0;
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() > 0 && (pixel.red() || pixel.green() || pixel.blue()))
                    ++coloured;
                inked += pixel.alpha() > 100 ? 1 : 0;
            }
        }
        EXPECT_EQ(coloured, 0) << "only coverage, no colour, so the tray can tint it";
        EXPECT_GT(inked, image.width() * image.height() / 10);
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
        EXPECT_EQ(colorAt(image, {9, 12.5}, 18).alpha(), 0) << "the board's inside is empty";
        EXPECT_GT(colorAt(image, {3, 8}, 18).alpha(), 120) << "its outline is inked";
    }
    const QIcon icon = AppIconProvider::menuBarStatusIcon();
    EXPECT_TRUE(icon.isMask());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(36, 36)));
}

TEST(StatusIconTest, InkedInTheGivenColourAndStillAMask)
{
    const QColor ink(0xf2, 0xf2, 0xf2);
    const QIcon icon = AppIconProvider::menuBarStatusIcon(ink);
    EXPECT_TRUE(icon.isMask());
    const QImage image =
        icon.pixmap(QSize(36, 36)).toImage().convertToFormat(QImage::Format_ARGB32);
    const QColor outline = colorAt(image, {3, 8}, 18);
    EXPECT_GT(outline.alpha(), 120);
    EXPECT_NEAR(outline.red(), ink.red(), 2);
    EXPECT_NEAR(outline.blue(), ink.blue(), 2);
    EXPECT_EQ(colorAt(image, {9, 12.5}, 18).alpha(), 0);
}

TEST(SketchDocumentIconTest, IsAPageWithTheGem)
{
    const QImage image = AppIconProvider::drawSketchDocumentIcon(2);
    EXPECT_EQ(image.size(), QSize(144, 168));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    const qreal height = 84;
    const auto at = [&](QPointF point) {
        const QImage unscaled = image.convertToFormat(QImage::Format_ARGB32);
        return unscaled.pixelColor(int(point.x() * 2), int((height - point.y()) * 2));
    };
    EXPECT_TRUE(isNear(at({36, 33}), QColor::fromRgbF(0.98f, 0.52f, 0.0f)));
    EXPECT_TRUE(isNear(at({12, 70}), Qt::white));
    EXPECT_TRUE(isNear(at({62, 79}), Qt::transparent)) << "the folded corner is cut away";
}

} // namespace
