#include "board/clipboardmanagerstate.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakepasteboard.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"
#include "store/storefile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace
{

// Ordered by how common they are; picked with Zipf's law, as words in real text are.
const QStringList words =
    QStringLiteral(
        "the of and to a in is it you that he was for on are with as I his they be at one have "
        "this from or had by not word but what some we can out other were all there when up use "
        "your how said an each she which do their time if will way about many then them write "
        "would like so these her long make thing see him two has look more day could go come did "
        "number sound no most people my over know water than call first who may down side been "
        "now find any new work part take get place made live where after back little only round "
        "man year came show every good me give our under name very through just form sentence "
        "great think say help low line differ turn cause much mean before move right boy old too "
        "same tell does set three want air well also play small end put home read hand port large "
        "spell add even land here must big high such follow act why ask men change went light "
        "project meeting review release branch merge design schedule tomorrow customer report "
        "budget function return const auto struct class value error request response server "
        "client token config build deploy cache index problem process product program provide "
        "invoice payment account password address contact calendar document folder download "
        "update version install package module import export query table column filter search "
        "naïve café straße données 東京 ✓ über résumé")
        .split(u' ');

const std::vector<double> cumulativeWordWeights = [] {
    std::vector<double> weights;
    double total = 0;
    for (qsizetype rank = 0; rank < words.size(); ++rank)
        weights.push_back(total += 1.0 / double(rank + 1));
    return weights;
}();

const QString &someWord(QRandomGenerator &random)
{
    const double pick = random.generateDouble() * cumulativeWordWeights.back();
    const auto found =
        std::upper_bound(cumulativeWordWeights.begin(), cumulativeWordWeights.end(), pick);
    return words[std::min<qsizetype>(found - cumulativeWordWeights.begin(), words.size() - 1)];
}

// Weighted towards the pinned apps, as a real history would be.
const QStringList apps{
    QStringLiteral("Chrome"),   QStringLiteral("Chrome"),   QStringLiteral("Slack"),
    QStringLiteral("Terminal"), QStringLiteral("Xcode"),    QStringLiteral("Mail"),
    QStringLiteral("Notes"),    QStringLiteral("Finder"),   QStringLiteral("Figma"),
    QStringLiteral("Zed"),      QStringLiteral("Obsidian"), QStringLiteral("TextEdit")};

QString wordsOfLength(QRandomGenerator &random, int length)
{
    QString text;
    text.reserve(length + 16);
    while (text.size() < length) {
        text += someWord(random);
        text += random.bounded(10) == 0 ? u'\n' : u' ';
    }
    text.truncate(length);
    return text;
}

// Mostly short copies (words, links, names), then sentences and paragraphs, some code and a
// few long documents: about 420 characters on average.
ClippingItem realisticClipping(QRandomGenerator &random, int index)
{
    const QString app = apps[random.bounded(apps.size())];
    ClippingItem fields{.type = ClippingType::Text,
                        .sourceAppName = app,
                        .sourceAppBundleID = QStringLiteral("org.example.") + app.toLower(),
                        .createdAt = Timestamp(780000000.0 + index),
                        .isFavorite = random.bounded(12) == 0};
    if (random.bounded(3) == 0)
        fields.windowTitle = wordsOfLength(random, 10 + random.bounded(50));
    const int kind = random.bounded(100);
    if (kind < 15) {
        fields.type = ClippingType::Url;
        fields.textContent = QStringLiteral("https://example.org/") + wordsOfLength(random, 30);
        fields.urlTitle = wordsOfLength(random, 25);
    } else if (kind < 20) {
        fields.type = ClippingType::File;
        fields.fileName = wordsOfLength(random, 12) + QStringLiteral(".pdf");
        fields.textContent = QStringLiteral("/home/user/Documents/") + *fields.fileName;
    } else if (kind < 23) {
        fields.type = ClippingType::Color;
        fields.textContent = QStringLiteral("#%1").arg(random.bounded(0x1000000), 6, 16);
    } else if (kind < 45) {
        fields.textContent = wordsOfLength(random, 5 + random.bounded(60));
    } else if (kind < 78) {
        fields.textContent = wordsOfLength(random, 80 + random.bounded(320));
    } else if (kind < 96) {
        fields.richKind = RichContentKind::CodeSnippet;
        fields.textContent = wordsOfLength(random, 200 + random.bounded(1300));
    } else {
        fields.textContent = wordsOfLength(random, 1000 + random.bounded(4000));
    }
    fields.isPassword = random.bounded(60) == 0;
    return ClippingItem::make(std::move(fields));
}

// A state object over 10,000 clippings in two collections.
class BoardWithHistory
{
public:
    BoardWithHistory()
    {
        QRandomGenerator random(7);
        const QList<ClippingCollection> collections{
            ClippingCollection::named(QStringLiteral("Snippets")),
            ClippingCollection::named(QStringLiteral("Work"))};
        QList<ClippingItem> items;
        for (int i = 0; i < 10000; ++i) {
            ClippingItem item = realisticClipping(random, i);
            if (i % 9 == 0)
                item.collectionIDs.append(collections[i % 2].id);
            items.append(std::move(item));
        }
        StoreFile(m_directory.path()).write(items, collections);
        m_state = std::make_unique<ClipboardManagerState>(
            ClipboardManagerState::Services{m_settings, m_pasteboard, m_clock, m_frontApplication,
                                            m_workspace, m_httpClient, m_directory.path()});
    }

    ClipboardManagerState &state() { return *m_state; }

private:
    QTemporaryDir m_directory;
    MemorySettingsStore m_settings;
    FakePasteboard m_pasteboard;
    FakeClock m_clock;
    FakeFrontApplication m_frontApplication;
    FakeWorkspace m_workspace;
    FakeHttpClient m_httpClient;
    std::unique_ptr<ClipboardManagerState> m_state;
};

BoardWithHistory &board()
{
    static BoardWithHistory shared;
    return shared;
}

void showing(const SidebarSelection &selection, const QString &searchText)
{
    board().state().setSidebarSelection(selection);
    board().state().setSearchText(searchText);
}

// The state keeps the last result until the sidebar choice, the search text or the history
// changes. A cold run alternates between two search texts that trim to the same query, so
// every call computes the list anew; a warm run repeats the same call (a redraw).
enum Temperature { Cold, Warm };

void filterRepeatedly(benchmark::State &state, const SidebarSelection &selection,
                      const QString &searchText)
{
    showing(selection, searchText);
    const bool cold = state.range(0) == Cold;
    bool padded = false;
    for (auto _ : state) {
        if (cold) {
            padded = !padded;
            board().state().setSearchText(padded ? searchText + u' ' : searchText);
        }
        benchmark::DoNotOptimize(board().state().filteredItems());
    }
    state.counters["shown"] = double(board().state().filteredItems().size());
}

// A query of a less common word, one held by many clippings ("project", "problem", ...),
// and one that none holds, so that the whole history is read.
const std::array threeCharacterQueries{QStringLiteral("inv"), QStringLiteral("pro"),
                                       QStringLiteral("zqx")};

void BM_FilterThreeCharacterQuery(benchmark::State &state)
{
    filterRepeatedly(state, SidebarSelection::history(),
                     threeCharacterQueries[size_t(state.range(1))]);
}
BENCHMARK(BM_FilterThreeCharacterQuery)
    ->ArgsProduct({{Cold, Warm}, {0, 1, 2}})
    ->ArgNames({"warm", "query"})
    ->Unit(benchmark::kMillisecond);

// What a search costs that lower-cases every field on every keystroke.
void BM_PlainThreeCharacterQuery(benchmark::State &state)
{
    const QString query = threeCharacterQueries[size_t(state.range(0))];
    const QList<ClippingItem> &items = board().state().items();
    for (auto _ : state) {
        QList<ClippingItem> shown;
        for (const ClippingItem &item : items) {
            if ((!item.isPassword && item.textContent.toLower().contains(query)) ||
                item.sourceAppName.toLower().contains(query) ||
                rawValue(item.type).toLower().contains(query) ||
                item.windowTitle.value_or(QString()).toLower().contains(query) ||
                item.fileName.value_or(QString()).toLower().contains(query) ||
                item.urlTitle.value_or(QString()).toLower().contains(query))
                shown.append(item);
        }
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_PlainThreeCharacterQuery)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_FilterFavoritesEmptyQuery(benchmark::State &state)
{
    filterRepeatedly(state, SidebarSelection::favorites(), QString());
}
BENCHMARK(BM_FilterFavoritesEmptyQuery)
    ->Arg(Cold)
    ->Arg(Warm)
    ->ArgName("warm")
    ->Unit(benchmark::kMillisecond);

void BM_FilterAppChrome(benchmark::State &state)
{
    filterRepeatedly(state, SidebarSelection::app(QStringLiteral("Chrome")), QString());
}
BENCHMARK(BM_FilterAppChrome)->Arg(Cold)->Arg(Warm)->ArgName("warm")->Unit(benchmark::kMillisecond);

// Everything the sidebar shows: its apps and the badge of every entry.
void BM_SidebarAppsAndAllCounts(benchmark::State &state)
{
    const ClipboardManagerState &s = board().state();
    for (auto _ : state) {
        int total = s.totalHistoryCount() + s.favoritesCount();
        for (const ClippingCollection &collection : s.collections())
            total += s.countForCollection(collection.id);
        for (const SidebarApp &app : s.sidebarApps())
            total += s.countForApp(app.name);
        for (const ClippingType type : allClippingTypes)
            total += s.countForType(type);
        benchmark::DoNotOptimize(total);
    }
    state.counters["apps"] = double(s.sidebarApps().size());
}
BENCHMARK(BM_SidebarAppsAndAllCounts)->Unit(benchmark::kMillisecond);

// Held arrow keys: the visible list is kept between moves. "searching" moves through the
// results of a search; "fresh" also changes the search text before every move, so that each
// move filters the whole history first.
void BM_MoveSelection(benchmark::State &state)
{
    const QString query = state.range(0) ? threeCharacterQueries[0] : QString();
    showing(SidebarSelection::history(), query);
    board().state().ensureValidSelection();
    const bool fresh = state.range(1);
    bool padded = false;
    int step = 1;
    for (auto _ : state) {
        if (fresh) {
            padded = !padded;
            board().state().setSearchText(padded ? query + u' ' : query);
        }
        board().state().moveSelection(0, step);
        step = -step;
    }
}
BENCHMARK(BM_MoveSelection)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->ArgNames({"searching", "fresh"})
    ->Unit(benchmark::kMillisecond);

// The first search after a new clipping arrived.
void BM_SearchAfterNewClipping(benchmark::State &state)
{
    showing(SidebarSelection::history(), threeCharacterQueries[0]);
    QRandomGenerator random(11);
    int index = 20000;
    for (auto _ : state) {
        state.PauseTiming();
        board().state().insertNewItem(realisticClipping(random, index++));
        state.ResumeTiming();
        benchmark::DoNotOptimize(board().state().filteredItems());
    }
}
BENCHMARK(BM_SearchAfterNewClipping)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
