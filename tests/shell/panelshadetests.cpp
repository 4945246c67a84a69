#include "artwork/appiconprovider.h"
#include "shell/panelshade.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace
{

// A panel of one colour with the status icon drawn on it as the tray host would.
QImage iconOnPanel(const QColor &panel, const QColor &ink)
{
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(panel);
    QPainter painter(&image);
    AppIconProvider::menuBarStatusIcon(ink).paint(&painter, QRect(3, 3, 18, 18));
    return image;
}

struct PanelCase {
    const char *name;
    QColor panel;
    bool dark;
};

class PanelShadeTest : public testing::TestWithParam<PanelCase>
{
};

TEST_P(PanelShadeTest, TheIconStandsOutFromThePanelBehindIt)
{
    const PanelCase &panel = GetParam();
    // The icon already on the panel must not sway the judgement.
    const QImage before = iconOnPanel(panel.panel, PanelShade::ink(!panel.dark));
    ASSERT_EQ(PanelShade::isDark(before), panel.dark);

    const QImage after = iconOnPanel(panel.panel, PanelShade::ink(panel.dark));
    const double panelLightness = panel.panel.lightnessF();
    double strongest = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x)
            strongest =
                std::max(strongest, std::abs(after.pixelColor(x, y).lightnessF() - panelLightness));
    }
    EXPECT_GT(strongest, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Panels, PanelShadeTest,
                         testing::Values(PanelCase{"black", Qt::black, true},
                                         PanelCase{"charcoal", QColor(0x2b, 0x2e, 0x33), true},
                                         PanelCase{"navy", QColor(0x1d, 0x2b, 0x53), true},
                                         PanelCase{"white", Qt::white, false},
                                         PanelCase{"lightGrey", QColor(0xdc, 0xdc, 0xdc), false},
                                         PanelCase{"sand", QColor(0xe8, 0xdc, 0xb8), false}),
                         [](const testing::TestParamInfo<PanelCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(PanelShadeWithoutPicture, FollowsThePalette)
{
    EXPECT_FALSE(PanelShade::isDark(QImage()));
    EXPECT_TRUE(PanelShade::isDark(QPalette(Qt::white, QColor(0x30, 0x30, 0x30))));
    EXPECT_FALSE(PanelShade::isDark(QPalette(Qt::black, QColor(0xef, 0xef, 0xef))));
}

} // namespace
