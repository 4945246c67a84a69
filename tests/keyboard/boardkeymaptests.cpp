#include "keyboard/boardkeymap.h"
#include "keyboardfixture.h"

#include <memory>

namespace
{

constexpr Qt::KeyboardModifiers none = Qt::NoModifier;
constexpr Qt::KeyboardModifiers cmd = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers opt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers shift = Qt::ShiftModifier;

// A key that types `character`.
KeyPress typed(Qt::KeyboardModifiers modifiers, const char *character, bool capsLock = false)
{
    const QString c = QString::fromUtf8(character);
    return {.key = c.front().toUpper().unicode(),
            .modifiers = {.modifiers = modifiers, .capsLock = capsLock},
            .character = c};
}

KeyPress key(int code, Qt::KeyboardModifiers modifiers = none)
{
    QString c;
    if (code == Qt::Key_Space)
        c = QStringLiteral(" ");
    return {.key = code, .modifiers = {.modifiers = modifiers}, .character = c};
}

// What the board looks like before the key.
struct Board {
    bool focused = false;
    // Name of the selected sample; empty for no selection.
    const char *selected = "alpha";
    bool quickLookOpen = false;
    const char *search = "";
    bool favoritesShown = false;
    bool creatingCollection = false;
};

struct KeyCase {
    const char *name;
    KeyPress press;
    Board board;
    bool consumed;
    QStringList effects;
};

void PrintTo(const KeyCase &c, std::ostream *os)
{
    *os << c.name;
}

const Board focused{.focused = true};
const Board noSelection{.selected = ""};
const Board focusedNoSelection{.focused = true, .selected = ""};
const Board onLink{.selected = "https://example.com/"};
const Board onFile{.selected = "Report.pdf"};

const QString copied = QStringLiteral("toast Copied to Clipboard");
const QString copiedPlain = QStringLiteral("toast Copied as Plain Text");

class BoardKeyMapTest : public KeyboardFixture, public testing::WithParamInterface<KeyCase>
{
protected:
    void prepare(const Board &board)
    {
        ClipboardManagerState &s = start();
        m_keyMap = std::make_unique<BoardKeyMap>(s);
        m_keyMap->onToggleWindow = [this] { m_log.append(QStringLiteral("toggle window")); };
        m_keyMap->onClearTextFieldFocus = [this] { m_log.append(QStringLiteral("unfocus")); };
        m_keyMap->onQuit = [this] { m_log.append(QStringLiteral("quit")); };
        const QString selected = QString::fromUtf8(board.selected);
        s.setSelectedItemID(selected.isEmpty() ? std::nullopt
                                               : std::optional(itemNamed(selected).id));
        if (board.quickLookOpen)
            s.setQuickLookItem(itemNamed(QStringLiteral("gamma")));
        s.setSearchText(QString::fromUtf8(board.search));
        if (board.favoritesShown)
            s.setSidebarSelection(SidebarSelection::favorites());
        s.setIsCreatingCollection(board.creatingCollection);
        effects();
    }

    std::unique_ptr<BoardKeyMap> m_keyMap;
};

TEST_P(BoardKeyMapTest, Rule)
{
    const KeyCase &c = GetParam();
    prepare(c.board);
    KeyPress press = c.press;
    press.textFieldFocused = c.board.focused;
    EXPECT_EQ(m_keyMap->handleLocalKeyDown(press), c.consumed);
    EXPECT_EQ(effects(), c.effects);
}

INSTANTIATE_TEST_SUITE_P(
    Escape, BoardKeyMapTest,
    testing::Values(
        KeyCase{"closesQuickLookFirst",
                key(Qt::Key_Escape),
                {.focused = true, .quickLookOpen = true, .search = "a"},
                true,
                {"quick look none"}},
        KeyCase{"thenClearsTheSearchAndLeavesTheField",
                key(Qt::Key_Escape),
                {.focused = true, .search = "a"},
                true,
                {"unfocus", "search \"\""}},
        KeyCase{"thenHidesTheBoard", key(Qt::Key_Escape), {}, true, {"toggle window"}},
        KeyCase{"withAnyModifier", key(Qt::Key_Escape, cmd | shift), {}, true, {"toggle window"}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CommandOption, BoardKeyMapTest,
    testing::Values(
        KeyCase{"sTogglesTheSidebar", typed(cmd | opt, "s"), {}, true, {"sidebar hidden"}},
        KeyCase{
            "sAlsoFromTheSearchField", typed(cmd | opt, "s"), focused, true, {"sidebar hidden"}},
        KeyCase{"tPutsTheBoardBack", typed(cmd | opt, "t"), {}, true, {"center"}},
        KeyCase{"equalsAddsAColumn", typed(cmd | opt, "="), {}, true, {"columns 4"}},
        KeyCase{"plusWithShiftAddsAColumn", typed(cmd | opt | shift, "+"), {}, true, {"columns 4"}},
        KeyCase{"minusRemovesAColumn", typed(cmd | opt, "-"), {}, true, {"columns 2"}},
        KeyCase{"vCyclesTheSelection", typed(cmd | opt, "v"), {}, true, {"selected beta"}},
        KeyCase{
            "vWithShiftStillCycles", typed(cmd | opt | shift, "v"), {}, true, {"selected beta"}},
        KeyCase{
            "withCapsLockStillApplies", typed(cmd | opt, "s", true), {}, true, {"sidebar hidden"}},
        KeyCase{"otherLettersAreNotCommands", typed(cmd | opt, "p"), {}, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    ShiftCommand, BoardKeyMapTest,
    testing::Values(
        KeyCase{"rRevealsAFile",
                typed(cmd | shift, "r"),
                onFile,
                true,
                {"reveal /tmp/Docs/Report.pdf"}},
        KeyCase{"rOnATextIsUsedUpAndDoesNothing", typed(cmd | shift, "r"), {}, true, {}},
        KeyCase{"vPastesPlainText",
                typed(cmd | shift, "v"),
                {},
                true,
                {"hide and paste alpha, no paste", copiedPlain}},
        KeyCase{"vWithoutSelectionFallsThrough", typed(cmd | shift, "v"), noSelection, false, {}},
        KeyCase{"vWithoutSelectionFallsThroughToTheField",
                typed(cmd | shift, "v"),
                focusedNoSelection,
                false,
                {}},
        KeyCase{"vWithTheSelectionHiddenBySearchFallsThrough",
                typed(cmd | shift, "v"),
                {.search = "beta"},
                false,
                {}},
        KeyCase{"equalsIsNotARowCommand", typed(cmd | shift, "+"), {}, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CommandAlone, BoardKeyMapTest,
    testing::Values(
        KeyCase{"oneSelectsAndPastesTheFirstCard",
                typed(cmd, "1"),
                {.selected = "gamma"},
                true,
                {"hide and paste alpha, no paste", "selected alpha", copied}},
        KeyCase{"threePastesTheThirdVisibleCard",
                typed(cmd, "3"),
                {},
                true,
                {"hide and paste gamma, no paste", "selected gamma", copied}},
        KeyCase{"digitsCountTheVisibleListOnly",
                typed(cmd, "1"),
                {.search = "gamma"},
                true,
                {"hide and paste gamma, no paste", "selected gamma", copied}},
        KeyCase{"digitPastTheListIsUsedUp", typed(cmd, "6"), {}, true, {}},
        KeyCase{"digitPastTheVisibleListIsUsedUp", typed(cmd, "2"), {.search = "gamma"}, true, {}},
        KeyCase{
            "zeroReturnsToHistory", typed(cmd, "0"), {.favoritesShown = true}, true, {"history"}},
        KeyCase{"pAnchors", typed(cmd, "p"), {}, true, {"anchored"}},
        KeyCase{"qQuits", typed(cmd, "q"), {}, true, {"quit"}},
        KeyCase{"qQuitsFromTheSearchField", typed(cmd, "q"), focused, true, {"quit"}},
        KeyCase{"periodPauses", typed(cmd, "."), {}, true, {"paused"}},
        KeyCase{"equalsAddsARow", typed(cmd, "="), {}, true, {"rows 4"}},
        KeyCase{"plusAddsARow", typed(cmd, "+"), {}, true, {"rows 4"}},
        KeyCase{"minusRemovesARow", typed(cmd, "-"), {}, true, {"rows 2"}},
        KeyCase{"oOpensALink", typed(cmd, "o"), onLink, true, {"open https://example.com/"}},
        KeyCase{"oOpensAFile", typed(cmd, "o"), onFile, true, {"open file:///tmp/Docs/Report.pdf"}},
        KeyCase{"oOnATextDoesNothing", typed(cmd, "o"), {}, true, {}},
        KeyCase{"commaOpensPreferences", typed(cmd, ","), {}, true, {"preferences"}},
        KeyCase{"commaFromTheSearchField", typed(cmd, ","), focused, true, {"preferences"}},
        KeyCase{"cCopies", typed(cmd, "c"), {}, true, {copied}},
        KeyCase{"vPastes", typed(cmd, "v"), {}, true, {"hide and paste alpha, no paste", copied}},
        KeyCase{"xCutsAndSelectsTheNext",
                typed(cmd, "x"),
                {},
                true,
                {"deleted alpha", "selected beta", copied}},
        KeyCase{"cInTheFieldIsTheFieldsCopy", typed(cmd, "c"), focused, false, {}},
        KeyCase{"vInTheFieldIsTheFieldsPaste", typed(cmd, "v"), focused, false, {}},
        KeyCase{"xInTheFieldIsTheFieldsCut", typed(cmd, "x"), focused, false, {}},
        KeyCase{"cWithoutSelectionFallsThrough", typed(cmd, "c"), noSelection, false, {}},
        KeyCase{"vWithoutSelectionFallsThrough", typed(cmd, "v"), noSelection, false, {}},
        KeyCase{"xWithoutSelectionDeletesNothing", typed(cmd, "x"), noSelection, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

// Command counts as alone only with no other flag at all.
INSTANTIATE_TEST_SUITE_P(
    NotAlone, BoardKeyMapTest,
    testing::Values(KeyCase{"capsLock", typed(cmd, "1", true), {}, false, {}},
                    KeyCase{"keypad", typed(cmd | Qt::KeypadModifier, "+"), {}, false, {}},
                    KeyCase{"shift", typed(cmd | shift, "p"), {}, false, {}},
                    KeyCase{"option", typed(cmd | opt, "p"), {}, false, {}},
                    KeyCase{"logoKey", typed(cmd | Qt::MetaModifier, "c"), {}, false, {}},
                    KeyCase{"capsLockInTheField", typed(cmd, "c", true), focused, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TextField, BoardKeyMapTest,
    testing::Values(KeyCase{"downLeavesTheField", key(Qt::Key_Down), focused, true, {"unfocus"}},
                    KeyCase{"downSelectsTheFirstCardIfNoneIs",
                            key(Qt::Key_Down),
                            focusedNoSelection,
                            true,
                            {"unfocus", "selected alpha"}},
                    KeyCase{"returnPastes",
                            key(Qt::Key_Return),
                            focused,
                            true,
                            {"hide and paste alpha, no paste", copied}},
                    KeyCase{"enterPastes",
                            key(Qt::Key_Enter),
                            focused,
                            true,
                            {"hide and paste alpha, no paste", copied}},
                    KeyCase{"returnConfirmsANewCollectionsName",
                            key(Qt::Key_Return),
                            {.focused = true, .creatingCollection = true},
                            false,
                            {}},
                    KeyCase{"returnWithoutSelectionIsTheFields",
                            key(Qt::Key_Return),
                            focusedNoSelection,
                            false,
                            {}},
                    KeyCase{"lettersAreTyped", typed(none, "a"), focused, false, {}},
                    KeyCase{"spaceIsTyped", key(Qt::Key_Space), focused, false, {}},
                    KeyCase{"leftMovesTheCursor", key(Qt::Key_Left), focused, false, {}},
                    KeyCase{"rightMovesTheCursor", key(Qt::Key_Right), focused, false, {}},
                    KeyCase{"upMovesTheCursor", key(Qt::Key_Up), focused, false, {}},
                    KeyCase{"deleteDeletesACharacter", key(Qt::Key_Backspace), focused, false, {}},
                    KeyCase{
                        "forwardDeleteDeletesACharacter", key(Qt::Key_Delete), focused, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Board, BoardKeyMapTest,
    testing::Values(
        KeyCase{"deleteRemovesTheSelected",
                key(Qt::Key_Backspace),
                {},
                true,
                {"deleted alpha", "selected beta"}},
        KeyCase{"forwardDeleteRemovesTheSelected",
                key(Qt::Key_Delete),
                {},
                true,
                {"deleted alpha", "selected beta"}},
        KeyCase{"deleteWithoutSelectionIsNotUsed", key(Qt::Key_Backspace), noSelection, false, {}},
        KeyCase{"rightMoves", key(Qt::Key_Right), {}, true, {"selected beta"}},
        KeyCase{"downMovesARow", key(Qt::Key_Down), {}, true, {"selected https://example.com/"}},
        KeyCase{"commandDownMovesLikeDown",
                key(Qt::Key_Down, cmd),
                {},
                true,
                {"selected https://example.com/"}},
        KeyCase{"leftOnTheFirstCardStays", key(Qt::Key_Left), {}, true, {}},
        KeyCase{"upFromTheLastRow", key(Qt::Key_Up), onFile, true, {"selected beta"}},
        KeyCase{"arrowWithTheSelectionHiddenSelectsTheFirstVisible",
                key(Qt::Key_Right),
                {.search = "beta"},
                true,
                {"selected beta"}},
        KeyCase{"returnPastes",
                key(Qt::Key_Return),
                {},
                true,
                {"hide and paste alpha, no paste", copied}},
        KeyCase{"shiftReturnPastesLikeReturn",
                key(Qt::Key_Return, shift),
                {},
                true,
                {"hide and paste alpha, no paste", copied}},
        KeyCase{"returnWithoutSelectionIsNotUsed", key(Qt::Key_Return), noSelection, false, {}},
        KeyCase{"returnInQuickLookPastesWhatIsPreviewedNotTheSelected",
                key(Qt::Key_Return),
                {.quickLookOpen = true},
                true,
                {"hide and paste gamma, no paste", "quick look none", copied}},
        KeyCase{"returnWithTheSelectionHiddenIsNotUsed",
                key(Qt::Key_Return),
                {.search = "beta"},
                false,
                {}},
        KeyCase{"spaceOpensQuickLook", key(Qt::Key_Space), {}, true, {"quick look alpha"}},
        KeyCase{"spaceClosesQuickLook",
                key(Qt::Key_Space),
                {.quickLookOpen = true},
                true,
                {"quick look none"}},
        KeyCase{"spaceWithoutSelectionIsUsedUp", key(Qt::Key_Space), noSelection, true, {}},
        KeyCase{"otherKeysAreNotUsed", typed(none, "a"), {}, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

class BoardKeySequenceTest : public BoardKeyMapTest
{
};

TEST_F(BoardKeySequenceTest, ThreeEscapesCloseQuickLookThenClearTheSearchThenHide)
{
    prepare({.focused = true, .quickLookOpen = true, .search = "a"});
    const KeyPress escape{.key = Qt::Key_Escape, .textFieldFocused = true};
    EXPECT_TRUE(m_keyMap->handleLocalKeyDown(escape));
    EXPECT_EQ(effects(), QStringList{"quick look none"});
    EXPECT_TRUE(m_keyMap->handleLocalKeyDown(escape));
    EXPECT_EQ(effects(), (QStringList{"unfocus", "search \"\""}));
    EXPECT_TRUE(m_keyMap->handleLocalKeyDown({.key = Qt::Key_Escape}));
    EXPECT_EQ(effects(), QStringList{"toggle window"});
}

TEST_F(BoardKeySequenceTest, WithoutCallbacksEscapeAndCommandsAreStillUsedUp)
{
    ClipboardManagerState &s = start();
    s.onRequestCenterWindow = nullptr;
    s.onRequestOpenPreferences = nullptr;
    BoardKeyMap bare(s);
    EXPECT_TRUE(bare.handleLocalKeyDown({.key = Qt::Key_Escape}));
    EXPECT_TRUE(bare.handleLocalKeyDown(typed(cmd | opt, "t")));
    EXPECT_TRUE(bare.handleLocalKeyDown(typed(cmd, ",")));
    s.setSearchText(QStringLiteral("a"));
    EXPECT_TRUE(bare.handleLocalKeyDown({.key = Qt::Key_Escape}));
    EXPECT_TRUE(s.searchText().isEmpty());
}

TEST_F(BoardKeySequenceTest, CommandFiveOnAScrolledGridPastesTheFifthInListOrder)
{
    prepare({.selected = "beta"});
    EXPECT_TRUE(m_keyMap->handleLocalKeyDown(typed(cmd, "5")));
    EXPECT_EQ(effects(),
              (QStringList{"hide and paste Report.pdf, no paste", "selected Report.pdf", copied}));
}

TEST_F(BoardKeySequenceTest, PasteCarriesTheAutoPasteSetting)
{
    prepare({});
    state().setAutoPasteIntoFrontmostApp(true);
    effects();
    EXPECT_TRUE(m_keyMap->handleLocalKeyDown(key(Qt::Key_Return)));
    EXPECT_EQ(effects(), (QStringList{"hide and paste alpha", copied}));
}

} // namespace
