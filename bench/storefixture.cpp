#include "storefixture.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

namespace
{

const QStringList words =
    QStringLiteral(
        "the quick brown fox jumps over lazy dog clipboard history meeting notes invoice project "
        "deadline function return const auto value struct class https example org password release "
        "build test merge branch review design colour image file folder document schedule tomorrow "
        "morning évènement naïve café straße 東京 données ✓")
        .split(u' ');

const QStringList apps{QStringLiteral("Chrome"),   QStringLiteral("Terminal"),
                       QStringLiteral("TextEdit"), QStringLiteral("Slack"),
                       QStringLiteral("Xcode"),    QStringLiteral("Mail")};

QString sentence(QRandomGenerator &random, int length)
{
    QString text;
    text.reserve(length + 16);
    while (text.size() < length) {
        text += words[random.bounded(words.size())];
        text += random.bounded(12) == 0 ? u'\n' : u' ';
    }
    text.truncate(length);
    return text;
}

QByteArray noisyPng(QRandomGenerator &random)
{
    // Noise does not compress, so 260 × 260 RGB comes out near 200 KB.
    QImage image(260, 260, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xFF000000u;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace

ClippingItem makeBenchmarkText(int seed)
{
    QRandomGenerator random(static_cast<quint32>(seed));
    const int length = 20 + random.bounded(1981);
    return ClippingItem::make({
        .type = ClippingType::Text,
        .textContent = sentence(random, length),
        .isPassword = random.bounded(50) == 0,
        .richKind =
            random.bounded(8) == 0 ? RichContentKind::CodeSnippet : RichContentKind::PlainText,
        .sourceAppName = apps[random.bounded(apps.size())],
        .sourceAppBundleID = QStringLiteral("org.example.app"),
        .createdAt = Timestamp(780000000.0 + seed * 37.25),
        .isFavorite = random.bounded(10) == 0,
    });
}

BenchmarkHistory makeBenchmarkHistory(int textCount, int imageCount)
{
    BenchmarkHistory history;
    history.collections = {ClippingCollection::named(QStringLiteral("Snippets")),
                           ClippingCollection::named(QStringLiteral("Work"))};
    QRandomGenerator random(42);
    for (int i = 0; i < textCount; ++i) {
        ClippingItem item = makeBenchmarkText(i);
        if (i % 7 == 0)
            item.collectionIDs.append(history.collections[i % 2].id);
        history.items.append(std::move(item));
    }
    for (int i = 0; i < imageCount; ++i) {
        ClippingItem image = ClippingItem::make({.type = ClippingType::Image,
                                                 .textContent = QStringLiteral("Image.png"),
                                                 .imageData = noisyPng(random),
                                                 .imageDimensions = QStringLiteral("260 × 260 px"),
                                                 .sourceAppName = QStringLiteral("Photoshop"),
                                                 .sourceAppBundleID = {}});
        history.items.insert(i * (textCount / std::max(imageCount, 1)), image);
    }
    return history;
}
