#include "boardfixture.h"

#include <set>

namespace
{

const QUuid work = QUuid::fromString(u"{0B7E6F10-2222-4C1D-8E9F-000000000001}");
const QUuid home = QUuid::fromString(u"{0B7E6F10-2222-4C1D-8E9F-000000000002}");

class CollectionsTest : public BoardFixture
{
protected:
    // 0 plain, 1 favourite from Slack, 2 in Work, 3 URL in Work and Home, 4 plain from slack.
    ClipboardManagerState &makeSampleState()
    {
        return makeStateWith(
            {clip({.textContent = QStringLiteral("plain")}),
             clip({.textContent = QStringLiteral("starred"),
                   .sourceAppName = QStringLiteral("Slack"),
                   .isFavorite = true}),
             clip({.textContent = QStringLiteral("work note"), .collectionIDs = {work}}),
             clip({.type = ClippingType::Url,
                   .textContent = QStringLiteral("https://example.org"),
                   .collectionIDs = {work, home}}),
             clip({.textContent = QStringLiteral("chat"),
                   .sourceAppName = QStringLiteral("slack")})},
            {{work, QStringLiteral("Work")}, {home, QStringLiteral("Home")}});
    }
    std::vector<int> remainingPositions() const
    {
        std::vector<int> positions;
        for (const ClippingItem &item : m_state->items()) {
            for (qsizetype position = 0; position < m_history.size(); ++position) {
                if (m_history[position].id == item.id)
                    positions.push_back(int(position));
            }
        }
        return positions;
    }
    void expectSaved() const
    {
        const std::optional<PersistedStore> stored = storedFile();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->items, m_state->items());
        EXPECT_EQ(stored->collections, m_state->collections());
    }
    void removeStoreFile() const { ASSERT_TRUE(QFile::remove(storePath())); }
};

TEST_F(CollectionsTest, CreateTrimsAllowsDuplicatesAndIgnoresBlankNames)
{
    ClipboardManagerState &state = makeSampleState();
    state.createCollection(QStringLiteral("  Recipes \n"));
    state.createCollection(QStringLiteral("Recipes"));
    removeStoreFile();
    state.createCollection(QStringLiteral(" \t\n"));
    EXPECT_FALSE(QFile::exists(storePath())) << "nothing created, nothing saved";

    const QList<ClippingCollection> collections = state.collections();
    ASSERT_EQ(collections.size(), 4);
    EXPECT_EQ(collections[2].name, QStringLiteral("Recipes"));
    EXPECT_EQ(collections[3].name, QStringLiteral("Recipes"));
    EXPECT_NE(collections[2].id, collections[3].id);
    state.createCollection(QStringLiteral("Saved"));
    expectSaved();
}

TEST_F(CollectionsTest, DeletingTheShownCollectionKeepsItsClippingsAndShowsHistory)
{
    ClipboardManagerState &state = makeSampleState();
    state.setSidebarSelection(SidebarSelection::collection(work));
    state.deleteCollection({work, QStringLiteral("Work")});
    EXPECT_EQ(state.sidebarSelection(), SidebarSelection::history());
    EXPECT_EQ(state.collections(), (QList<ClippingCollection>{{home, QStringLiteral("Home")}}));
    EXPECT_EQ(remainingPositions(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(state.countForCollection(work), 0);
    EXPECT_EQ(state.countForCollection(home), 1);
    expectSaved();
}

TEST_F(CollectionsTest, DeletingAnotherCollectionKeepsTheSidebarChoice)
{
    ClipboardManagerState &state = makeSampleState();
    state.setSidebarSelection(SidebarSelection::collection(home));
    state.deleteCollection({work, QStringLiteral("Work")});
    EXPECT_EQ(state.sidebarSelection(), SidebarSelection::collection(home));
}

TEST_F(CollectionsTest, MembershipIsAddedOnceAndRemoved)
{
    ClipboardManagerState &state = makeSampleState();
    const QUuid plain = m_history[0].id;
    state.addItemToCollection(plain, home);
    state.addItemToCollection(plain, home);
    EXPECT_EQ(state.items()[0].collectionIDs, QList<QUuid>{home});
    expectSaved();

    state.removeItemFromCollection(m_history[3].id, work);
    EXPECT_EQ(state.items()[3].collectionIDs, QList<QUuid>{home});
    expectSaved();
}

TEST_F(CollectionsTest, UnknownClippingsAreIgnoredWithoutSaving)
{
    ClipboardManagerState &state = makeSampleState();
    const QList<ClippingItem> before = state.items();
    removeStoreFile();
    const ClippingItem stranger = clip({.textContent = QStringLiteral("not in the history")});
    state.addItemToCollection(stranger.id, work);
    state.removeItemFromCollection(stranger.id, work);
    state.toggleFavorite(stranger);
    state.deleteItem(stranger);
    EXPECT_EQ(state.items(), before);
    EXPECT_FALSE(QFile::exists(storePath()));
}

TEST_F(CollectionsTest, ToggleFavoriteFlipsAndSaves)
{
    ClipboardManagerState &state = makeSampleState();
    state.toggleFavorite(m_history[0]);
    EXPECT_TRUE(state.items()[0].isFavorite);
    expectSaved();
    state.toggleFavorite(m_history[0]); // a stale copy still names the clipping
    EXPECT_FALSE(state.items()[0].isFavorite);
}

TEST_F(CollectionsTest, DeletingTheSelectedClippingSelectsTheFirstVisible)
{
    ClipboardManagerState &state = makeSampleState();
    state.setSidebarSelection(SidebarSelection::collection(work));
    selectPosition(2);
    state.deleteItem(m_history[2]);
    EXPECT_EQ(remainingPositions(), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(selectedPosition(), 3);
    EXPECT_FALSE(state.statusToastMessage());
    expectSaved();
}

struct ClearCase {
    const char *name;
    SidebarSelection selection;
    std::vector<int> remaining;
    const char *toast;
};

class ClearTest : public CollectionsTest, public testing::WithParamInterface<ClearCase>
{
};

TEST_P(ClearTest, RemovesWhatTheEntryShows)
{
    ClipboardManagerState &state = makeSampleState();
    selectPosition(1);
    state.clearContent(GetParam().selection);
    EXPECT_EQ(remainingPositions(), GetParam().remaining);
    EXPECT_EQ(state.statusToastMessage(), QString::fromUtf8(GetParam().toast));
    EXPECT_EQ(state.collections().size(), 2) << "collections themselves stay";
    if (GetParam().selection.kind() == SidebarSelection::Kind::Collection) {
        EXPECT_EQ(state.countForCollection(work), 0) << "its memberships are gone";
    }
    const std::set<int> remaining(GetParam().remaining.begin(), GetParam().remaining.end());
    const std::optional<int> selected = selectedPosition();
    EXPECT_EQ(selected.has_value(), !remaining.empty());
    EXPECT_TRUE(!selected || remaining.contains(*selected)) << "a surviving clipping is selected";
    expectSaved();
}

INSTANTIATE_TEST_SUITE_P(
    Values, ClearTest,
    testing::Values(
        ClearCase{"history", SidebarSelection::history(), {}, "All Clippings Cleared"},
        ClearCase{"favorites", SidebarSelection::favorites(), {0, 2, 3, 4}, "Favorites Cleared"},
        ClearCase{"collection",
                  SidebarSelection::collection(work),
                  {0, 1, 2, 3, 4},
                  "Collection Content Cleared"},
        ClearCase{"appTakesFavoritesAndAnyCase",
                  SidebarSelection::app(QStringLiteral("SLACK")),
                  {0, 2, 3},
                  "SLACK Clippings Cleared"},
        ClearCase{"type",
                  SidebarSelection::type(ClippingType::Url),
                  {0, 1, 2, 4},
                  "URL Clippings Cleared"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CollectionsTest, ClearHistoryKeepsFavoritesAndCollectionMembers)
{
    ClipboardManagerState &state = makeSampleState();
    selectPosition(0);
    state.clearHistory();
    EXPECT_EQ(remainingPositions(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(selectedPosition(), 1);
    EXPECT_EQ(state.statusToastMessage(), QStringLiteral("History Cleared"));
    expectSaved();

    state.setSelectedItemID(std::nullopt);
    state.clearHistory();
    EXPECT_EQ(remainingPositions(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(state.statusToastMessage(), QStringLiteral("History Cleared"));
}

} // namespace
