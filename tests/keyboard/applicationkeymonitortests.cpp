#include "views/board/applicationkeymonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace
{

constexpr quint32 lockMask = 0x2;

QKeyEvent event(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString &text,
                quint32 nativeModifiers = 0)
{
    return QKeyEvent(type, key, modifiers, 0, 0, nativeModifiers, text);
}

struct CharacterCase {
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char *text;
    const char *character;
};

class KeyCharacterTest : public testing::TestWithParam<CharacterCase>
{
};

TEST_P(KeyCharacterTest, IgnoresModifiersButShift)
{
    const CharacterCase &c = GetParam();
    const QKeyEvent e = event(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
    EXPECT_EQ(ApplicationKeyMonitor::keyPressFromEvent(e, false).character,
              QString::fromUtf8(c.character));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyCharacterTest,
    testing::Values(CharacterCase{"controlLetterTypesAControlCode", Qt::Key_V, Qt::ControlModifier,
                                  "\x16", "v"},
                    CharacterCase{"shiftedLetterIsLowerCased", Qt::Key_R,
                                  Qt::ControlModifier | Qt::ShiftModifier, "\x12", "r"},
                    CharacterCase{"shiftAppliesToSymbols", Qt::Key_Plus,
                                  Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, "+",
                                  "+"},
                    CharacterCase{"digit", Qt::Key_3, Qt::ControlModifier, "3", "3"},
                    CharacterCase{"comma", Qt::Key_Comma, Qt::ControlModifier, ",", ","},
                    CharacterCase{"space", Qt::Key_Space, Qt::NoModifier, " ", " "},
                    CharacterCase{"otherLayoutLetter", 0x6c2, Qt::NoModifier, "В", "в"},
                    CharacterCase{"escapeTypesNothing", Qt::Key_Escape, Qt::NoModifier, "\x1b", ""},
                    CharacterCase{"arrowTypesNothing", Qt::Key_Left, Qt::NoModifier, "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(KeyPressFromEvent, CapsLockComesFromTheNativeState)
{
    const QKeyEvent on = event(QEvent::KeyPress, Qt::Key_1, Qt::ControlModifier, "1", lockMask);
    const QKeyEvent off = event(QEvent::KeyPress, Qt::Key_1, Qt::ControlModifier, "1", 0x10);
    EXPECT_TRUE(ApplicationKeyMonitor::keyPressFromEvent(on, false).modifiers.capsLock);
    EXPECT_FALSE(ApplicationKeyMonitor::keyPressFromEvent(off, false).modifiers.capsLock);
    EXPECT_TRUE(ApplicationKeyMonitor::keyPressFromEvent(off, true).textFieldFocused);
}

struct ModifierCase {
    const char *name;
    QEvent::Type type;
    int key;
    Qt::KeyboardModifiers before;
    Qt::KeyboardModifiers after;
};

class ModifiersAfterEventTest : public testing::TestWithParam<ModifierCase>
{
};

TEST_P(ModifiersAfterEventTest, IncludeTheKeysOwnChange)
{
    const ModifierCase &c = GetParam();
    const QKeyEvent e = event(c.type, c.key, c.before, QString());
    EXPECT_EQ(ApplicationKeyMonitor::modifiersAfterEvent(e).modifiers, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ModifiersAfterEventTest,
    testing::Values(ModifierCase{"pressControl", QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier,
                                 Qt::ControlModifier},
                    ModifierCase{"pressAltWithControlHeld", QEvent::KeyPress, Qt::Key_Alt,
                                 Qt::ControlModifier, Qt::ControlModifier | Qt::AltModifier},
                    ModifierCase{"releaseControl", QEvent::KeyRelease, Qt::Key_Control,
                                 Qt::ControlModifier, Qt::NoModifier},
                    ModifierCase{"releaseShiftKeepsControl", QEvent::KeyRelease, Qt::Key_Shift,
                                 Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier}),
    [](const auto &info) { return std::string(info.param.name); });

class ApplicationKeyMonitorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_board.winId();
        m_monitor.start(
            [this](const KeyPress &press) {
                m_pressed.append(press.key);
                return press.key == Qt::Key_Escape;
            },
            [this](const KeyModifiers &flags) { m_flags.append(flags); });
    }
    // True when the event never reached the receiver: a window ignores key events it gets.
    static bool send(QObject *receiver, QEvent::Type type, int key,
                     Qt::KeyboardModifiers modifiers = {})
    {
        QKeyEvent e = event(type, key, modifiers, QString());
        QCoreApplication::sendEvent(receiver, &e);
        return e.isAccepted();
    }
    QWindow *board() const { return m_board.windowHandle(); }

    QWidget m_board;
    ApplicationKeyMonitor m_monitor{m_board};
    QList<int> m_pressed;
    QList<KeyModifiers> m_flags;
};

TEST_F(ApplicationKeyMonitorTest, SwallowsWhatTheHandlerUsesAndPassesTheRestOn)
{
    EXPECT_TRUE(send(board(), QEvent::KeyPress, Qt::Key_Escape));
    EXPECT_FALSE(send(board(), QEvent::KeyPress, Qt::Key_A));
    EXPECT_EQ(m_pressed, (QList<int>{Qt::Key_Escape, Qt::Key_A}));
}

TEST_F(ApplicationKeyMonitorTest, SeesEachPressOnceAtItsWindowAndNoReleases)
{
    QObject widgetLike;
    send(&widgetLike, QEvent::KeyPress, Qt::Key_B);
    send(board(), QEvent::KeyRelease, Qt::Key_B);
    EXPECT_TRUE(m_pressed.isEmpty());
    EXPECT_TRUE(m_flags.isEmpty());
}

TEST_F(ApplicationKeyMonitorTest, ModifierKeysReportTheFlagsInsteadOfAPress)
{
    send(board(), QEvent::KeyPress, Qt::Key_Control);
    send(board(), QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(m_pressed.isEmpty());
    ASSERT_EQ(m_flags.size(), 2);
    EXPECT_TRUE(m_flags[0].commandAlone());
    EXPECT_EQ(m_flags[1].modifiers, Qt::NoModifier);
}

TEST_F(ApplicationKeyMonitorTest, KeysOfTheProgramsOtherWindowsPassUntouched)
{
    QWidget preferences;
    auto *field = new QLineEdit(QStringLiteral("ab"), &preferences);
    preferences.show();
    field->setFocus();
    ASSERT_TRUE(preferences.windowHandle());

    QTest::keyClick(preferences.windowHandle(), Qt::Key_Backspace);
    QTest::keyClick(preferences.windowHandle(), Qt::Key_Escape);
    QTest::keyClick(preferences.windowHandle(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(m_pressed.isEmpty()) << "the board's key commands saw another window's keys";
    EXPECT_TRUE(m_flags.isEmpty());
    EXPECT_EQ(field->text(), QStringLiteral("a"));

    QTest::keyClick(board(), Qt::Key_Backspace);
    EXPECT_EQ(m_pressed, QList<int>{Qt::Key_Backspace});
}

TEST_F(ApplicationKeyMonitorTest, TextFieldFocusIsTheBoardsOwn)
{
    auto *search = new QLineEdit(&m_board);
    QWidget preferences;
    auto *field = new QLineEdit(&preferences);
    field->setFocus();
    KeyPress seen;
    m_monitor.start(
        [&](const KeyPress &press) {
            seen = press;
            return false;
        },
        {});
    send(board(), QEvent::KeyPress, Qt::Key_Delete);
    EXPECT_FALSE(seen.textFieldFocused) << "a field of another window counted as the board's";

    search->setFocus();
    send(board(), QEvent::KeyPress, Qt::Key_Delete);
    EXPECT_TRUE(seen.textFieldFocused);
    m_monitor.clearTextFieldFocus();
    EXPECT_FALSE(search->hasFocus());
    EXPECT_EQ(preferences.focusWidget(), field) << "the other window lost its focus";
}

} // namespace
