// The board's widgets over 10,000 clippings, drawn offscreen: showing, typing a search
// character, scrolling one row and opening Quick Look on a long text, each up to the finished
// frame.
#include "board/clipboardmanagerstate.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakepasteboard.h"
#include "platform/fake/fakewindowactivator.h"
#include "platform/fake/fakewindowmanagerhints.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"
#include "shell/boardwindow.h"
#include "store/storefile.h"
#include "views/board/cardgridview.h"
#include "views/board/mainboardview.h"
#include "views/board/quicklookview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{

const QStringList words =
    QStringLiteral("the of and to in is it you that was for on are with as his they be "
                   "at one have this from or had by word but what some can out other "
                   "project meeting review release branch merge design schedule "
                   "function return const auto struct class value error request server")
        .split(u' ');
const QStringList apps{QStringLiteral("Chrome"), QStringLiteral("Slack"),
                       QStringLiteral("Terminal"), QStringLiteral("Mail"), QStringLiteral("Notes")};

// 10,000 clippings of text, links and colours, as a long history holds them.
class Board
{
public:
    Board()
    {
        QRandomGenerator random(11);
        QList<ClippingItem> items;
        for (int i = 0; i < 10000; ++i) {
            QString text;
            const int length = 20 + random.bounded(400);
            while (text.size() < length)
                text += words[random.bounded(words.size())] + u' ';
            ClippingItem fields{.type = ClippingType::Text,
                                .textContent = text,
                                .sourceAppName = apps[random.bounded(apps.size())],
                                .createdAt = Timestamp(780000000.0 + i)};
            if (i % 7 == 0) {
                fields.type = ClippingType::Url;
                fields.textContent = QStringLiteral("https://example.org/") + words[i % 20];
            } else if (i % 13 == 0) {
                fields.type = ClippingType::Color;
                fields.textContent =
                    QStringLiteral("#%1").arg(random.bounded(0x1000000), 6, 16, QLatin1Char('0'));
            }
            items.append(ClippingItem::make(std::move(fields)));
        }
        StoreFile(m_directory.path()).write(items, {});
        m_state = std::make_unique<ClipboardManagerState>(
            ClipboardManagerState::Services{m_settings, m_pasteboard, m_clock, m_frontApplication,
                                            m_workspace, m_httpClient, m_directory.path()});
        m_window =
            std::make_unique<BoardWindow>(*m_state, m_frontApplication, m_activator, m_hints);
    }

    ClipboardManagerState &state() { return *m_state; }
    BoardWindow &window() { return *m_window; }

private:
    QTemporaryDir m_directory;
    MemorySettingsStore m_settings;
    FakePasteboard m_pasteboard;
    FakeClock m_clock;
    FakeFrontApplication m_frontApplication;
    FakeWorkspace m_workspace;
    FakeHttpClient m_httpClient;
    FakeWindowActivator m_activator;
    FakeWindowManagerHints m_hints;
    std::unique_ptr<ClipboardManagerState> m_state;
    std::unique_ptr<BoardWindow> m_window;
};

Board &board()
{
    static Board shared;
    return shared;
}

// From the hot key's call to the whole window drawn.
void BM_ShowBoard(benchmark::State &run)
{
    BoardWindow &window = board().window();
    for (auto _ : run) {
        window.showMainWindow();
        benchmark::DoNotOptimize(window.grab());
        run.PauseTiming();
        window.hideMainWindow();
        QApplication::processEvents();
        run.ResumeTiming();
    }
}
BENCHMARK(BM_ShowBoard)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// One key typed into the search field, up to the grid drawn again.
void BM_TypeSearchCharacter(benchmark::State &run)
{
    ClipboardManagerState &state = board().state();
    MainBoardView &view = *board().window().view();
    board().window().showMainWindow();
    QLineEdit *field = view.searchField();
    field->setFocus();
    state.setSearchText(QStringLiteral("re"));
    for (auto _ : run) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::NoModifier, QStringLiteral("v"));
        QApplication::sendEvent(field, &press);
        benchmark::DoNotOptimize(view.grid()->viewport()->grab());
        run.PauseTiming();
        state.setSearchText(QStringLiteral("re"));
        run.ResumeTiming();
    }
    state.setSearchText(QString());
    board().window().hideMainWindow();
}
BENCHMARK(BM_TypeSearchCharacter)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// One row further down a 4 × 4 board, up to the frame drawn.
void BM_ScrollOneRow(benchmark::State &run)
{
    ClipboardManagerState &state = board().state();
    state.setGridRows(4);
    state.setGridColumns(4);
    board().window().showMainWindow();
    CardGridView &grid = *board().window().view()->grid();
    QScrollBar *bar = grid.verticalScrollBar();
    bar->setValue(0);
    for (auto _ : run) {
        if (bar->value() >= bar->maximum())
            bar->setValue(0);
        bar->setValue(bar->value() + bar->singleStep());
        benchmark::DoNotOptimize(grid.viewport()->grab());
    }
    board().window().hideMainWindow();
    state.setGridRows(3);
    state.setGridColumns(3);
}
BENCHMARK(BM_ScrollOneRow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Quick Look opened on one long text, up to its first frame: 2 MB on a single line and 10 MB
// of lines.
void BM_OpenQuickLook(benchmark::State &run)
{
    const bool oneLine = run.range(0) == 0;
    const qsizetype size = oneLine ? 2'000'000 : 10'000'000;
    QString text;
    text.reserve(size + 100);
    for (qsizetype i = 0; text.size() < size; ++i) {
        text += words[i % words.size()];
        text += oneLine || i % 12 != 11 ? u' ' : u'\n';
    }
    ClipboardManagerState &state = board().state();
    board().window().showMainWindow();
    QWidget &preview = *board().window().view()->quickLook();
    for (auto _ : run) {
        // A new clipping each time, so that nothing about its text is known beforehand.
        run.PauseTiming();
        const ClippingItem item = ClippingItem::make(
            {.type = ClippingType::Text, .textContent = text, .sourceAppName = apps[0]});
        run.ResumeTiming();
        state.setQuickLookItem(item);
        benchmark::DoNotOptimize(preview.grab());
        run.PauseTiming();
        state.setQuickLookItem(std::nullopt);
        QApplication::processEvents();
        run.ResumeTiming();
    }
    board().window().hideMainWindow();
    run.SetLabel(oneLine ? "2 MB, one line" : "10 MB");
}
BENCHMARK(BM_OpenQuickLook)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
