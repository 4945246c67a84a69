#include "artwork/appiconprovider.h"
#include "artwork/iconsetexport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

void BM_DrawBrandLogo(benchmark::State &state)
{
    const qreal size = qreal(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(AppIconProvider::drawBrandLogoImage(size));
}
BENCHMARK(BM_DrawBrandLogo)->Arg(32)->Arg(128)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);

// What seeding the showcase history pays for its image clipping.
void BM_GenerateShowcaseArtwork(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AppIconProvider::generateShowcaseArtwork());
}
BENCHMARK(BM_GenerateShowcaseArtwork)->Unit(benchmark::kMillisecond);

void BM_IconsetExport(benchmark::State &state)
{
    QTemporaryDir folder;
    for (auto _ : state)
        IconsetExport::write(folder.filePath(QStringLiteral("icons")));
}
BENCHMARK(BM_IconsetExport)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A board full of cards draws every source picture once, then takes them from the cache.
void BM_DrawAppPictures(benchmark::State &state)
{
    const QStringList names{"Sketch", "Chrome",    "Finder",    "Mail", "Xcode",
                            "Slack",  "1Password", "Photoshop", "Other"};
    for (auto _ : state) {
        for (const QString &name : names)
            benchmark::DoNotOptimize(AppIconProvider::drawVectorAppIcon(name, 2));
    }
    state.SetItemsProcessed(state.iterations() * names.size());
}
BENCHMARK(BM_DrawAppPictures)->Unit(benchmark::kMicrosecond);

} // namespace
