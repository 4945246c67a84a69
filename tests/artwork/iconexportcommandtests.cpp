#include "artwork/iconsetexport.h"
#include "scratchdirectory.h"
#include "shell/commandline.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

struct OptionCase {
    const char *name;
    QStringList arguments;
    std::optional<QString> value;
};

class CommandLineOptionTest : public testing::TestWithParam<OptionCase>
{
};

TEST_P(CommandLineOptionTest, FindsTheValueOfTheFirstOccurrence)
{
    EXPECT_EQ(CommandLine::parse(GetParam().arguments).iconFolder, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineOptionTest,
    testing::Values(
        OptionCase{"absent", {"--export-screenshots", "/tmp/shots"}, std::nullopt},
        OptionCase{"alone", {"--generate-app-icon", "/tmp/icons"}, "/tmp/icons"},
        OptionCase{"anywhere", {"stray", "--generate-app-icon", "out", "tail"}, "out"},
        OptionCase{"firstWins",
                   {"--generate-app-icon", "first", "--generate-app-icon", "second"},
                   "first"},
        OptionCase{"lastArgumentIsIgnored", {"--background", "--generate-app-icon"}, std::nullopt},
        OptionCase{"valueIsWhateverFollows",
                   {"--generate-app-icon", "--export-screenshots", "shots"},
                   "--export-screenshots"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CommandLineTest, SkipsTheProgramName)
{
    const char *argv[] = {"quillstash", "--generate-app-icon", "icons"};
    EXPECT_EQ(CommandLine::arguments(3, argv), (QStringList{"--generate-app-icon", "icons"}));
}

TEST(IconExportCommandTest, WritesTheIconSetHeadlessAndQuitsSilently)
{
    ScratchDirectory scratch;
    const QString folder = scratch.filePath(QStringLiteral("out/nested/icons"));
    const QString second = scratch.filePath(QStringLiteral("second"));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString data = scratch.filePath(QStringLiteral("data"));
    const QString config = scratch.filePath(QStringLiteral("config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLSTASH_PROGRAM),
                  {"--generate-app-icon", folder, "--generate-app-icon", second});
    ASSERT_TRUE(program.waitForFinished(30000));

    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardOutput(), QByteArray());
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
    for (const IconsetExport::Entry &entry : IconsetExport::entries()) {
        const QImage image(QDir(folder).filePath(entry.fileName), "png");
        EXPECT_EQ(image.size(), QSize(entry.pixels, entry.pixels)) << entry.fileName.toStdString();
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 10);
    EXPECT_FALSE(QFileInfo::exists(second)) << "only the first occurrence counts";
    EXPECT_FALSE(QFileInfo::exists(data)) << "no state object, so no store";
    EXPECT_FALSE(QFileInfo::exists(config)) << "and no settings";
}

TEST(IconExportCommandTest, AFolderThatCannotBeWrittenFailsWithOneLine)
{
    ScratchDirectory scratch;
    // A file where the folder should be: nothing can be written below it.
    const QString blocker = scratch.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLSTASH_PROGRAM),
                  {"--generate-app-icon", blocker + QStringLiteral("/icons")});
    ASSERT_TRUE(program.waitForFinished(30000));

    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardOutput(), QByteArray());
    const QByteArray error = program.readAllStandardError();
    EXPECT_EQ(error.count('\n'), 1) << error.constData();
    EXPECT_TRUE(error.contains("icon_16x16.png")) << error.constData();
}

} // namespace
