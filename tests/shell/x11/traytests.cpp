// The real program in a private X session with a tray host, driven by pointer and keys.
#include "model/clippingjson.h"
#include "pastesession.h"
#include "store/storefile.h"

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
        m_program.start(QStringLiteral(QUILLSTASH_PROGRAM), arguments());
        ASSERT_TRUE(m_program.waitForStarted(5000));
    }
    virtual QStringList arguments() const { return {QStringLiteral("--background")}; }
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
    // "tray X Y W H" once the tray host has embedded the icon.
    std::optional<QStringList> embeddedIcon()
    {
        const std::optional<QString> tray = waitForTrace(QStringLiteral("tray "), 10000);
        if (!tray || tray->split(u' ').size() != 5)
            return std::nullopt;
        return tray->split(u' ');
    }
    // The entry with this title in the menu that is up.
    std::optional<QStringList> menuEntry(const QString &title)
    {
        while (const std::optional<QString> entry = waitForTrace(QStringLiteral("menu-entry "))) {
            const QStringList fields = entry->split(u' ');
            if (fields.mid(5).join(u' ').startsWith(title))
                return fields;
        }
        return std::nullopt;
    }
    void chooseFromMenu(const QStringList &trayGeometry, const QString &title)
    {
        clickTray(trayGeometry, 3);
        const std::optional<QStringList> entry = menuEntry(title);
        ASSERT_TRUE(entry) << "no entry " << title.toStdString();
        clickTray(*entry, 1);
    }
    QString newestClipping() const
    {
        QFile file(m_home.filePath(QStringLiteral("data/Quillstash/") + StoreFile::fileName()));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const std::optional<PersistedStore> stored = ClippingJson::decodeStore(file.readAll());
        return stored && !stored->items.isEmpty() ? stored->items.first().textContent : QString();
    }
    bool waitForNewest(const QString &text, int milliseconds = 5000) const
    {
        return QTest::qWaitFor([&] { return newestClipping() == text; }, milliseconds);
    }

    QTemporaryDir m_home;
    QProcess m_tray;
    QProcess m_program;
    QByteArray m_output;
};

TEST_F(TrayTest, IconTogglesTheBoardAndOpensItsMenu)
{
    const std::optional<QStringList> icon = embeddedIcon();
    ASSERT_TRUE(icon) << "the icon was not embedded";
    const QStringList &geometry = *icon;

    clickTray(geometry, 1);
    EXPECT_TRUE(waitForTrace(QStringLiteral("board-shown")));
    QTest::qWait(400);
    clickTray(geometry, 1);
    EXPECT_TRUE(waitForTrace(QStringLiteral("board-hidden")));

    QTest::qWait(400);
    clickTray(geometry, 3);
    ASSERT_TRUE(waitForTrace(QStringLiteral("menu-shown")));
}

// A start that shows the board installs the tray and grabs the hot key only after its first frame.
class PlainStartTrayTest : public TrayTest
{
protected:
    QStringList arguments() const override { return {}; }
};

TEST_F(PlainStartTrayTest, TheBoardComesFirstThenTheIconAndTheHotKey)
{
    ASSERT_TRUE(waitForTrace(QStringLiteral("board-painted")));
    const std::optional<QStringList> icon = embeddedIcon();
    ASSERT_TRUE(icon) << "the icon was not embedded";
    clickTray(*icon, 1);
    EXPECT_TRUE(waitForTrace(QStringLiteral("board-hidden")));
    QTest::qWait(400);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+v")});
    EXPECT_TRUE(waitForTrace(QStringLiteral("board-shown")));
}

TEST_F(TrayTest, PauseInTheMenuStopsCaptureUntilResumed)
{
    const std::optional<QStringList> icon = embeddedIcon();
    ASSERT_TRUE(icon) << "the icon was not embedded";
    const QStringList &geometry = *icon;
    // Once shown and hidden, the board may still be named the active window.
    clickTray(geometry, 1);
    ASSERT_TRUE(waitForTrace(QStringLiteral("board-shown")));
    QTest::qWait(400);
    clickTray(geometry, 1);
    ASSERT_TRUE(waitForTrace(QStringLiteral("board-hidden")));
    ASSERT_TRUE(PasteSession::copyElsewhere(QStringLiteral("before the pause")));
    ASSERT_TRUE(waitForNewest(QStringLiteral("before the pause")));

    chooseFromMenu(geometry, QStringLiteral("Pause Quillstash"));
    QTest::qWait(300);
    ASSERT_TRUE(PasteSession::copyElsewhere(QStringLiteral("during the pause")));
    EXPECT_FALSE(waitForNewest(QStringLiteral("during the pause"), 1500));

    chooseFromMenu(geometry, QStringLiteral("Resume Quillstash"));
    // The first look after resuming takes what the clipboard holds by then.
    EXPECT_TRUE(waitForNewest(QStringLiteral("during the pause")));
    ASSERT_TRUE(PasteSession::copyElsewhere(QStringLiteral("after the pause")));
    EXPECT_TRUE(waitForNewest(QStringLiteral("after the pause")));
}

} // namespace
