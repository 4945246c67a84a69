#include "shell/boardplacement.h"

#include <gtest/gtest.h>

namespace
{

struct PlacementCase {
    const char *name;
    QRect available;
    QSize window;
    QPoint expected;
};

class BoardPlacementTest : public testing::TestWithParam<PlacementCase>
{
};

TEST_P(BoardPlacementTest, TopRightCornerMeetsTheAvailableArea)
{
    const PlacementCase &c = GetParam();
    EXPECT_EQ(BoardPlacement::flushTopRight(c.available, c.window), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, BoardPlacementTest,
    testing::Values(
        // 1440 × 900 with a 25-point panel on top: the area runs 1440 × 875 below it, and the
        // board's far corner touches its top right (bottom-left origin 480,275 elsewhere).
        PlacementCase{"panelOnTop", QRect(0, 25, 1440, 875), QSize(960, 600), QPoint(480, 25)},
        PlacementCase{"noPanel", QRect(0, 0, 1280, 800), QSize(960, 600), QPoint(320, 0)},
        // A second screen to the left of the first, with a panel at its top.
        PlacementCase{"secondScreenOnTheLeft", QRect(-1920, 32, 1920, 1048), QSize(960, 600),
                      QPoint(-960, 32)},
        // Wider than the screen: the left part goes off screen, the size stays.
        PlacementCase{"widerThanTheScreen", QRect(0, 0, 800, 600), QSize(960, 600),
                      QPoint(-160, 0)}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
