#include "shell/commandline.h"

#include <gtest/gtest.h>

namespace
{

struct CommandLineCase {
    const char *name;
    QStringList arguments;
    CommandLine::Options expected;
};

class CommandLineTable : public testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLineTable, Parses)
{
    const CommandLine::Options options = CommandLine::parse(GetParam().arguments);
    EXPECT_EQ(options.help, GetParam().expected.help);
    EXPECT_EQ(options.version, GetParam().expected.version);
    EXPECT_EQ(options.background, GetParam().expected.background);
    EXPECT_EQ(options.iconFolder, GetParam().expected.iconFolder);
    EXPECT_EQ(options.screenshotFolder, GetParam().expected.screenshotFolder);
    EXPECT_EQ(options.request, GetParam().expected.request);
    EXPECT_EQ(options.script, GetParam().expected.script);
    EXPECT_EQ(options.error, GetParam().expected.error);
}

const QString shots = QStringLiteral("shots");
const QString icons = QStringLiteral("icons");

INSTANTIATE_TEST_SUITE_P(
    CommandLine, CommandLineTable,
    testing::Values(
        CommandLineCase{"Nothing", {}, {}},
        CommandLineCase{
            "Screenshots", {"--export-screenshots", "shots"}, {.screenshotFolder = shots}},
        CommandLineCase{"OptionAnywhere",
                        {"stray", "--export-screenshots", "shots", "tail"},
                        {.screenshotFolder = shots}},
        CommandLineCase{"TrailingOptionIgnored",
                        {"--background", "--export-screenshots"},
                        {.background = true}},
        CommandLineCase{"FirstOccurrenceWins",
                        {"--generate-app-icon", "icons", "--generate-app-icon", "other"},
                        {.iconFolder = icons}},
        CommandLineCase{"BothOptions",
                        {"--export-screenshots", "shots", "--generate-app-icon", "icons"},
                        {.iconFolder = icons, .screenshotFolder = shots}},
        CommandLineCase{"ValueIsNotAFlag",
                        {"--export-screenshots", "--help"},
                        {.screenshotFolder = QStringLiteral("--help")}},
        CommandLineCase{"HelpAndVersion", {"-h", "--version"}, {.help = true, .version = true}},
        CommandLineCase{"Background", {"--background"}, {.background = true}},
        CommandLineCase{"UnknownOption",
                        {"--background", "--bogus", "--help"},
                        {.background = true, .error = "unknown option '--bogus'"}},
        CommandLineCase{"ShowBoardStartsOneWhenNoneRuns",
                        {"--show-board"},
                        {.request = InstanceRequest{"show-board", {}}}},
        CommandLineCase{"ListsTenByDefault",
                        {"--list", "--json"},
                        {.request = InstanceRequest{"list", {"10", "json"}}, .script = true}},
        CommandLineCase{"ListCount",
                        {"--list", "2"},
                        {.request = InstanceRequest{"list", {"2"}}, .script = true}},
        CommandLineCase{"NegativeCountIsNoCount",
                        {"--list", "-2"},
                        {.request = InstanceRequest{"list", {"10"}},
                         .script = true,
                         .error = "unknown option '-2'"}},
        CommandLineCase{"CopyTakesAnyWordForTheProgramToJudge",
                        {"--copy", "x", "--pause"},
                        {.request = InstanceRequest{"copy", {"x"}}, .script = true}},
        CommandLineCase{
            "PasteNeedsIndex", {"--paste"}, {.error = "--paste needs the number of a clipping"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CommandLineHelp, ListsEveryOption)
{
    const QString help = CommandLine::helpText();
    for (const char *option :
         {"-h, --help", "-v, --version", "--background", "--show-board", "--list [<n>]", "--json",
          "--copy <n>", "--paste <n>", "--pause", "--resume", "--generate-app-icon <folder>",
          "--export-screenshots <folder>"})
        EXPECT_TRUE(help.contains(QString::fromLatin1(option))) << option << qPrintable(help);
}

} // namespace
