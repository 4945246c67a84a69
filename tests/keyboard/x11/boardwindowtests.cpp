// The real board window on a private X server, driven with real keys and clicks.
#include "pastesessiontest.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace
{

QString xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The board's window while it is mapped; empty otherwise.
QString visibleBoard()
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), QStringLiteral("^Quillstash$")});
}

bool waitFor(const std::function<bool()> &condition, int timeout = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeout)
            return false;
        QThread::msleep(50);
    }
    return true;
}

class BoardWindowTest : public PasteSessionTest
{
protected:
    static void SetUpTestSuite()
    {
        PasteSessionTest::SetUpTestSuite();
        if (!isRunning())
            return;
        for (const char *text : {"alpha one", "beta two", "gamma three"}) {
            if (!PasteSession::copyElsewhere(QString::fromLatin1(text)) ||
                !session().waitForCapture(QString::fromLatin1(text)))
                s_error = QStringLiteral("the program did not capture %1").arg(text);
        }
    }
    void SetUp() override
    {
        PasteSessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(waitFor([] { return visibleBoard().isEmpty(); }));
    }
    void TearDown() override
    {
        PasteSessionTest::TearDown();
        if (!visibleBoard().isEmpty())
            xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    }

    static QString showBoard()
    {
        session().pressHotKey();
        QString board;
        waitFor([&] { return !(board = visibleBoard()).isEmpty(); });
        // The board takes the keyboard on showing.
        waitFor([&] { return xdotool({QStringLiteral("getactivewindow")}) == board; });
        return board;
    }

    static void type(const QString &keys)
    {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), keys});
    }
    static void key(const QString &name)
    {
        xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), name});
    }
};

TEST_F(BoardWindowTest, TheHotKeyShowsTheBoardAtTheTopRightWithTheKeyboard)
{
    const QString board = showBoard();
    ASSERT_FALSE(board.isEmpty());
    EXPECT_EQ(xdotool({QStringLiteral("getactivewindow")}), board);
    const QString geometry = xdotool({QStringLiteral("getwindowgeometry"), board});
    // "Position: X,Y (screen: 0)" and "Geometry: WxH" on a 1280 × 800 screen.
    EXPECT_TRUE(geometry.contains(QStringLiteral("Position: 320,0"))) << geometry.toStdString();
    EXPECT_TRUE(geometry.contains(QStringLiteral("Geometry: 960x600"))) << geometry.toStdString();
    key(QStringLiteral("Escape"));
    EXPECT_TRUE(waitFor([] { return visibleBoard().isEmpty(); }));
}

TEST_F(BoardWindowTest, AQuickHotKeyLeavesSecretsMasked)
{
    // xdotool lets go of Alt a moment after V, while the board is not yet in front: the release
    // never reaches it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_FALSE(showBoard().isEmpty());
        QThread::msleep(100);
        session().tellProgram(QStringLiteral("report option-key"));
        EXPECT_TRUE(session().waitForTrace(QStringLiteral("option-key released"), 2000))
            << "attempt " << attempt;
        key(QStringLiteral("Escape"));
        ASSERT_TRUE(waitFor([] { return visibleBoard().isEmpty(); }));
    }
}

TEST_F(BoardWindowTest, TypingSearchesAndReturnPastesTheFirstMatch)
{
    ASSERT_FALSE(showBoard().isEmpty());
    type(QStringLiteral("beta"));
    QThread::msleep(200);
    key(QStringLiteral("Return"));
    EXPECT_TRUE(session().waitForTargetText(QStringLiteral("beta two")));
    EXPECT_TRUE(waitFor([] { return visibleBoard().isEmpty(); }));
}

TEST_F(BoardWindowTest, TheHotKeyAgainCyclesTheSelection)
{
    ASSERT_FALSE(showBoard().isEmpty());
    // Esc clears a search left from before, or else hides the board.
    key(QStringLiteral("Escape"));
    QThread::msleep(200);
    if (visibleBoard().isEmpty()) {
        ASSERT_FALSE(showBoard().isEmpty());
    }
    // The search selects the newest text; clearing it keeps that selection.
    type(QStringLiteral("gamma"));
    key(QStringLiteral("Escape"));
    QThread::msleep(200);
    ASSERT_FALSE(visibleBoard().isEmpty());
    session().pressHotKey();
    QThread::msleep(300);
    key(QStringLiteral("Return"));
    EXPECT_TRUE(session().waitForTargetText(QStringLiteral("beta two")));
}

TEST_F(BoardWindowTest, ClickingAnotherWindowHidesTheBoard)
{
    const QString target = xdotool({QStringLiteral("getactivewindow")});
    // Below the board, where a click reaches it.
    xdotool({QStringLiteral("windowmove"), QStringLiteral("--sync"), target, QStringLiteral("0"),
             QStringLiteral("650")});
    ASSERT_FALSE(showBoard().isEmpty());
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), target, QStringLiteral("20"),
             QStringLiteral("20"), QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(waitFor([] { return visibleBoard().isEmpty(); }));
}

} // namespace
