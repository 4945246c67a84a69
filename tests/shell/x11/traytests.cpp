// The real program in a private X session with a tray host, driven by pointer and keys.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class TrayTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("tint2")).isEmpty())
            GTEST_SKIP() << "tint2 is not installed (./scripts/bootstrap installs it)";
        const QString config = m_home.filePath(QStringLiteral("tint2rc"));
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("panel_items = S\npanel_size = 100% 32\npanel_position = top center horizontal\n"
                   "systray_icon_size = 24\nsystray_padding = 4 4 4\n");
        file.close();
        m_tray.start(QStringLiteral("tint2"), {QStringLiteral("-c"), config});
        ASSERT_TRUE(m_tray.waitForStarted(5000));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
        m_program.setProcessEnvironment(environment);
        m_program.start(QStringLiteral(QUILLSTASH_PROGRAM), {QStringLiteral("--background")});
        ASSERT_TRUE(m_program.waitForStarted(5000));
    }
    void TearDown() override
    {
        for (QProcess *process : {&m_program, &m_tray}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(1000);
        }
    }
    // The next trace line with this event, read from the program's standard error.
    std::optional<QString> waitForTrace(const QString &event, int milliseconds = 5000)
    {
        std::optional<QString> found;
        [[maybe_unused]] const bool seen = QTest::qWaitFor(
            [&] {
                m_output += m_program.readAllStandardError();
                qsizetype end;
                while ((end = m_output.indexOf('\n')) >= 0) {
                    const QString line = QString::fromUtf8(m_output.left(end));
                    m_output.remove(0, end + 1);
                    const QString text = line.section(u' ', 2);
                    if (line.startsWith(u"quillstash-trace") && text.startsWith(event)) {
                        found = text;
                        return true;
                    }
                }
                return false;
            },
            milliseconds);
        return found;
    }
    static void xdotool(const QStringList &arguments)
    {
        QProcess::execute(QStringLiteral("xdotool"), arguments);
    }
    void clickTray(const QStringList &geometry, int button)
    {
        const int x = geometry[1].toInt() + geometry[3].toInt() / 2;
        const int y = geometry[2].toInt() + geometry[4].toInt() / 2;
        xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                 QStringLiteral("click"), QString::number(button)});
    }
    QTemporaryDir m_home;
    QProcess m_tray;
    QProcess m_program;
    QByteArray m_output;
};

TEST_F(TrayTest, IconTogglesTheBoardAndOpensItsMenu)
{
    const std::optional<QString> tray = waitForTrace(QStringLiteral("tray "), 10000);
    ASSERT_TRUE(tray) << "the icon was not embedded";
    const QStringList geometry = tray->split(u' ');
    ASSERT_EQ(geometry.size(), 5);

    clickTray(geometry, 1);
    EXPECT_TRUE(waitForTrace(QStringLiteral("board-shown")));
    QTest::qWait(400);
    clickTray(geometry, 1);
    EXPECT_TRUE(waitForTrace(QStringLiteral("board-hidden")));

    QTest::qWait(400);
    clickTray(geometry, 3);
    ASSERT_TRUE(waitForTrace(QStringLiteral("menu-shown")));
}

} // namespace
