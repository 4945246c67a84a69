#include "platform/fake/fakewindowactivator.h"
#include "platform/fake/fakewindowmanagerhints.h"
#include "shell/boardwindow.h"
#include "statefixture.h"
#include "views/board/mainboardview.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <gtest/gtest.h>

namespace
{

class BoardWindowTest : public StateFixture
{
protected:
    BoardWindow &makeWindow()
    {
        makeState();
        m_window = std::make_unique<BoardWindow>(state(), m_frontApplication, m_activator, m_hints);
        return *m_window;
    }

    QPoint topRight() const
    {
        return QGuiApplication::primaryScreen()->availableGeometry().topRight() + QPoint(1, 0);
    }

    FakeWindowActivator m_activator;
    FakeWindowManagerHints m_hints;
    std::unique_ptr<BoardWindow> m_window;
};

RunningApplication editor()
{
    return RunningApplication{.localizedName = QStringLiteral("Editor"),
                              .bundleIdentifier = QStringLiteral("org.example.editor"),
                              .processId = 4242,
                              .windowId = 77};
}

// With a compositor the window is larger by the shadow's margin; the board itself is not.
class BoardWindowFrameTest : public BoardWindowTest, public testing::WithParamInterface<bool>
{
protected:
    BoardWindow &makeWindow()
    {
        m_hints.setCompositing(GetParam());
        return BoardWindowTest::makeWindow();
    }
    static QPoint boardTopRight(const BoardWindow &window)
    {
        return window.mapToGlobal(window.boardRect().topRight()) + QPoint(1, 0);
    }
};

TEST_P(BoardWindowFrameTest, StartsAtItsSizeAndKeepsItsMinimum)
{
    BoardWindow &window = makeWindow();
    EXPECT_EQ(window.boardRect().size(), BoardWindow::initialSize);
    EXPECT_EQ(window.size() == BoardWindow::initialSize, !GetParam());
    window.resize(100, 100);
    EXPECT_EQ(window.boardRect().size(), QSize(580, 380));
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.view()->geometry(), window.boardRect()) << "the view fills the frame";
    window.resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(m_hints.inputRegion(), GetParam() ? window.boardRect() : QRect())
        << "presses on the shadow go to the window below";

    QImage picture(window.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    window.render(&picture, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    const QRect board = window.boardRect();
    const QPoint belowBoard(board.center().x(), board.bottom() + 6);
    EXPECT_EQ(picture.valid(belowBoard) && qAlpha(picture.pixel(belowBoard)) > 0, GetParam())
        << "a shadow falls below the board";
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << "the corners stay clear";
    EXPECT_EQ(qAlpha(picture.pixel(board.center())), 255);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_P(BoardWindowFrameTest, UnanchoredBoardsReturnToTheTopRightAnchoredOnesStay)
{
    BoardWindow &window = makeWindow();
    window.showMainWindow();
    EXPECT_EQ(boardTopRight(window), topRight());
    window.move(40, 50);
    window.hideMainWindow();
    window.showMainWindow();
    EXPECT_EQ(boardTopRight(window), topRight());

    state().setIsWindowAnchored(true);
    window.move(40, 50);
    window.hideMainWindow();
    window.showMainWindow();
    EXPECT_EQ(window.pos(), QPoint(40, 50));
}

INSTANTIATE_TEST_SUITE_P(Compositing, BoardWindowFrameTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? "composited" : "masked";
                         });

TEST_F(BoardWindowTest, FocusGoesBackToTheApplicationFromBefore)
{
    BoardWindow &window = makeWindow();
    m_frontApplication.setFront(editor());
    window.showMainWindow();
    // Showing again while the program itself is in front keeps the editor.
    m_frontApplication.setOwnApplicationInFront();
    window.showMainWindow();
    ASSERT_TRUE(window.previousActiveApp());
    EXPECT_EQ(*window.previousActiveApp(), editor());
    window.hideMainWindow();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_activator.activated().last(), 77u);
    const qsizetype activations = m_activator.activated().size();
    window.showMainWindow();
    window.hideMainWindow(false);
    // Only the board itself was activated, on showing.
    EXPECT_EQ(m_activator.activated().size(), activations + 1);
}

TEST_F(BoardWindowTest, LosingFocusHidesUnlessAnchoredOrAnotherOwnWindowIsUp)
{
    BoardWindow &window = makeWindow();
    bool auxiliary = false;
    window.isAuxiliaryWindowVisible = [&] { return auxiliary; };

    window.showMainWindow();
    state().setIsWindowAnchored(true);
    window.windowDidResignKey();
    EXPECT_TRUE(window.isVisible());

    state().setIsWindowAnchored(false);
    auxiliary = true;
    window.windowDidResignKey();
    EXPECT_TRUE(window.isVisible());

    auxiliary = false;
    window.windowDidResignKey();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.lastResignKeyHideTime().isValid());
}

TEST_F(BoardWindowTest, ShowingRecordsTheModifiersHeldNow)
{
    BoardWindow &window = makeWindow();
    state().setIsHoldingCommandKey(true);
    state().setIsHoldingOptionKey(true);
    window.showMainWindow();
    // Nothing is held in the test.
    EXPECT_FALSE(state().isHoldingCommandKey());
    EXPECT_FALSE(state().isHoldingOptionKey());
}

} // namespace
