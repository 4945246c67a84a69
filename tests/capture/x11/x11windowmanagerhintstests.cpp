#include "platform/x11/x11display.h"
#include "platform/x11/x11windowmanagerhints.h"

#include <QRasterWindow>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>
#include <xcb/shape.h>

namespace
{

// The rectangles of a window's input shape, as the X server holds them.
std::vector<QRect> inputShape(quint64 window)
{
    xcb_connection_t *connection = X11Display::connection();
    xcb_shape_get_rectangles_reply_t *reply = xcb_shape_get_rectangles_reply(
        connection, xcb_shape_get_rectangles(connection, xcb_window_t(window), XCB_SHAPE_SK_INPUT),
        nullptr);
    std::vector<QRect> rectangles;
    if (!reply)
        return rectangles;
    const xcb_rectangle_t *each = xcb_shape_get_rectangles_rectangles(reply);
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i)
        rectangles.emplace_back(each[i].x, each[i].y, each[i].width, each[i].height);
    std::free(reply);
    return rectangles;
}

TEST(X11WindowManagerHintsTest, PressesOutsideTheInputRegionGoBelow)
{
    QRasterWindow window;
    window.resize(640, 440);
    window.create();
    ASSERT_EQ(inputShape(window.winId()), std::vector<QRect>{QRect(0, 0, 640, 440)});

    X11WindowManagerHints hints;
    hints.setInputRegion(window.winId(), QRect(20, 14, 600, 400));
    EXPECT_EQ(inputShape(window.winId()), std::vector<QRect>{QRect(20, 14, 600, 400)});
    hints.setInputRegion(window.winId(), QRect(20, 14, 500, 300));
    EXPECT_EQ(inputShape(window.winId()), std::vector<QRect>{QRect(20, 14, 500, 300)})
        << "a later region replaces the earlier one";
}

} // namespace
