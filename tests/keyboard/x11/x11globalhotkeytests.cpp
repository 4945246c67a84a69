// The X11 hot key adapter in this process, pressed through the X server as a user would.
#include "platform/x11/x11globalhotkey.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Xlib's macros (Bool, None) would break the headers above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace
{

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool pressChord()
{
    return xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+v")});
}

// A second client of the X server, as another program on the desktop.
class OtherClient
{
public:
    OtherClient() : m_display(XOpenDisplay(nullptr)) {}
    ~OtherClient()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    OtherClient(const OtherClient &) = delete;
    OtherClient &operator=(const OtherClient &) = delete;

    Display *display() const { return m_display; }

    // The X error code of grabbing Ctrl+Alt+V plus `extra` on the root, 0 when it was granted.
    int grabChord(unsigned extra)
    {
        s_error = 0;
        XErrorHandler previous = XSetErrorHandler(&OtherClient::recordError);
        XGrabKey(m_display, XKeysymToKeycode(m_display, XK_v), ControlMask | Mod1Mask | extra,
                 DefaultRootWindow(m_display), False, GrabModeAsync, GrabModeAsync);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return s_error;
    }

private:
    static int recordError(Display *, XErrorEvent *event)
    {
        s_error = event->error_code;
        return 0;
    }

    Display *m_display;
    static inline int s_error = 0;
};

class X11GlobalHotKeyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "xdotool is not installed (./scripts/bootstrap installs it)";
        ASSERT_TRUE(m_other.display());
    }

    GlobalHotKey::Registration registerCounting()
    {
        return m_hotKey->registerHotKey([this] { ++m_presses; });
    }
    bool waitForPresses(int count)
    {
        return QTest::qWaitFor([&] { return m_presses == count; }, 3000);
    }
    // Lets presses that should not come arrive.
    static void settle() { QTest::qWait(300); }

    OtherClient m_other;
    std::unique_ptr<X11GlobalHotKey> m_hotKey = std::make_unique<X11GlobalHotKey>();
    int m_presses = 0;
};

TEST_F(X11GlobalHotKeyTest, EveryPressArrivesWhenAWindowTakesTheFocusOnEachPress)
{
    QWindow board;
    board.resize(200, 120);
    ASSERT_EQ(m_hotKey->registerHotKey([&] {
        ++m_presses;
        board.show();
        board.requestActivate();
    }),
              GlobalHotKey::Registration::Registered);
    for (int press = 1; press <= 6; ++press) {
        ASSERT_TRUE(pressChord());
        ASSERT_TRUE(waitForPresses(press)) << "press " << press << " got " << m_presses;
        ASSERT_TRUE(QTest::qWaitFor([&] { return board.isActive(); }, 3000));
        if (press % 2 == 0)
            board.hide();
    }
    settle();
    EXPECT_EQ(m_presses, 6);
}

TEST_F(X11GlobalHotKeyTest, AChordTakenInOneVariantLeavesNoVariantGrabbed)
{
    const unsigned numLock = XkbKeysymToModifiers(m_other.display(), XK_Num_Lock);
    ASSERT_NE(numLock, 0u);
    ASSERT_EQ(m_other.grabChord(numLock), 0);
    EXPECT_EQ(registerCounting(), GlobalHotKey::Registration::Taken);
    EXPECT_EQ(m_other.grabChord(0), 0) << "the plain variant stayed grabbed";
    EXPECT_EQ(m_other.grabChord(LockMask), 0) << "the Caps Lock variant stayed grabbed";
}

TEST_F(X11GlobalHotKeyTest, TheGrabEndsWithTheHotKey)
{
    ASSERT_EQ(registerCounting(), GlobalHotKey::Registration::Registered);
    m_hotKey.reset();
    EXPECT_EQ(m_other.grabChord(0), 0);
}

// Restores the keyboard mapping of one key code when it goes out of scope.
class KeyMappingChange
{
public:
    KeyMappingChange(Display *display, KeyCode code, KeySym symbol)
        : m_display(display), m_code(code)
    {
        int perCode = 0;
        KeySym *old = XGetKeyboardMapping(display, code, 1, &perCode);
        m_old.assign(old, old + perCode);
        XFree(old);
        XChangeKeyboardMapping(display, code, 1, &symbol, 1);
        XSync(display, False);
    }
    ~KeyMappingChange()
    {
        XChangeKeyboardMapping(m_display, m_code, int(m_old.size()), m_old.data(), 1);
        XSync(m_display, False);
    }
    KeyMappingChange(const KeyMappingChange &) = delete;
    KeyMappingChange &operator=(const KeyMappingChange &) = delete;

private:
    Display *m_display;
    KeyCode m_code;
    std::vector<KeySym> m_old;
};

KeyCode unusedKeyCode(Display *display)
{
    int low = 0;
    int high = 0;
    XDisplayKeycodes(display, &low, &high);
    for (int code = high; code >= low; --code) {
        int perCode = 0;
        KeySym *symbols = XGetKeyboardMapping(display, KeyCode(code), 1, &perCode);
        bool empty = true;
        for (int i = 0; i < perCode; ++i)
            empty = empty && symbols[i] == NoSymbol;
        XFree(symbols);
        if (empty)
            return KeyCode(code);
    }
    return 0;
}

TEST_F(X11GlobalHotKeyTest, FollowsTheVKeyToItsNewKeyCode)
{
    ASSERT_EQ(registerCounting(), GlobalHotKey::Registration::Registered);
    Display *display = m_other.display();
    const KeyCode oldCode = XKeysymToKeycode(display, XK_v);
    const KeyCode newCode = unusedKeyCode(display);
    ASSERT_NE(newCode, 0);
    {
        const KeyMappingChange moved(display, newCode, XK_v);
        const KeyMappingChange freed(display, oldCode, XK_F35);
        settle();
        ASSERT_TRUE(pressChord());
        EXPECT_TRUE(waitForPresses(1)) << "the press on the new key code was missed";
    }
    settle();
    ASSERT_TRUE(pressChord());
    EXPECT_TRUE(waitForPresses(2)) << "the press after the mapping came back was missed";
}

// Moves Num Lock to another modifier bit, locked, until it goes out of scope.
class NumLockOnModifier
{
public:
    NumLockOnModifier(Display *display, int modifier) : m_display(display)
    {
        m_code = XKeysymToKeycode(display, XK_Num_Lock);
        m_old = XGetModifierMapping(display);
        XModifierKeymap *moved = XGetModifierMapping(display);
        for (int index = 0; index < 8; ++index)
            moved = XDeleteModifiermapEntry(moved, m_code, index);
        moved = XInsertModifiermapEntry(moved, m_code, modifier);
        m_changed = XSetModifierMapping(display, moved) == MappingSuccess;
        XFreeModifiermap(moved);
        XSync(display, False);
        m_changed = m_changed && xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
    }
    ~NumLockOnModifier()
    {
        xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
        XSetModifierMapping(m_display, m_old);
        XFreeModifiermap(m_old);
        XSync(m_display, False);
    }
    NumLockOnModifier(const NumLockOnModifier &) = delete;
    NumLockOnModifier &operator=(const NumLockOnModifier &) = delete;

    bool changed() const { return m_changed; }

private:
    Display *m_display;
    KeyCode m_code = 0;
    XModifierKeymap *m_old = nullptr;
    bool m_changed = false;
};

TEST_F(X11GlobalHotKeyTest, FollowsNumLockToItsNewModifier)
{
    ASSERT_EQ(registerCounting(), GlobalHotKey::Registration::Registered);
    Display *display = m_other.display();
    ASSERT_EQ(XkbKeysymToModifiers(display, XK_Num_Lock), unsigned(Mod2Mask));
    {
        const NumLockOnModifier moved(display, Mod3MapIndex);
        ASSERT_TRUE(moved.changed());
        settle();
        ASSERT_TRUE(pressChord());
        EXPECT_TRUE(waitForPresses(1)) << "the press with Num Lock on was missed";
    }
    settle();
    ASSERT_TRUE(pressChord());
    EXPECT_TRUE(waitForPresses(2));
}

struct GrabAnswersCase {
    const char *name;
    std::vector<uint8_t> errors;
    GlobalHotKey::Registration registration;
};

class GrabAnswersTest : public testing::TestWithParam<GrabAnswersCase>
{
};

TEST_P(GrabAnswersTest, OnlyAllGrantedIsRegisteredAndOnlyBadAccessIsTaken)
{
    EXPECT_EQ(X11GlobalHotKey::registrationFromGrabErrors(GetParam().errors),
              GetParam().registration);
}

constexpr uint8_t granted = 0;
constexpr uint8_t badAccessError = BadAccess;
constexpr uint8_t badValueError = BadValue;

INSTANTIATE_TEST_SUITE_P(Answers, GrabAnswersTest,
                         testing::Values(GrabAnswersCase{"allGranted",
                                                         {granted, granted, granted},
                                                         GlobalHotKey::Registration::Registered},
                                         GrabAnswersCase{"oneTaken",
                                                         {granted, badAccessError, granted},
                                                         GlobalHotKey::Registration::Taken},
                                         GrabAnswersCase{"otherError",
                                                         {granted, badValueError},
                                                         GlobalHotKey::Registration::Failed},
                                         GrabAnswersCase{"takenAndOtherError",
                                                         {badAccessError, badValueError},
                                                         GlobalHotKey::Registration::Failed}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
