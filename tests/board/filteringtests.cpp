#include "boardfixture.h"

#include <QRandomGenerator>

namespace
{

const QUuid collectionA = QUuid::fromString(u"{6D1C8E52-1111-4A7B-9C3D-000000000001}");
const QUuid collectionB = QUuid::fromString(u"{6D1C8E52-1111-4A7B-9C3D-000000000002}");

// One clipping per searched field, so that each rule shows on its own.
QList<ClippingItem> sampleHistory()
{
    using T = ClippingType;
    return {
        BoardFixture::clip({.type = T::Text,
                            .textContent = QStringLiteral("Hello World at the Café"),
                            .sourceAppName = QStringLiteral("Safari"),
                            .sourceAppBundleID = QStringLiteral("com.example.safari"),
                            .isFavorite = true,
                            .collectionIDs = {collectionA, collectionB}}),
        BoardFixture::clip({.type = T::Url,
                            .textContent = QStringLiteral("https://example.org/path"),
                            .urlTitle = QStringLiteral("Example Domain"),
                            .sourceAppName = QStringLiteral("Chrome")}),
        BoardFixture::clip({.type = T::Color,
                            .textContent = QStringLiteral("Sunset orange"),
                            .colorHex = QStringLiteral("#FFAA00")}),
        BoardFixture::clip({.type = T::File,
                            .textContent = QStringLiteral("file:///home/u/q3.xlsx"),
                            .fileName = QStringLiteral("Budget 2024.xlsx"),
                            .filePath = QStringLiteral("/home/u/"),
                            .sourceAppName = QStringLiteral("Finder"),
                            .isFavorite = true}),
        // A password in plain form: its text must still never be searched.
        BoardFixture::clip({.type = T::Text,
                            .textContent = QStringLiteral("hunter2 secret"),
                            .isPassword = true,
                            .isMasked = false,
                            .sourceAppName = QStringLiteral("KeePassXC"),
                            .windowTitle = QStringLiteral("Vault")}),
        BoardFixture::clip({.type = T::Image,
                            .textContent = QStringLiteral("screenshot"),
                            .sourceAppName = QStringLiteral("safari"),
                            .windowTitle = QStringLiteral("Photos Album")}),
        BoardFixture::clip({.type = T::Text,
                            .textContent = QStringLiteral("int main() {}"),
                            .sourceAppName = QStringLiteral("TextEdit"),
                            .collectionIDs = {collectionA}}),
    };
}

struct FilterCase {
    const char *name;
    SidebarSelection selection;
    QString searchText;
    std::vector<int> expected;
};

class FilterTest : public BoardFixture, public testing::WithParamInterface<FilterCase>
{
};

TEST_P(FilterTest, ShowsTheMatchingClippingsInHistoryOrder)
{
    ClipboardManagerState &state = makeStateWith(sampleHistory());
    state.setSidebarSelection(GetParam().selection);
    state.setSearchText(GetParam().searchText);
    EXPECT_EQ(visiblePositions(), GetParam().expected);
}

using S = SidebarSelection;
const QUuid unusedCollection = QUuid::fromString(u"{6D1C8E52-1111-4A7B-9C3D-0000000000FF}");

INSTANTIATE_TEST_SUITE_P(
    Selections, FilterTest,
    testing::Values(FilterCase{"history", S::history(), {}, {0, 1, 2, 3, 4, 5, 6}},
                    FilterCase{"favorites", S::favorites(), {}, {0, 3}},
                    FilterCase{"collectionA", S::collection(collectionA), {}, {0, 6}},
                    FilterCase{"collectionB", S::collection(collectionB), {}, {0}},
                    FilterCase{"emptyCollection", S::collection(unusedCollection), {}, {}},
                    FilterCase{"appAnyCase", S::app(QStringLiteral("SAFARI")), {}, {0, 5}},
                    FilterCase{"appExact", S::app(QStringLiteral("Chrome")), {}, {1}},
                    FilterCase{"appUnknown", S::app(QStringLiteral("Nobody")), {}, {}},
                    FilterCase{"typeText", S::type(ClippingType::Text), {}, {0, 4, 6}},
                    FilterCase{"typeImage", S::type(ClippingType::Image), {}, {5}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Search, FilterTest,
    testing::Values(
        FilterCase{"onlyWhiteSpace", S::history(), QStringLiteral(" \n\t "), {0, 1, 2, 3, 4, 5, 6}},
        FilterCase{"text", S::history(), QStringLiteral("hello world"), {0}},
        FilterCase{"innerSpacesMustMatch", S::history(), QStringLiteral("hello  world"), {}},
        FilterCase{"upperCaseQuery", S::history(), QStringLiteral("HELLO"), {0}},
        FilterCase{"accentsAreNotFolded", S::history(), QStringLiteral("cafe"), {}},
        FilterCase{"accentedUpperCase", S::history(), QStringLiteral("CAFÉ"), {0}},
        FilterCase{"trimmedAppName", S::history(), QStringLiteral("  Safari \n"), {0, 5}},
        FilterCase{"urlTitle", S::history(), QStringLiteral("example domain"), {1}},
        FilterCase{"fileName", S::history(), QStringLiteral("budget 2024"), {3}},
        FilterCase{"windowTitle", S::history(), QStringLiteral("photos"), {5}},
        FilterCase{"passwordTextIsNotSearched", S::history(), QStringLiteral("hunter2"), {}},
        FilterCase{"passwordByWindowTitle", S::history(), QStringLiteral("vault"), {4}},
        FilterCase{"passwordByApp", S::history(), QStringLiteral("keepass"), {4}},
        FilterCase{"kindTokenText", S::history(), QStringLiteral("text"), {0, 4, 6}},
        FilterCase{"kindTokenUrl", S::history(), QStringLiteral("url"), {1}},
        FilterCase{"partOfKindToken", S::history(), QStringLiteral("col"), {2}},
        FilterCase{"colorHexIsNotSearched", S::history(), QStringLiteral("ffaa00"), {}},
        FilterCase{"colorByText", S::history(), QStringLiteral("sunset"), {2}},
        FilterCase{"noFieldSpanning", S::history(), QStringLiteral("orangeeditor"), {}},
        FilterCase{"withinSelection", S::favorites(), QStringLiteral("hello"), {0}},
        FilterCase{"kindOutsideSelection", S::favorites(), QStringLiteral("url"), {}},
        FilterCase{"withinApp", S::app(QStringLiteral("safari")), QStringLiteral("album"), {5}}),
    [](const auto &info) { return std::string(info.param.name); });

class CountTest : public BoardFixture
{
};

TEST_F(CountTest, CountWholeCategoriesWhateverTheSearch)
{
    ClipboardManagerState &state = makeStateWith(sampleHistory());
    state.setSearchText(QStringLiteral("nothing matches this"));
    EXPECT_EQ(state.totalHistoryCount(), 7);
    EXPECT_EQ(state.favoritesCount(), 2);
    EXPECT_EQ(state.countForCollection(collectionA), 2);
    EXPECT_EQ(state.countForCollection(unusedCollection), 0);
    EXPECT_EQ(state.countForApp(QStringLiteral("SAFARI")), 2);
    EXPECT_EQ(state.countForApp(QStringLiteral("textedit")), 1);
    EXPECT_EQ(state.countForType(ClippingType::Text), 3);
    EXPECT_EQ(state.countForType(ClippingType::Url), 1);
}

struct SidebarAppsCase {
    const char *name;
    std::vector<std::pair<const char *, const char *>> sources; // app name, bundle id
    std::vector<std::pair<const char *, const char *>> expectedAfterPinned;
    std::vector<std::pair<const char *, const char *>> expectedPinned;
};

class SidebarAppsTest : public BoardFixture, public testing::WithParamInterface<SidebarAppsCase>
{
};

QList<SidebarApp> asApps(const std::vector<std::pair<const char *, const char *>> &pairs)
{
    QList<SidebarApp> apps;
    for (const auto &[name, bundleID] : pairs)
        apps.append({QString::fromUtf8(name), QString::fromUtf8(bundleID)});
    return apps;
}

TEST_P(SidebarAppsTest, PinnedFirstThenByNewestClipping)
{
    QList<ClippingItem> history;
    for (const auto &[name, bundleID] : GetParam().sources)
        history.append(clip({.textContent = QStringLiteral("x"),
                             .sourceAppName = QString::fromUtf8(name),
                             .sourceAppBundleID = QString::fromUtf8(bundleID)}));
    ClipboardManagerState &state = makeStateWith(history);
    const QList<SidebarApp> apps = state.sidebarApps();
    ASSERT_GE(apps.size(), 6);
    EXPECT_EQ(apps.first(6), asApps(GetParam().expectedPinned));
    EXPECT_EQ(apps.sliced(6), asApps(GetParam().expectedAfterPinned));
}

const std::vector<std::pair<const char *, const char *>> pinnedWithoutClippings{
    {"Sketch", ""}, {"Chrome", ""}, {"Finder", ""}, {"Mail", ""}, {"Xcode", ""}, {"Slack", ""}};

INSTANTIATE_TEST_SUITE_P(
    Values, SidebarAppsTest,
    testing::Values(SidebarAppsCase{"onlyOthers",
                                    {{"Terminal", "t.1"}, {"Notes", "n.1"}, {"Terminal", "t.2"}},
                                    {{"Terminal", "t.1"}, {"Notes", "n.1"}},
                                    pinnedWithoutClippings},
                    SidebarAppsCase{"hiddenNamesAnyCase",
                                    {{"TextEdit", "te"}, {"1PASSWORD", "op"}, {"photoshop", "ps"}},
                                    {},
                                    pinnedWithoutClippings},
                    SidebarAppsCase{"pinnedTakeTheNewestBundleAndKeepTheirSpelling",
                                    {{"slack", "s.new"}, {"Chrome", "c.1"}, {"SLACK", "s.old"}},
                                    {},
                                    {{"Sketch", ""},
                                     {"Chrome", "c.1"},
                                     {"Finder", ""},
                                     {"Mail", ""},
                                     {"Xcode", ""},
                                     {"Slack", "s.new"}}},
                    SidebarAppsCase{"namesDifferingInCaseGiveOneEntrySpelledAsTheNewer",
                                    {{"notes", "n.new"}, {"Zed", "z"}, {"Notes", "n.old"}},
                                    {{"notes", "n.new"}, {"Zed", "z"}},
                                    pinnedWithoutClippings}),
    [](const auto &info) { return std::string(info.param.name); });

// The cached search must give exactly what the plain rules give, also while the history changes
// under it.
class CachedSearchTest : public BoardFixture
{
protected:
    static QString randomText(QRandomGenerator &random, int maximumLength)
    {
        // Picked one UTF-16 unit at a time, the pairs also give broken surrogate pairs; the
        // dotted I lower-cases longer, and the Kelvin sign and the Deseret letters lower-case
        // to other characters' lower case.
        static const QString alphabet =
            QStringLiteral("abAB é É\nxurltexcol😀\uFFFDİi\u0307K\u212Akß\u1E9E𐐀𐐨");
        static const QStringList whole{QStringLiteral("😀"), QStringLiteral("𐐀"),
                                       QStringLiteral("𐐨")};
        QString text;
        const int length = random.bounded(maximumLength + 1);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(40) == 0)
                text += QChar(u'\0');
            else if (random.bounded(10) == 0)
                text += whole[random.bounded(int(whole.size()))];
            else
                text += alphabet[random.bounded(int(alphabet.size()))];
        }
        return text;
    }
    static std::optional<QString> maybeText(QRandomGenerator &random)
    {
        return random.bounded(3) == 0 ? std::nullopt : std::optional(randomText(random, 6));
    }
    static ClippingItem randomClip(QRandomGenerator &random)
    {
        const std::array apps{QStringLiteral("Ab"), QStringLiteral("aB"), QStringLiteral("Éa"),
                              QStringLiteral("éA"), QStringLiteral("x")};
        const bool isPassword = random.bounded(4) == 0;
        return clip({.type = allClippingTypes[random.bounded(int(allClippingTypes.size()))],
                     .textContent = randomText(random, 40),
                     .isPassword = isPassword,
                     .isMasked = isPassword && random.bounded(2) == 0,
                     .fileName = maybeText(random),
                     .urlTitle = maybeText(random),
                     .sourceAppName = apps[random.bounded(int(apps.size()))],
                     .windowTitle = maybeText(random),
                     .isFavorite = random.bounded(3) == 0});
    }

    static bool contains(const QString &field, const QString &query)
    {
        return field.toLower().contains(query);
    }
    std::vector<QUuid> plainResult() const
    {
        const QString query = state().searchText().trimmed().toLower();
        const SidebarSelection selection = state().sidebarSelection();
        std::vector<QUuid> result;
        for (const ClippingItem &item : m_state->items()) {
            const bool inSelection =
                selection.kind() == SidebarSelection::Kind::History ||
                (selection.kind() == SidebarSelection::Kind::Favorites && item.isFavorite) ||
                (selection.kind() == SidebarSelection::Kind::App &&
                 item.sourceAppName.compare(selection.appName(), Qt::CaseInsensitive) == 0);
            const bool found =
                query.isEmpty() || (!item.isPassword && contains(item.textContent, query)) ||
                contains(item.sourceAppName, query) || contains(rawValue(item.type), query) ||
                contains(item.windowTitle.value_or(QString()), query) ||
                contains(item.fileName.value_or(QString()), query) ||
                contains(item.urlTitle.value_or(QString()), query);
            if (inSelection && found)
                result.push_back(item.id);
        }
        return result;
    }
    std::vector<QUuid> cachedResult() const
    {
        std::vector<QUuid> result;
        for (const ClippingItem &item : m_state->filteredItems())
            result.push_back(item.id);
        return result;
    }
    const ClipboardManagerState &state() const { return *m_state; }
};

TEST_F(CachedSearchTest, AgreesWithThePlainRulesOnRandomHistories)
{
    QRandomGenerator random(20240611);
    QList<ClippingItem> history;
    for (int i = 0; i < 40; ++i)
        history.append(randomClip(random));
    ClipboardManagerState &state = makeStateWith(history);
    const std::array selections{S::history(), S::favorites(), S::app(QStringLiteral("AB")),
                                S::app(QStringLiteral("ÉA"))};

    for (int round = 0; round < 60; ++round) {
        const QList<ClippingItem> items = state.items();
        const ClippingItem &some = items[random.bounded(int(items.size()))];
        switch (random.bounded(4)) {
        case 0:
            state.toggleFavorite(some);
            break;
        case 1:
            state.toggleTextMask(some);
            break;
        case 2:
            state.deleteItem(some);
            break;
        default:
            state.insertNewItem(randomClip(random));
        }
        state.setSidebarSelection(selections[random.bounded(int(selections.size()))]);
        for (int query = 0; query < 15; ++query) {
            state.setSearchText(random.bounded(5) == 0 ? QString() : randomText(random, 3));
            ASSERT_EQ(cachedResult(), plainResult())
                << "round " << round << ", query " << state.searchText().toStdString();
        }
    }
}

} // namespace
