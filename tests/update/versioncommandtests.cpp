#include "update/programversion.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace
{

TEST(VersionCommand, PrintsVersionAndBuildWithoutADisplay)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLSTASH_PROGRAM),
                  {QStringLiteral("--generate-app-icon"), QStringLiteral("/nonexistent/folder"),
                   QStringLiteral("--version")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()),
              QStringLiteral("Quillstash %1 (%2)\n")
                  .arg(ProgramVersion::text())
                  .arg(ProgramVersion::build()));
    EXPECT_TRUE(program.readAllStandardError().isEmpty());
}

} // namespace
