// The real program on a Wayland desktop's session bus: which way it takes the hot key, the
// calls it makes to the desktop's shortcut service, and a press from the service.
#include "scratchdirectory.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

struct RouteCase {
    const char *name;
    // The service the stand-in plays; none for a bus without one.
    const char *standIn;
    QStringList environment;
    // What the stand-in must have been asked, in order.
    QStringList calls;
    QByteArray startLine;
};

class HotKeyRouteTest : public testing::TestWithParam<RouteCase>
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address")});
        ASSERT_TRUE(m_bus.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_bus.canReadLine(); }, 5000));
        m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                             QString::fromUtf8(m_bus.readLine().trimmed()));
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "XDG_CURRENT_DESKTOP"})
            m_environment.remove(QString::fromLatin1(name));
        m_environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        m_environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
        for (const QString &setting : GetParam().environment)
            m_environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        for (const auto &[name, folder] : {std::pair{"XDG_DATA_HOME", "data"},
                                           {"XDG_CONFIG_HOME", "config"},
                                           {"XDG_RUNTIME_DIR", "run"}})
            m_environment.insert(QString::fromLatin1(name),
                                 m_home.filePath(QString::fromLatin1(folder)));
    }
    void TearDown() override
    {
        for (QProcess *process : {&m_program, &m_standIn, &m_bus}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(1000);
        }
    }
    // Collects a process's output until it holds the text.
    static bool waitFor(QProcess &process, QByteArray &seen, const QByteArray &text,
                        int milliseconds = 5000)
    {
        return QTest::qWaitFor(
            [&] {
                seen += process.readAll();
                return seen.contains(text);
            },
            milliseconds);
    }

    ScratchDirectory m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QProcess m_bus;
    QProcess m_standIn;
    QProcess m_program;
};

TEST_P(HotKeyRouteTest, TakesTheKeyTheDesktopsWayAndShowsTheBoardOnAPress)
{
    const RouteCase &route = GetParam();
    QByteArray calls;
    if (*route.standIn) {
        m_standIn.setProcessEnvironment(m_environment);
        m_standIn.start(QStringLiteral(HOTKEY_STAND_IN), {QString::fromLatin1(route.standIn)});
        ASSERT_TRUE(waitFor(m_standIn, calls, "ready\n"))
            << m_standIn.readAllStandardError().data();
    }
    m_program.setProcessEnvironment(m_environment);
    m_program.setReadChannel(QProcess::StandardError);
    m_program.start(QStringLiteral(QUILLSTASH_PROGRAM), {QStringLiteral("--background")});
    QByteArray complaints;
    ASSERT_TRUE(waitFor(m_program, complaints, route.startLine)) << complaints.data();
    EXPECT_EQ(complaints.count(route.startLine), 1) << complaints.data();
    if (!*route.standIn)
        return;

    const QByteArray last = route.calls.last().toUtf8();
    ASSERT_TRUE(waitFor(m_standIn, calls, last)) << calls.data();
    QStringList made = QString::fromUtf8(calls).split(u'\n', Qt::SkipEmptyParts);
    made.removeAll(QStringLiteral("ready"));
    EXPECT_EQ(made, route.calls);

    m_standIn.write("press\n");
    EXPECT_TRUE(waitFor(m_program, complaints, "board-shown")) << complaints.data();
}

// Ctrl+Alt+V as Qt combines it.
const QString chord = QString::number((Qt::CTRL | Qt::ALT | Qt::Key_V).toCombined());

INSTANTIATE_TEST_SUITE_P(
    Desktops, HotKeyRouteTest,
    testing::Values(
        RouteCase{"KDE",
                  "kglobalaccel",
                  {"XDG_CURRENT_DESKTOP=KDE"},
                  {"doRegister quillstash,show-board,Quillstash,Show the clipboard board",
                   "setShortcut show-board " + chord + " 1",
                   "setShortcut show-board " + chord + " 2", "getComponent quillstash"},
                  "works through KDE's global shortcuts"},
        RouteCase{"Portal",
                  "portal",
                  {"XDG_CURRENT_DESKTOP=GNOME"},
                  {"CreateSession quillstash_session quillstash",
                   "BindShortcuts session show-board CTRL+ALT+v"},
                  "works through the desktop portal's global shortcuts"},
        RouteCase{"GnomeWithoutPortal",
                  "",
                  {"XDG_CURRENT_DESKTOP=ubuntu:GNOME"},
                  {},
                  "Preferences, Shortcuts adds it to GNOME's keyboard shortcuts"},
        RouteCase{"Sway",
                  "",
                  {"SWAYSOCK=/nonexistent/sway.sock"},
                  {},
                  "add 'bindsym Ctrl+Alt+v exec quillstash --show-board'"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
