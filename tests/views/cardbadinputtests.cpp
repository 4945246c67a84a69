#include "cardsamples.h"
#include "views/cards/cardimagecache.h"
#include "views/cards/clippingcard.h"
#include "views/foundation/theme.h"

#include <QElapsedTimer>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

struct BadInput {
    const char *name;
    ClippingItem item;
};

ClippingItem ofType(ClippingType type, const QString &text)
{
    ClippingItem item = textClipping(text);
    item.type = type;
    return item;
}

std::vector<BadInput> badInputs()
{
    std::vector<BadInput> inputs;
    inputs.push_back({"two megabytes on one line", textClipping(QString(2 * 1024 * 1024, 'x'))});
    QString lines;
    for (int i = 0; i < 10000; ++i)
        lines += QStringLiteral("let value%1 = \"item\" // line\n").arg(i);
    ClippingItem code = textClipping(lines);
    code.richKind = RichContentKind::CodeSnippet;
    inputs.push_back({"ten thousand lines of code", code});
    ClippingItem longCodeLine = textClipping(QStringLiteral("let s = \"") + QString(1 << 20, 'y'));
    longCodeLine.richKind = RichContentKind::CodeSnippet;
    inputs.push_back({"one long code line", longCodeLine});

    ClippingItem garbage = ofType(ClippingType::Image, QString());
    garbage.imageData = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(10000, '\x13');
    inputs.push_back({"png header and garbage", garbage});
    QImage thin(1, 20000, QImage::Format_RGB32);
    thin.fill(Qt::red);
    ClippingItem tall = ofType(ClippingType::Image, QString());
    tall.imageData = pngBytes(thin);
    inputs.push_back({"1 x 20000 image", tall});

    ClippingItem colour = ofType(ClippingType::Color, QString(500, 'a'));
    colour.colorHex = QString(500, 'a');
    inputs.push_back({"500-character colour", colour});

    ClippingItem gone = ofType(ClippingType::File, QStringLiteral("gone.txt"));
    gone.fileName = QStringLiteral("gone.txt");
    gone.filePath = QStringLiteral("/no/such/folder/anywhere");
    inputs.push_back({"missing file", gone});

    inputs.push_back({"right to left and combining",
                      textClipping(QStringLiteral("שלום עולם مرحبا بالعالم e\u0301\u0301\u0301 "
                                                  "a\u0300\u0301\u0302\u0303\u0304"))});
    inputs.push_back({"emoji with skin tone", textClipping(QStringLiteral("👋🏽"))});
    ClippingItem longLink =
        ofType(ClippingType::Url, QStringLiteral("https://example.org/") + QString(100000, 'p'));
    longLink.urlTitle = QString(5000, 't');
    inputs.push_back({"huge link", longLink});
    ClippingItem longName = textClipping(QStringLiteral("x"));
    longName.sourceAppName = QString(3000, 'N');
    inputs.push_back({"huge app name", longName});
    return inputs;
}

} // namespace

TEST(CardBadInputTest, RendersInsideTheCardWithoutStalling)
{
    for (const BadInput &bad : badInputs()) {
        for (const CardTier tier : {CardTier::Compact, CardTier::Roomy, CardTier::Standard}) {
            const Theme &theme = Theme::dark();
            CardImageCache cache;
            ClippingCard::Input input{bad.item, QRectF(30, 30, 240, 170), tier, theme};
            input.images = &cache;
            input.now = bad.item.createdAt;
            QImage image(300, 230, QImage::Format_ARGB32_Premultiplied);
            const QColor background(1, 2, 3);
            image.fill(background);
            {
                // The first paint also counts the clipping's characters, once.
                QPainter painter(&image);
                ClippingCard::paint(painter, input);
            }
            QElapsedTimer timer;
            timer.start();
            {
                QPainter painter(&image);
                ClippingCard::paint(painter, input);
            }
            // A stall shows as seconds; a debug build paints these in milliseconds.
            EXPECT_LT(timer.elapsed(), 1000) << bad.name;
            // The shadow reaches a few pixels out; beyond that nothing is touched.
            for (int x = 0; x < image.width(); ++x) {
                ASSERT_EQ(image.pixelColor(x, 5), background) << bad.name;
                ASSERT_EQ(image.pixelColor(x, image.height() - 5), background) << bad.name;
            }
            for (int y = 0; y < image.height(); ++y) {
                ASSERT_EQ(image.pixelColor(5, y), background) << bad.name;
                ASSERT_EQ(image.pixelColor(image.width() - 5, y), background) << bad.name;
            }
        }
    }
}
