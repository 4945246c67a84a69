#include "platform/linux/desktopentryfile.h"
#include "platform/linux/xdgautostartentry.h"
#include "scratchdirectory.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{

struct ExecCase {
    const char *name;
    QString program;
    QString exec;
};

class AutostartExecTest : public testing::TestWithParam<ExecCase>
{
};

TEST_P(AutostartExecTest, WritesOneLineThatStartsTheProgram)
{
    ScratchDirectory directory;
    XdgAutostartEntry entry(directory.filePath(QStringLiteral("autostart/q.desktop")),
                            XdgAutostartEntry::execArgument(GetParam().program) +
                                QStringLiteral(" --background"));
    ASSERT_TRUE(entry.setEnabled(true));
    const QHash<QString, QString> keys = DesktopEntryFile::readMainGroup(entry.filePath());
    EXPECT_EQ(keys.value(QStringLiteral("Exec")),
              GetParam().exec + QStringLiteral(" --background"));
    EXPECT_FALSE(keys.contains(QStringLiteral("X-Injected")));
    EXPECT_TRUE(entry.isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Programs, AutostartExecTest,
    testing::Values(ExecCase{"Plain", QStringLiteral("/usr/bin/quillstash"),
                             QStringLiteral("/usr/bin/quillstash")},
                    ExecCase{"SpaceAndQuote", QStringLiteral("/opt/my \"q\"/quillstash"),
                             QStringLiteral(R"("/opt/my \\"q\\"/quillstash")")},
                    ExecCase{"Percent", QStringLiteral("/opt/50%/quillstash"),
                             QStringLiteral("/opt/50%%/quillstash")},
                    ExecCase{"LineBreak", QStringLiteral("/tmp/a\nX-Injected=1/quillstash"),
                             QStringLiteral(R"("/tmp/a\nX-Injected=1/quillstash")")}),
    [](const auto &info) { return std::string(info.param.name); });

struct EnabledCase {
    const char *name;
    QByteArray extraLines;
    bool enabled;
};

class AutostartEnabledTest : public testing::TestWithParam<EnabledCase>
{
};

// The desktop's own start-up settings switch an entry off without removing it.
TEST_P(AutostartEnabledTest, HonoursTheDesktopsSwitches)
{
    ScratchDirectory directory;
    const QString path = directory.filePath(QStringLiteral("q.desktop"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nExec=quillstash --background\n" +
               GetParam().extraLines);
    file.close();
    EXPECT_EQ(XdgAutostartEntry(path, QString()).isEnabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, AutostartEnabledTest,
    testing::Values(EnabledCase{"Plain", "", true},
                    EnabledCase{"GnomeEnabled", "X-GNOME-Autostart-enabled=true\n", true},
                    EnabledCase{"GnomeDisabled", "X-GNOME-Autostart-enabled=false\n", false},
                    EnabledCase{"Hidden", "Hidden=true\n", false},
                    EnabledCase{"NotHidden", "Hidden=false\n", true},
                    EnabledCase{"HiddenInAnotherGroup", "[Desktop Action x]\nHidden=true\n", true}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
