// The hot key and the paste-back of the real program on a private X server.
#include "pastesessiontest.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace
{

void xdotool(const QStringList &arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

using HotKeyPasteTest = PasteSessionTest;

TEST_F(HotKeyPasteTest, TheHotKeyReachesTheProgramOncePerPress)
{
    for (int i = 0; i < 3; ++i)
        session().pressHotKey();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(session().waitForTrace(QStringLiteral("hot-key"))) << "press " << i + 1;
    EXPECT_FALSE(session().waitForTrace(QStringLiteral("hot-key"), 300));
}

TEST_F(HotKeyPasteTest, HoldingTheKeysDoesNotRepeatThePress)
{
    xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl+alt+v")});
    QThread::msleep(900); // past the server's auto-repeat delay
    xdotool({QStringLiteral("keyup"), QStringLiteral("v"), QStringLiteral("ctrl+alt")});
    EXPECT_TRUE(session().waitForTrace(QStringLiteral("hot-key")));
    EXPECT_FALSE(session().waitForTrace(QStringLiteral("hot-key"), 300));
}

TEST_F(HotKeyPasteTest, ReturnOnTheBoardPastesTheCopiedTextIntoThePreviousWindow)
{
    ASSERT_TRUE(PasteSession::copyElsewhere(QStringLiteral("copied elsewhere")));
    ASSERT_TRUE(session().waitForCapture(QStringLiteral("copied elsewhere")));
    session().pressHotKey();
    ASSERT_TRUE(session().waitForTrace(QStringLiteral("hot-key")));

    session().typeIntoBoard(QStringLiteral("Return"));
    EXPECT_TRUE(session().waitForTrace(QStringLiteral("paste-back paste")));
    EXPECT_TRUE(session().waitForTargetText(QStringLiteral("copied elsewhere")));
}

// Typed on the X server, not through the test hooks: the keys must reach the board's commands
// although the window manager has just focused the window.
TEST_F(HotKeyPasteTest, TheBoardTakesArrowsSpaceAndReturnRightAfterTheHotKeyShowsIt)
{
    for (const QString &text :
         {QStringLiteral("older clipping"), QStringLiteral("newer clipping")}) {
        ASSERT_TRUE(PasteSession::copyElsewhere(text));
        ASSERT_TRUE(session().waitForCapture(text));
    }
    session().pressHotKey();
    ASSERT_TRUE(session().waitForTrace(QStringLiteral("board-activated")));

    xdotool({QStringLiteral("key"), QStringLiteral("Right")});
    xdotool({QStringLiteral("key"), QStringLiteral("space")});
    ASSERT_TRUE(session().waitForTrace(QStringLiteral("quick-look older clipping")));
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    EXPECT_TRUE(session().waitForTargetText(QStringLiteral("older clipping")));
}

TEST_F(HotKeyPasteTest, ThePasteWorksWhileTheHotKeyModifiersAreStillHeld)
{
    ASSERT_TRUE(PasteSession::copyElsewhere(QStringLiteral("held keys")));
    ASSERT_TRUE(session().waitForCapture(QStringLiteral("held keys")));
    xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl+alt")});
    xdotool({QStringLiteral("key"), QStringLiteral("v")});
    ASSERT_TRUE(session().waitForTrace(QStringLiteral("hot-key")));

    session().typeIntoBoard(QStringLiteral("Return"));
    const bool pasted = session().waitForTargetText(QStringLiteral("held keys")).has_value();
    xdotool({QStringLiteral("keyup"), QStringLiteral("ctrl+alt")});
    EXPECT_TRUE(pasted);
}

} // namespace
