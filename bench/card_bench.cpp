#include "board/cardgridgeometry.h"
#include "cardsamples.h"
#include "views/cards/cardimagecache.h"
#include "views/cards/clippingcard.h"
#include "views/foundation/theme.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace
{

// The board's logical surface.
QImage surface()
{
    QImage image(1440, 900, QImage::Format_ARGB32_Premultiplied);
    image.fill(Theme::dark().boardBackground);
    return image;
}

QSizeF cardSize(CardTier tier)
{
    // The card of a board filling 1440 × 900 less the sidebar and bars, for each tier's grid.
    const QSizeF area(1440 - 192, 900 - 90);
    const CardGridGeometry grid =
        byTier(tier, CardGridGeometry::forArea(area, 6, 1), CardGridGeometry::forArea(area, 3, 3),
               CardGridGeometry::forArea(area, 4, 4));
    return grid.cardSize;
}

void paintOnce(QImage &target, const ClippingCard::Input &input)
{
    QPainter painter(&target);
    ClippingCard::paint(painter, input);
}

// One card per type (the range's first value, in the samples' order) and tier (the second).
void BM_PaintCard(benchmark::State &state)
{
    static const QList<CardSample> samples = cardSamples();
    const CardSample &sample = samples[state.range(0)];
    const auto tier = CardTier(state.range(1));
    QImage target = surface();
    ClippingCard::Input input{sample.item, QRectF(QPointF(200, 100), cardSize(tier)), tier,
                              Theme::dark()};
    input.isMasked = sample.item.isSecret();
    input.collectionNames = {QStringLiteral("Work")};
    paintOnce(target, input); // images come from the cache after the first paint
    for (auto _ : state)
        paintOnce(target, input);
    state.SetLabel(
        QStringLiteral("%1 %2")
            .arg(sample.name, QLatin1StringView(byTier(tier, "compact", "roomy", "standard")))
            .toStdString());
}
BENCHMARK(BM_PaintCard)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 9, 1), {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

// The first paint of a card never painted before: layout, shaping and the kept pictures made.
void BM_PaintCardFirstTime(benchmark::State &state)
{
    static const QList<CardSample> samples = cardSamples();
    ClippingItem item = samples[state.range(0)].item;
    QImage target = surface();
    for (auto _ : state) {
        state.PauseTiming();
        item.id = QUuid::createUuid();
        ClippingCard::Input input{item, QRectF(QPointF(200, 100), cardSize(CardTier::Standard)),
                                  CardTier::Standard, Theme::dark()};
        input.isMasked = item.isSecret();
        state.ResumeTiming();
        paintOnce(target, input);
    }
    state.SetLabel(samples[state.range(0)].name.toStdString());
}
BENCHMARK(BM_PaintCardFirstTime)->DenseRange(0, 9, 1)->Unit(benchmark::kMillisecond);

// Every card of a 4 × 4 board, a mix of all types.
void BM_PaintBoard4x4(benchmark::State &state)
{
    static const QList<CardSample> samples = cardSamples();
    const CardGridGeometry grid = CardGridGeometry::forArea(QSizeF(1440 - 192, 900 - 90), 4, 4);
    QImage target = surface();
    const auto paintBoard = [&] {
        QPainter painter(&target);
        for (int i = 0; i < 16; ++i) {
            const CardSample &sample = samples[i % samples.size()];
            const QPointF at(192 + CardGridGeometry::horizontalPadding +
                                 (i % 4) * (grid.cardSize.width() + CardGridGeometry::spacing),
                             45 + CardGridGeometry::verticalPadding +
                                 (i / 4) * (grid.cardSize.height() + CardGridGeometry::spacing));
            ClippingCard::Input input{sample.item, QRectF(at, grid.cardSize), CardTier::Standard,
                                      Theme::dark()};
            input.isMasked = sample.item.isSecret();
            input.isSelected = i == 0;
            ClippingCard::paint(painter, input);
        }
    };
    paintBoard();
    for (auto _ : state)
        paintBoard();
}
BENCHMARK(BM_PaintBoard4x4)->Unit(benchmark::kMillisecond);

// About 6 MB of PNG: noise does not compress.
const ClippingItem &largeImage()
{
    static const ClippingItem item = [] {
        QImage noise(1800, 1160, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < noise.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(noise.scanLine(y));
            for (int x = 0; x < noise.width(); ++x)
                line[x] = 0xff000000u | (random.generate() & 0xffffffu);
        }
        ClippingItem image = textClipping(QString());
        image.type = ClippingType::Image;
        image.imageData = pngBytes(noise);
        return image;
    }();
    return item;
}

void BM_LargePngFirstPaint(benchmark::State &state)
{
    ClippingItem item = largeImage();
    QImage target = surface();
    CardImageCache cache;
    for (auto _ : state) {
        // A clipping never seen before: nothing of it is kept yet.
        state.PauseTiming();
        item.id = QUuid::createUuid();
        ClippingCard::Input input{item, QRectF(QPointF(200, 100), cardSize(CardTier::Roomy)),
                                  CardTier::Roomy, Theme::dark()};
        input.images = &cache;
        state.ResumeTiming();
        paintOnce(target, input);
    }
    state.counters["png_MB"] = double(item.imageData->size()) / 1e6;
}
BENCHMARK(BM_LargePngFirstPaint)->Unit(benchmark::kMillisecond);

void BM_LargePngLaterPaint(benchmark::State &state)
{
    const ClippingItem &item = largeImage();
    QImage target = surface();
    CardImageCache cache;
    ClippingCard::Input input{item, QRectF(QPointF(200, 100), cardSize(CardTier::Roomy)),
                              CardTier::Roomy, Theme::dark()};
    input.images = &cache;
    paintOnce(target, input);
    for (auto _ : state)
        paintOnce(target, input);
}
BENCHMARK(BM_LargePngLaterPaint)->Unit(benchmark::kMillisecond);

// A 2 MB text on one line and on many, after the card's first paint has worked out its facts.
void BM_TwoMegabyteTextCard(benchmark::State &state)
{
    const bool lines = state.range(0) == 1;
    QString text;
    if (lines) {
        while (text.size() < 2 * 1024 * 1024)
            text += QStringLiteral("A line of a long text with words in it\n");
    } else {
        text = QString(2 * 1024 * 1024, QLatin1Char('x'));
    }
    const ClippingItem item = textClipping(text);
    QImage target = surface();
    ClippingCard::Input input{item, QRectF(QPointF(200, 100), cardSize(CardTier::Standard)),
                              CardTier::Standard, Theme::dark()};
    paintOnce(target, input);
    for (auto _ : state)
        paintOnce(target, input);
    state.SetLabel(lines ? "many lines" : "one line");
}
BENCHMARK(BM_TwoMegabyteTextCard)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The first paint of a 2 MB text: counting its characters for the footer.
void BM_TwoMegabyteTextFirstPaint(benchmark::State &state)
{
    const QString text(2 * 1024 * 1024, QLatin1Char('x'));
    QImage target = surface();
    for (auto _ : state) {
        state.PauseTiming();
        const ClippingItem item = textClipping(text + QString::number(state.iterations()));
        ClippingCard::Input input{item, QRectF(QPointF(200, 100), cardSize(CardTier::Standard)),
                                  CardTier::Standard, Theme::dark()};
        state.ResumeTiming();
        paintOnce(target, input);
    }
}
BENCHMARK(BM_TwoMegabyteTextFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
