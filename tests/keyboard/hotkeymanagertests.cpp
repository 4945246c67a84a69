#include "keyboard/hotkeymanager.h"
#include "keyboardfixture.h"
#include "platform/fake/fakeglobalhotkey.h"
#include "platform/fake/fakelocalkeymonitor.h"

#include <QTest>
#include <memory>

namespace
{

QStringList warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        warnings.append(message);
}

class HotKeyManagerTest : public KeyboardFixture
{
protected:
    HotKeyManager &
    manager(GlobalHotKey::Registration answer = GlobalHotKey::Registration::Registered)
    {
        start();
        m_hotKey = std::make_unique<FakeGlobalHotKey>(answer);
        m_manager = std::make_unique<HotKeyManager>(state(), *m_hotKey, m_monitor);
        return *m_manager;
    }
    // Presses the hot key and lets the deferred work run.
    void press()
    {
        m_hotKey->press();
        QCoreApplication::processEvents();
    }

    FakeLocalKeyMonitor m_monitor;
    std::unique_ptr<FakeGlobalHotKey> m_hotKey;
    std::unique_ptr<HotKeyManager> m_manager;
};

TEST_F(HotKeyManagerTest, SetupRegistersTheKeyOnceAndStartsTheMonitors)
{
    manager().setup();
    EXPECT_EQ(m_hotKey->registrations(), 1);
    EXPECT_TRUE(m_monitor.isStarted());
}

class HotKeyRegistrationTest : public HotKeyManagerTest,
                               public testing::WithParamInterface<GlobalHotKey::Registration>
{
};

TEST_P(HotKeyRegistrationTest, AFailedRegistrationIsReportedOnceAndTheBoardKeysStillWork)
{
    HotKeyManager &m = manager(GetParam());
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    m.setup();
    qInstallMessageHandler(previous);
    const bool failed = GetParam() != GlobalHotKey::Registration::Registered;
    EXPECT_EQ(warnings.size(), failed ? 1 : 0) << warnings.join(u'\n').toStdString();
    if (failed) {
        EXPECT_TRUE(warnings.first().contains(u"Ctrl+Alt+V"));
    }
    EXPECT_TRUE(m_monitor.keyDown({.key = Qt::Key_Right}));
    EXPECT_EQ(nameOf(state().selectedItemID()), u"beta");
}

INSTANTIATE_TEST_SUITE_P(Answers, HotKeyRegistrationTest,
                         testing::Values(GlobalHotKey::Registration::Registered,
                                         GlobalHotKey::Registration::Taken,
                                         GlobalHotKey::Registration::Failed,
                                         GlobalHotKey::Registration::Unavailable));

TEST_F(HotKeyManagerTest, ThePressIsHandledAfterTheCurrentEventNotInsideIt)
{
    HotKeyManager &m = manager();
    int shows = 0;
    m.onShowWindowIfHidden = [&] {
        ++shows;
        return true;
    };
    m.setup();
    m_hotKey->press();
    EXPECT_EQ(shows, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(shows, 1);
}

TEST_F(HotKeyManagerTest, PressesWhileTheBoardIsInFrontStepThroughTheCardsAndWrap)
{
    HotKeyManager &m = manager();
    m.onShowWindowIfHidden = [] { return true; };
    m.setup();
    state().setSelectedItemID(itemNamed(QStringLiteral("beta")).id);
    for (int i = 0; i < 3; ++i)
        press();
    EXPECT_EQ(nameOf(state().selectedItemID()), u"Report.pdf");
    press();
    EXPECT_EQ(nameOf(state().selectedItemID()), u"alpha");
}

TEST_F(HotKeyManagerTest, APressThatBringsTheBoardUpKeepsAVisibleSelection)
{
    HotKeyManager &m = manager();
    int shows = 0;
    m.onShowWindowIfHidden = [&] {
        ++shows;
        return false;
    };
    m.setup();
    state().setSelectedItemID(itemNamed(QStringLiteral("gamma")).id);
    press();
    press();
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(nameOf(state().selectedItemID()), u"gamma");
}

TEST_F(HotKeyManagerTest, APressThatBringsTheBoardUpSelectsTheFirstCardForAHiddenSelection)
{
    HotKeyManager &m = manager();
    m.setup(); // no show action at all
    state().setSelectedItemID(itemNamed(QStringLiteral("gamma")).id);
    state().setSearchText(QStringLiteral("beta"));
    press();
    EXPECT_EQ(nameOf(state().selectedItemID()), u"beta");
}

struct FlagsCase {
    const char *name;
    Qt::KeyboardModifiers modifiers;
    bool capsLock;
    bool command;
    bool option;
};

void PrintTo(const FlagsCase &c, std::ostream *os)
{
    *os << c.name;
}

class ModifierFlagsTest : public HotKeyManagerTest, public testing::WithParamInterface<FlagsCase>
{
};

TEST_P(ModifierFlagsTest, HeldKeysSetTheBadgeAndRevealFlags)
{
    manager().setup();
    state().setIsHoldingCommandKey(!GetParam().command);
    state().setIsHoldingOptionKey(!GetParam().option);
    m_monitor.modifiersChanged(
        {.modifiers = GetParam().modifiers, .capsLock = GetParam().capsLock});
    EXPECT_EQ(state().isHoldingCommandKey(), GetParam().command);
    EXPECT_EQ(state().isHoldingOptionKey(), GetParam().option);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ModifierFlagsTest,
    testing::Values(
        FlagsCase{"nothing", Qt::NoModifier, false, false, false},
        FlagsCase{"commandAlone", Qt::ControlModifier, false, true, false},
        FlagsCase{"commandShift", Qt::ControlModifier | Qt::ShiftModifier, false, false, false},
        FlagsCase{"commandCapsLock", Qt::ControlModifier, true, false, false},
        FlagsCase{"commandOption", Qt::ControlModifier | Qt::AltModifier, false, false, true},
        FlagsCase{"optionWithOthers", Qt::AltModifier | Qt::ShiftModifier, true, false, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(HotKeyManagerTest, EscapeReachesTheToggleActionAndFocusGoesThroughTheMonitor)
{
    HotKeyManager &m = manager();
    int toggles = 0;
    m.onToggleWindow = [&] { ++toggles; };
    m.setup();
    EXPECT_TRUE(m_monitor.keyDown({.key = Qt::Key_Escape}));
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(m_monitor.keyDown({.key = Qt::Key_Down, .textFieldFocused = true}));
    EXPECT_EQ(m_monitor.focusClears(), 1);
}

} // namespace
