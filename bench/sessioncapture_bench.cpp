// Another program's copy until the real program has it on disk, on a headless sway session:
// through data-control, and through XWayland as the same program sees it on an X11 desktop.
// Counters: the median copy in milliseconds, the program's resident memory after the copies.
#include "compositorsession.h"
#include "sessionprogram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

std::unique_ptr<CompositorSession> session;

void copyToDisk(benchmark::State &state, bool wayland)
{
    if (!session) {
        state.SkipWithError("no sway session");
        return;
    }
    SessionProgram program(*session, wayland ? QStringLiteral("wayland") : QStringLiteral("x11"),
                           wayland);
    if (!program.start()) {
        state.SkipWithError("the program did not start");
        return;
    }
    int copy = 0;
    std::vector<double> times;
    for (auto _ : state) {
        const QByteArray text = "bench copy " + QByteArray::number(++copy) +
                                (wayland ? " through data-control" : " through XWayland");
        QElapsedTimer timer;
        timer.start();
        const bool copied =
            wayland ? session->run(QStringLiteral("wl-copy"), {QString::fromUtf8(text)}).has_value()
                    : session
                          ->run(QStringLiteral("xclip"),
                                {QStringLiteral("-selection"), QStringLiteral("clipboard")}, text)
                          .has_value();
        const bool stored = copied && QTest::qWaitFor(
                                          [&] {
                                              QFile store(program.storePath());
                                              return store.open(QIODevice::ReadOnly) &&
                                                     store.readAll().contains(text);
                                          },
                                          5000);
        if (!stored) {
            state.SkipWithError("a copy did not reach the store");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    if (!times.empty())
        state.counters["medianMs"] = times[times.size() / 2];
    state.counters["residentKB"] = double(program.residentKb());
}

void BM_CopyToDiskThroughDataControl(benchmark::State &state)
{
    copyToDisk(state, true);
}
BENCHMARK(BM_CopyToDiskThroughDataControl)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30)
    ->Repetitions(1);

void BM_CopyToDiskThroughXWayland(benchmark::State &state)
{
    copyToDisk(state, false);
}
BENCHMARK(BM_CopyToDiskThroughXWayland)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30)
    ->Repetitions(1);

} // namespace

int main(int argc, char **argv)
{
    using Compositor = CompositorSession::Compositor;
    QCoreApplication app(argc, argv);
    if (const QStringList missing = CompositorSession::missingPrograms(Compositor::Sway, true);
        !missing.isEmpty()) {
        std::printf("SKIPPED: %s not installed\n", qPrintable(missing.join(u", ")));
        return 0;
    }
    session = std::make_unique<CompositorSession>(Compositor::Sway, true);
    if (const QString error = session->start(); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    session.reset();
    return 0;
}
