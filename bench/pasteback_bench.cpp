// Latencies of the real program on a private X server: from a press of the hot key (xdotool)
// to the program's handler, and from activating a clipping to its text arriving in the
// previous window.
#include "pastesession.h"
#include "privatedisplay.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace
{

std::unique_ptr<PasteSession> session;

void BM_HotKeyToHandler(benchmark::State &state)
{
    for (auto _ : state) {
        const double pressed = session->pressHotKey();
        const std::optional<double> handled = session->waitForTrace(QStringLiteral("hot-key"));
        if (!handled) {
            state.SkipWithError("the hot key was not seen");
            return;
        }
        state.SetIterationTime((*handled - pressed) / 1000.0);
    }
}
BENCHMARK(BM_HotKeyToHandler)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_ActivationToTextInTarget(benchmark::State &state)
{
    int round = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("pasted %1").arg(++round);
        if (!session->resetTarget() || !PasteSession::copyElsewhere(text) ||
            !session->waitForCapture(text)) {
            state.SkipWithError("could not prepare the round");
            return;
        }
        session->pressHotKey();
        session->waitForTrace(QStringLiteral("hot-key"));
        session->typeIntoBoard(QStringLiteral("Return"));
        const std::optional<double> activated =
            session->waitForTrace(QStringLiteral("paste-back paste"));
        const std::optional<double> arrived = session->waitForTargetText(text);
        if (!activated || !arrived) {
            state.SkipWithError("the text did not arrive");
            return;
        }
        state.SetIterationTime((*arrived - *activated) / 1000.0);
    }
}
BENCHMARK(BM_ActivationToTextInTarget)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    return runOnPrivateDisplay(
        argc, argv,
        [] {
            session = std::make_unique<PasteSession>(QStringLiteral(QUILLSTASH_PROGRAM),
                                                     QStringLiteral(PASTE_TARGET_PROGRAM));
            return session->start();
        },
        [] { session.reset(); });
}
