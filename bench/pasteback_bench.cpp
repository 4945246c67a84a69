// Latencies of the real program on a private X server: from a press of the hot key (xdotool)
// to the program's handler, from `quillstash --show-board` to the board on screen, and from
// activating a clipping to its text arriving in the previous window.
#include "pastesession.h"
#include "privatedisplay.h"

#include <QProcess>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

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

// Sees windows being mapped on the display: the window manager maps the board's frame, or the
// board itself when it has none.
class MapWatch
{
public:
    MapWatch() : m_connection(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatch() { xcb_disconnect(m_connection); }
    MapWatch(const MapWatch &) = delete;
    MapWatch &operator=(const MapWatch &) = delete;

    void forget()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }
    // The time of the next map, or nothing within the time.
    std::optional<double> nextMap(int timeout)
    {
        const double until = PasteSession::now() + timeout;
        pollfd entry{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        while (PasteSession::now() < until) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                std::free(event);
                if (mapped)
                    return PasteSession::now();
            }
            ::poll(&entry, 1, 5);
        }
        return std::nullopt;
    }

private:
    xcb_connection_t *m_connection;
};

void BM_ShowBoardCommandToMapped(benchmark::State &state)
{
    MapWatch watch;
    double lived = 0;
    for (auto _ : state) {
        if (!session->resetTarget()) {
            state.SkipWithError("could not prepare the round");
            return;
        }
        watch.forget();
        QProcess command;
        const double started = PasteSession::now();
        command.start(QStringLiteral(QUILLSTASH_PROGRAM), {QStringLiteral("--show-board")});
        const std::optional<double> mapped = watch.nextMap(5000);
        command.waitForFinished(5000);
        const double ended = PasteSession::now();
        if (!mapped || command.exitCode() != 0) {
            state.SkipWithError("the board did not come up");
            return;
        }
        state.SetIterationTime((*mapped - started) / 1000.0);
        lived = ended - started;
        session->typeIntoBoard(QStringLiteral("Escape"));
        if (!session->waitForTrace(QStringLiteral("board-hidden"))) {
            state.SkipWithError("the board did not go away");
            return;
        }
    }
    // Includes QProcess noticing the exit, so it is an upper bound.
    state.counters["second_process_ms"] = lived;
}
BENCHMARK(BM_ShowBoardCommandToMapped)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

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
