#include "board/clipboardmanagerstate.h"
#include "capture/contentclassifier.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakepasteboard.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

// A poll that finds the count unchanged; "reads" counts content reads per poll.
void BM_CheckPasteboardWithoutChange(benchmark::State &run)
{
    QTemporaryDir folder;
    MemorySettingsStore settings;
    FakePasteboard pasteboard;
    FakeClock clock;
    FakeFrontApplication front;
    FakeWorkspace workspace;
    FakeHttpClient httpClient;
    ClipboardManagerState state(
        {settings, pasteboard, clock, front, workspace, httpClient, folder.path()});
    const int readsBefore = pasteboard.reads();
    for (auto _ : run)
        state.checkPasteboard();
    run.counters["reads"] =
        benchmark::Counter(pasteboard.reads() - readsBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CheckPasteboardWithoutChange);

constexpr qsizetype megabyte = 1024 * 1024;

QString repeatedTo(const QString &piece, qsizetype size)
{
    QString text;
    text.reserve(size);
    while (text.size() + piece.size() <= size)
        text += piece;
    return text;
}

// Type, rich kind and fields of a 1 MB text.
void classify(benchmark::State &run, const QString &text, const QString &app)
{
    const ClippingSource source{.appName = app, .capturedAt = Timestamp(800000000.0)};
    for (auto _ : run) {
        const ClippingItem item = ContentClassifier::textClipping(
            text, ContentClassifier::classifyText(text), std::nullopt, source);
        benchmark::DoNotOptimize(item.richKind);
    }
    run.SetBytesProcessed(run.iterations() * text.size() * 2);
}

void BM_ClassifyProse1MB(benchmark::State &run)
{
    classify(run,
             repeatedTo(QStringLiteral("The quick brown fox jumps over the lazy dog, again.\n"),
                        megabyte),
             QStringLiteral("Mail"));
}
BENCHMARK(BM_ClassifyProse1MB)->Unit(benchmark::kMicrosecond);

void BM_ClassifyOneLine1MB(benchmark::State &run)
{
    classify(run, repeatedTo(QStringLiteral("abcdefghij"), megabyte), QStringLiteral("Mail"));
}
BENCHMARK(BM_ClassifyOneLine1MB)->Unit(benchmark::kMicrosecond);

void BM_ClassifyLongLink1MB(benchmark::State &run)
{
    classify(run,
             QStringLiteral("https://example.com/") +
                 repeatedTo(QStringLiteral("segment/"), megabyte - 20),
             QStringLiteral("Browser"));
}
BENCHMARK(BM_ClassifyLongLink1MB)->Unit(benchmark::kMicrosecond);

void BM_ClassifyCodeFromTerminal1MB(benchmark::State &run)
{
    classify(run, repeatedTo(QStringLiteral("if (x) { return y }\n"), megabyte),
             QStringLiteral("Terminal"));
}
BENCHMARK(BM_ClassifyCodeFromTerminal1MB)->Unit(benchmark::kMicrosecond);

} // namespace
