#include "board/clipboardmanagerstate.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakepasteboard.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"
#include "store/storefile.h"
#include "storefixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>
#include <simdjson.h>

namespace
{

struct FakeServices {
    MemorySettingsStore settings;
    FakePasteboard pasteboard;
    FakeClock clock;
    FakeFrontApplication frontApplication;
    FakeWorkspace workspace;
    FakeHttpClient httpClient;

    ClipboardManagerState::Services over(const QString &directory)
    {
        return {settings, pasteboard, clock, frontApplication, workspace, httpClient, directory};
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Saving after one new clipping, against writing the same bytes with QSaveFile alone.
void BM_SaveAfterOneNewClipping(benchmark::State &state)
{
    QTemporaryDir directory;
    StoreFile store(directory.path());
    BenchmarkHistory history = makeBenchmarkHistory();
    store.write(history.items, history.collections); // the load-time encoding
    int seed = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        history.items.prepend(makeBenchmarkText(seed++));
        history.items.removeLast();
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.write(history.items, history.collections));
    }
    state.SetBytesProcessed(state.iterations() * QFile(store.path()).size());
}
BENCHMARK(BM_SaveAfterOneNewClipping)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_QSaveFileSameBytes(benchmark::State &state)
{
    QTemporaryDir directory;
    StoreFile store(directory.path());
    const BenchmarkHistory history = makeBenchmarkHistory();
    store.write(history.items, history.collections);
    const QByteArray bytes = readAll(store.path());
    for (auto _ : state) {
        QSaveFile file(directory.filePath(QStringLiteral("plain.json")));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        benchmark::DoNotOptimize(file.commit());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_QSaveFileSameBytes)->Unit(benchmark::kMillisecond)->MinTime(2);

// Creating the state object over an existing store file: read, decode, migrate.
void BM_ColdLoad(benchmark::State &state)
{
    QTemporaryDir directory;
    const BenchmarkHistory history = makeBenchmarkHistory();
    StoreFile(directory.path()).write(history.items, history.collections);
    const qint64 fileSize = QFile(directory.filePath(StoreFile::fileName())).size();

    FakeServices services;
    for (auto _ : state) {
        ClipboardManagerState loaded(services.over(directory.path()));
        benchmark::DoNotOptimize(loaded.items().size());
    }
    state.SetBytesProcessed(state.iterations() * fileSize);
    state.counters["file_MB"] = double(fileSize) / 1e6;
}
BENCHMARK(BM_ColdLoad)->Unit(benchmark::kMillisecond)->MinTime(2);

// Resident size of a process that holds the loaded store (and nothing else of the benchmark).
void BM_ResidentSizeHoldingStore(benchmark::State &state)
{
    QTemporaryDir directory;
    {
        const BenchmarkHistory history = makeBenchmarkHistory();
        StoreFile(directory.path()).write(history.items, history.collections);
    }
    FakeServices services;
    const long before = residentKilobytes();
    for (auto _ : state) {
        ClipboardManagerState loaded(services.over(directory.path()));
        loaded.saveToDisk(); // fills the encoded cache that later saves reuse
        state.counters["rss_MB"] = double(residentKilobytes()) / 1024.0;
        state.counters["held_MB"] = double(residentKilobytes() - before) / 1024.0;
    }
}
BENCHMARK(BM_ResidentSizeHoldingStore)->Iterations(1)->Unit(benchmark::kMillisecond);

// Parsing alone, with each JSON library the store could use, on the same file.
QByteArray benchmarkFileBytes()
{
    QTemporaryDir directory;
    const BenchmarkHistory history = makeBenchmarkHistory();
    StoreFile store(directory.path());
    store.write(history.items, history.collections);
    return readAll(store.path());
}

void BM_ParseOnlyQtJson(benchmark::State &state)
{
    const QByteArray json = benchmarkFileBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(json).isObject());
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_ParseOnlyQtJson)->Unit(benchmark::kMillisecond);

void BM_ParseOnlyRapidJson(benchmark::State &state)
{
    const QByteArray json = benchmarkFileBytes();
    for (auto _ : state) {
        rapidjson::Document document;
        document.Parse(json.constData(), static_cast<size_t>(json.size()));
        benchmark::DoNotOptimize(document.IsObject());
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_ParseOnlyRapidJson)->Unit(benchmark::kMillisecond);

void BM_ParseOnlySimdjson(benchmark::State &state)
{
    const QByteArray json = benchmarkFileBytes();
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        benchmark::DoNotOptimize(parser.parse(json.constData(), size_t(json.size())).get(root));
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_ParseOnlySimdjson)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // `store_bench --write-store DIR` leaves the benchmark history in DIR, for measuring a real
    // process that loads it.
    if (argc == 3 && qstrcmp(argv[1], "--write-store") == 0) {
        const BenchmarkHistory history = makeBenchmarkHistory();
        return StoreFile(QString::fromLocal8Bit(argv[2])).write(history.items, history.collections)
                   ? 0
                   : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
