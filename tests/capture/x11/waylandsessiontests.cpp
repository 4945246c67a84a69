// The real program started as a Wayland session's desktop starts it.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

TEST(WaylandSessionTest, RunsOnXWaylandAndSaysOnceWhatThatMeans)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"),
                       QStringLiteral("wayland-quillstash-test"));
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLSTASH_PROGRAM));
    ASSERT_TRUE(program.waitForStarted(5000));
    const QString store = home.filePath(QStringLiteral("data/Quillstash/clippings_store_v1.json"));
    const bool running = QTest::qWaitFor([&] { return QFile::exists(store); }, 10000);
    QTest::qWait(300);
    program.terminate();
    program.waitForFinished(3000);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(running) << "the program did not come up:\n" << errors.toStdString();
    EXPECT_EQ(errors.count(QStringLiteral("no Wayland compositor answers")), 1)
        << errors.toStdString();
}

} // namespace
