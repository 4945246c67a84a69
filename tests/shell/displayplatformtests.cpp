#include "shell/displayplatform.h"

#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace
{

struct PlatformCase {
    const char *name;
    QList<QPair<QString, QString>> environment;
    QByteArray qtPlatform;
    bool waylandSession;
};

void PrintTo(const PlatformCase &c, std::ostream *os)
{
    *os << c.name;
}

class DisplayPlatformTest : public testing::TestWithParam<PlatformCase>
{
};

TEST_P(DisplayPlatformTest, PrefersX11AndRecognisesWayland)
{
    QProcessEnvironment environment;
    for (const auto &[name, value] : GetParam().environment)
        environment.insert(name, value);
    const DisplayPlatform choice = DisplayPlatform::choose(environment);
    EXPECT_EQ(choice.qtPlatform, GetParam().qtPlatform);
    EXPECT_EQ(choice.isWaylandSession, GetParam().waylandSession);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DisplayPlatformTest,
    testing::Values(
        PlatformCase{"x11Session", {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}, "xcb", false},
        PlatformCase{"waylandWithXWayland",
                     {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}},
                     "xcb",
                     true},
        PlatformCase{"waylandBySessionTypeOnly",
                     {{"DISPLAY", ":1"}, {"XDG_SESSION_TYPE", "wayland"}},
                     "xcb",
                     true},
        PlatformCase{
            "waylandWithoutXWayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, "wayland;xcb", true},
        PlatformCase{
            "theUsersOwnChoiceStands",
            {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"QT_QPA_PLATFORM", "wayland"}},
            "",
            true},
        PlatformCase{"emptyValuesCountAsUnset",
                     {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
                     "xcb",
                     false},
        PlatformCase{"noDisplayAtAll", {}, "", false}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
