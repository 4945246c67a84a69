#include "board/pasteback.h"
#include "platform/fake/fakekeysynthesizer.h"
#include "platform/fake/fakewindowactivator.h"
#include "statefixture.h"

#include <QElapsedTimer>
#include <QTest>

namespace
{

const RunningApplication editor{.localizedName = QStringLiteral("Editor"), .windowId = 42};

class PasteBackTest : public StateFixture
{
protected:
    // An activator that does not move the focus is what a window that closed, or a notification
    // that takes the focus, amounts to.
    PasteBack &pasteBack(bool trusted = true, bool focusMoves = true)
    {
        makeState();
        m_keys.setTrusted(trusted);
        m_pasteBack = std::make_unique<PasteBack>(
            state(), focusMoves ? m_activator : m_focusKeepingActivator, m_keys, m_front);
        m_pasteBack->hideBoardWindow = [this] { m_log.append(QStringLiteral("hide")); };
        return *m_pasteBack;
    }
    // Long enough for a paste that was due.
    void settle() { QTest::qWait(300); }

    QStringList m_log;
    FakeFrontApplication m_front;
    FakeWindowActivator m_activator{&m_log, &m_front};
    FakeWindowActivator m_focusKeepingActivator{&m_log};
    FakeKeySynthesizer m_keys{true, &m_log};
    std::unique_ptr<PasteBack> m_pasteBack;
};

TEST_F(PasteBackTest, HidesThenActivatesOnceThenPastesAfterTheDelay)
{
    PasteBack &p = pasteBack();
    QElapsedTimer clock;
    clock.start();
    p.hideWindowAndPaste(editor, true);
    EXPECT_EQ(m_log, (QStringList{"hide", "activate 42"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_keys.pastes() > 0; }, 2000));
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_EQ(m_log.last(), u"paste");
    settle();
    EXPECT_EQ(m_keys.pastes(), 1);
}

TEST_F(PasteBackTest, AnAnchoredBoardStaysButThePasteStillHappens)
{
    PasteBack &p = pasteBack();
    state().setIsWindowAnchored(true);
    p.hideWindowAndPaste(editor, true);
    settle();
    EXPECT_EQ(m_log, (QStringList{"activate 42", "paste"}));
}

struct NoPasteCase {
    const char *name;
    bool trusted;
    bool paste;
    bool hasPrevious;
    QStringList log;
    bool focusMoves = true;
    // What the toast says instead of a paste.
    std::optional<QString> toast = std::nullopt;
};

class NoPasteTest : public PasteBackTest, public testing::WithParamInterface<NoPasteCase>
{
};

TEST_P(NoPasteTest, OnlyHidesAndReturns)
{
    PasteBack &p = pasteBack(GetParam().trusted, GetParam().focusMoves);
    p.hideWindowAndPaste(GetParam().hasPrevious ? std::optional(editor) : std::nullopt,
                         GetParam().paste);
    settle();
    EXPECT_EQ(m_log, GetParam().log);
    EXPECT_EQ(state().statusToastMessage(), GetParam().toast);
}

const QString pressCtrlV = PasteBack::pasteYourselfMessage();

INSTANTIATE_TEST_SUITE_P(
    Cases, NoPasteTest,
    testing::Values(
        NoPasteCase{"untrusted", false, true, true, {"hide", "activate 42"}, true, pressCtrlV},
        NoPasteCase{
            "untrustedWithoutPreviousApplication", false, true, false, {"hide"}, true, pressCtrlV},
        NoPasteCase{"autoPasteOff", true, false, true, {"hide", "activate 42"}},
        NoPasteCase{"noPreviousApplication", true, true, false, {"hide"}, true, pressCtrlV},
        NoPasteCase{
            "focusStayedElsewhere", true, true, true, {"hide", "activate 42"}, false, pressCtrlV}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PasteBackTest, HidingTellsTheStateSoTheFilterResetCanCount)
{
    PasteBack &p = pasteBack();
    state().setResetFiltersAfterSeconds(30);
    state().setSearchText(QStringLiteral("old search"));
    p.hideWindowAndPaste(editor, false);
    m_clock.advance(31);
    state().handleWindowShown();
    EXPECT_TRUE(state().searchText().isEmpty());
}

} // namespace
