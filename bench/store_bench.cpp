#include "board/clipboardmanagerstate.h"
#include "model/passwordcrypto.h"
#include "model/storeoutline.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakepasteboard.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"
#include "residentmemory.h"
#include "store/storefile.h"
#include "storefixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
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

// Pss of this process from /proc/self/smaps_rollup, in kilobytes; -1 when it cannot be read.
long proportionalKilobytes()
{
    for (const QByteArray &line : readAll(QStringLiteral("/proc/self/smaps_rollup")).split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Saving after one new clipping: the hand-over alone, and until the file is on disk.
void BM_SaveAfterOneNewClipping(benchmark::State &state)
{
    QTemporaryDir directory;
    StoreFile store(directory.path());
    BenchmarkHistory history = makeBenchmarkHistory();
    store.write(history.items, history.collections); // the load-time encoding
    store.flush();
    const bool untilOnDisk = state.range(0) != 0;
    int seed = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        history.items.prepend(makeBenchmarkText(seed++));
        history.items.removeLast();
        const QSet<QUuid> changed{history.items.first().id};
        state.ResumeTiming();
        store.write(history.items, history.collections, &changed);
        if (untilOnDisk)
            store.flush();
        state.PauseTiming();
        store.flush();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFile(store.path()).size());
}
BENCHMARK(BM_SaveAfterOneNewClipping)
    ->ArgName("untilOnDisk")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

void BM_QSaveFileSameBytes(benchmark::State &state)
{
    QTemporaryDir directory;
    StoreFile store(directory.path());
    const BenchmarkHistory history = makeBenchmarkHistory();
    store.write(history.items, history.collections);
    store.flush();
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

// Captures into a state loaded from a store of `texts` texts and `images` images of `imageMB`
// megabytes: the GUI thread's time per capture, and the time until that capture is on disk.
// The first capture after the start is timed apart, and resident memory after 20 captures is
// compared with the value after the start.
void BM_CaptureIntoLoadedStore(benchmark::State &state)
{
    const int images = int(state.range(0));
    const qsizetype imageBytes = qsizetype(state.range(1)) * 1024 * 1024;
    QTemporaryDir directory;
    {
        BenchmarkHistory history = makeBenchmarkHistory(10000, images);
        QRandomGenerator random(7);
        for (ClippingItem &item : history.items) {
            if (item.type == ClippingType::Image && imageBytes > 0) {
                QByteArray bytes(imageBytes, Qt::Uninitialized);
                random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
                item.imageData = bytes;
            }
        }
        StoreFile store(directory.path());
        store.write(history.items, history.collections);
    }
    const qint64 fileSize = QFile(directory.filePath(StoreFile::fileName())).size();
    FakeServices services;
    std::vector<double> gui;
    std::vector<double> onDisk;
    double first = 0;
    double firstOnDisk = 0;
    long startKB = 0;
    long afterKB = 0;
    long startPssKB = 0;
    int seed = 500000;
    for (auto _ : state) {
        ClipboardManagerState loaded(services.over(directory.path()));
        // As the program stands after its start: the board has drawn its cards and badges, and
        // the store has indexed what it read.
        benchmark::DoNotOptimize(loaded.visibleItemCount() + loaded.totalHistoryCount() +
                                 loaded.sidebarApps().size());
        loaded.waitForSaved();
        startKB = residentKilobytes();
        startPssKB = proportionalKilobytes();
        for (int capture = 0; capture < 20; ++capture) {
            QElapsedTimer timer;
            timer.start();
            loaded.insertNewItem(makeBenchmarkText(seed++));
            const double guiMs = double(timer.nsecsElapsed()) / 1e6;
            loaded.waitForSaved();
            const double diskMs = double(timer.nsecsElapsed()) / 1e6;
            if (capture == 0) {
                first = guiMs;
                firstOnDisk = diskMs;
            } else {
                gui.push_back(guiMs);
                onDisk.push_back(diskMs);
            }
        }
        afterKB = residentKilobytes();
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    state.counters["file_MB"] = double(fileSize) / 1e6;
    state.counters["first_gui_ms"] = first;
    state.counters["first_on_disk_ms"] = firstOnDisk;
    state.counters["later_gui_median_ms"] = median(gui);
    state.counters["later_on_disk_median_ms"] = median(onDisk);
    state.counters["rss_start_MiB"] = double(startKB) / 1024.0;
    state.counters["pss_start_MiB"] = double(startPssKB) / 1024.0;
    state.counters["rss_growth_after_20_MiB"] = double(afterKB - startKB) / 1024.0;
}
// 20 images of 200 KB: the foundation's 18 MB store; none: 10,000 texts alone; 10 MB images:
// about 280 MB of file.
BENCHMARK(BM_CaptureIntoLoadedStore)
    ->ArgNames({"images", "imageMB"})
    ->Args({0, 0})
    ->Args({20, 0})
    ->Args({20, 10})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Parsing alone, with each JSON library the store could use, on the same file.
QByteArray benchmarkFileBytes()
{
    QTemporaryDir directory;
    const BenchmarkHistory history = makeBenchmarkHistory();
    StoreFile store(directory.path());
    store.write(history.items, history.collections);
    store.flush();
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

// Finding the records in the file at start-up: On-Demand over a copy, over the text read with
// room for the padding, and the reader that huge files take.
void BM_StoreOutline(benchmark::State &state)
{
    enum Path { OnDemandCopy, OnDemandInPlace, Reader };
    const Path path = Path(state.range(0));
    const QByteArray bytes = benchmarkFileBytes();
    QByteArray padded;
    padded.reserve(bytes.size() + StoreOutline::paddingBytes);
    padded.append(bytes);
    const QByteArray json =
        path == OnDemandCopy ? QByteArray::fromRawData(bytes.constData(), bytes.size()) : padded;
    const qsizetype limit = path == Reader ? 0 : json.size() + 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(StoreOutline::find(json, limit));
    state.SetLabel(path == OnDemandCopy      ? "onDemandCopy"
                   : path == OnDemandInPlace ? "onDemandInPlace"
                                             : "reader");
    state.SetBytesProcessed(state.iterations() * json.size());
    state.counters["file_MB"] = double(json.size()) / 1e6;
}
BENCHMARK(BM_StoreOutline)->ArgName("path")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // As in the program once its key service has answered: secrets are sealed as they come, not
    // held out of the file while a key is awaited, which copies the whole list at every save.
    const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    PasswordCrypto::setKeyProvider([key] { return key; });
    // `store_bench --write-store DIR` leaves the benchmark history in DIR, for measuring a real
    // process that loads it.
    if (argc == 3 && qstrcmp(argv[1], "--write-store") == 0) {
        const BenchmarkHistory history = makeBenchmarkHistory();
        StoreFile store(QString::fromLocal8Bit(argv[2]));
        QString failure;
        store.onWritten = [&](const QString &reason) { failure = reason; };
        store.write(history.items, history.collections);
        store.flush();
        return failure.isEmpty() ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
