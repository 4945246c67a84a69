#include "board/cardgridgeometry.h"
#include "boardfixture.h"

#include <climits>

namespace
{

QList<ClippingItem> cards(int count)
{
    QList<ClippingItem> history;
    for (int i = 0; i < count; ++i)
        history.append(BoardFixture::clip({.textContent = QStringLiteral("card %1").arg(i)}));
    return history;
}

struct MoveCase {
    const char *name;
    int columns;
    int start;
    int dx;
    int dy;
    int expected;
};

class MoveTest : public BoardFixture, public testing::WithParamInterface<MoveCase>
{
};

TEST_P(MoveTest, SevenCards)
{
    ClipboardManagerState &state = makeStateWith(cards(7));
    state.setGridColumns(GetParam().columns);
    selectPosition(GetParam().start);
    state.moveSelection(GetParam().dx, GetParam().dy);
    EXPECT_EQ(selectedPosition(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MoveTest,
    testing::Values(MoveCase{"downIntoShortLastRow", 3, 5, 0, 1, 6},
                    MoveCase{"downFromColumnWithoutLastRowCard", 3, 4, 0, 1, 6},
                    MoveCase{"down", 3, 0, 0, 1, 3}, MoveCase{"rightOnLast", 3, 6, 1, 0, 6},
                    MoveCase{"rightIntoNextRow", 3, 2, 1, 0, 3},
                    MoveCase{"upFromFirstRow", 3, 2, 0, -1, 0}, MoveCase{"up", 3, 6, 0, -1, 3},
                    MoveCase{"leftIntoRowAbove", 3, 3, -1, 0, 2},
                    MoveCase{"leftOnFirst", 3, 0, -1, 0, 0},
                    MoveCase{"hugeStepsClamp", 3, 3, INT_MAX, INT_MAX, 6},
                    MoveCase{"hugeNegativeStepsClamp", 3, 3, INT_MIN, INT_MIN, 0},
                    MoveCase{"zeroColumnsMoveByOne", 0, 2, 0, 1, 3},
                    MoveCase{"negativeColumnsMoveByOne", -2, 2, 0, -1, 1}),
    [](const auto &info) { return std::string(info.param.name); });

class SelectionTest : public BoardFixture
{
};

TEST_F(SelectionTest, HiddenSelectionJumpsToTheFirstVisibleCard)
{
    ClipboardManagerState &state = makeStateWith(cards(7));
    selectPosition(6);
    state.setSearchText(QStringLiteral("card 1"));
    state.moveSelection(1, 0);
    EXPECT_EQ(selectedPosition(), 1);

    selectPosition(6);
    state.cycleNextSelection();
    EXPECT_EQ(selectedPosition(), 1);

    selectPosition(6);
    state.ensureValidSelection();
    EXPECT_EQ(selectedPosition(), 1);
}

TEST_F(SelectionTest, CyclingWrapsAndKeepsALoneCard)
{
    ClipboardManagerState &state = makeStateWith(cards(4));
    selectPosition(2);
    state.cycleNextSelection();
    EXPECT_EQ(selectedPosition(), 3);
    state.cycleNextSelection();
    EXPECT_EQ(selectedPosition(), 0);

    state.setSearchText(QStringLiteral("card 2"));
    state.cycleNextSelection();
    EXPECT_EQ(selectedPosition(), 2);
    state.cycleNextSelection();
    state.moveSelection(1, 1);
    EXPECT_EQ(selectedPosition(), 2);
}

TEST_F(SelectionTest, AnEmptyListClearsTheSelectionAndIgnoresMoves)
{
    ClipboardManagerState &state = makeStateWith(cards(3));
    selectPosition(1);
    state.setSearchText(QStringLiteral("no such card"));
    state.moveSelection(1, 0);
    state.cycleNextSelection();
    EXPECT_EQ(selectedPosition(), 1);
    state.ensureValidSelection();
    EXPECT_FALSE(state.selectedItemID());
}

struct ResetCase {
    const char *name;
    int resetSeconds;
    double hiddenFor;
    bool resets;
};

class ResetTest : public BoardFixture, public testing::WithParamInterface<ResetCase>
{
};

TEST_P(ResetTest, FiltersAfterHiding)
{
    ClipboardManagerState &state = makeStateWith(cards(3));
    state.setResetFiltersAfterSeconds(GetParam().resetSeconds);
    state.setSidebarSelection(SidebarSelection::type(ClippingType::Text));
    state.setSearchText(QStringLiteral("card"));
    selectPosition(2);
    state.handleWindowHidden();
    m_clock.advance(GetParam().hiddenFor);
    state.handleWindowShown();
    const bool reset =
        state.sidebarSelection() == SidebarSelection::history() && state.searchText().isEmpty();
    EXPECT_EQ(reset, GetParam().resets);
    EXPECT_EQ(selectedPosition(), 2) << "a selection that stays visible is kept";
}

INSTANTIATE_TEST_SUITE_P(Values, ResetTest,
                         testing::Values(ResetCase{"justBefore", 30, 29.9, false},
                                         ResetCase{"exactly", 30, 30, true},
                                         ResetCase{"longAfter", 30, 3600, true},
                                         ResetCase{"never", 0, 1e9, false},
                                         ResetCase{"negativeIsNever", -5, 1e9, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SelectionTest, NoResetBeforeTheFirstHide)
{
    ClipboardManagerState &state = makeStateWith(cards(3));
    state.setResetFiltersAfterSeconds(30);
    state.setSearchText(QStringLiteral("card 1"));
    m_clock.advance(3600);
    state.handleWindowShown();
    EXPECT_EQ(state.searchText(), QStringLiteral("card 1"));
    EXPECT_EQ(selectedPosition(), 1) << "showing validates the selection";
}

TEST_F(SelectionTest, TheLastHideCounts)
{
    ClipboardManagerState &state = makeStateWith(cards(3));
    state.setResetFiltersAfterSeconds(30);
    state.setSearchText(QStringLiteral("card"));
    state.handleWindowHidden();
    m_clock.advance(20);
    state.handleWindowShown();
    state.handleWindowHidden();
    m_clock.advance(20);
    state.handleWindowShown();
    EXPECT_EQ(state.searchText(), QStringLiteral("card"));
}

struct GeometryCase {
    const char *name;
    QSizeF area;
    int rows;
    int columns;
    CardGridGeometry expected;
};

class GeometryTest : public testing::TestWithParam<GeometryCase>
{
};

TEST_P(GeometryTest, CardSize)
{
    const CardGridGeometry geometry =
        CardGridGeometry::forArea(GetParam().area, GetParam().rows, GetParam().columns);
    EXPECT_EQ(geometry.rows, GetParam().expected.rows);
    EXPECT_EQ(geometry.columns, GetParam().expected.columns);
    EXPECT_DOUBLE_EQ(geometry.cardSize.width(), GetParam().expected.cardSize.width());
    EXPECT_DOUBLE_EQ(geometry.cardSize.height(), GetParam().expected.cardSize.height());
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeometryTest,
    testing::Values(GeometryCase{"threeByThree", {1000, 700}, 3, 3, {3, 3, {956.0 / 3, 220}}},
                    GeometryCase{"listLayout", {800, 600}, 6, 1, {6, 1, {776, 530.0 / 6}}},
                    GeometryCase{
                        "crampedKeepsAMinimum", {100, 80}, 3, 3, {3, 3, {100.0 / 3, 100.0 / 3}}},
                    GeometryCase{"degenerateCountsAsOne", {800, 600}, 0, -4, {1, 1, {776, 580}}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
