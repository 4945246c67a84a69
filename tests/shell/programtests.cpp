// The real program as a user starts it, on the offscreen platform.
#include "scratchdirectory.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

class ProgramTest : public testing::Test
{
protected:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
        for (const auto &[name, folder] : {std::pair{"XDG_DATA_HOME", "data"},
                                           {"XDG_CONFIG_HOME", "config"},
                                           {"XDG_RUNTIME_DIR", "run"}})
            environment.insert(QString::fromLatin1(name),
                               m_home.filePath(QString::fromLatin1(folder)));
        return environment;
    }
    std::unique_ptr<QProcess> start(const QStringList &arguments)
    {
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->start(QStringLiteral(QUILLSTASH_PROGRAM), arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }
    QString socketPath() const
    {
        return m_home.filePath(QStringLiteral("run/quillstash/quillstash.socket"));
    }
    // Collects the program's standard error until it holds the text.
    static bool waitForOutput(QProcess &process, QByteArray &output, const QByteArray &text,
                              int milliseconds = 5000)
    {
        return QTest::qWaitFor(
            [&] {
                output += process.readAllStandardError();
                return output.contains(text);
            },
            milliseconds);
    }
    static void stop(QProcess &process)
    {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }

    ScratchDirectory m_home;
};

TEST_F(ProgramTest, ScreenshotsGoIntoANewFolderAndLeaveTheUsersDataAlone)
{
    // A user's store and settings, to be left exactly as they are.
    const QString store =
        m_home.filePath(QStringLiteral("data/Quillstash/clippings_store_v1.json"));
    const QString settings = m_home.filePath(QStringLiteral("config/Quillstash/Quillstash.conf"));
    const QByteArray storeBytes = R"({"items":[],"collections":[]})";
    const QByteArray settingsBytes =
        "[General]\nQuillstash.gridRows=7\nQuillstash.appearance=Light\n";
    for (const auto &[path, bytes] : {std::pair{store, storeBytes}, {settings, settingsBytes}}) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    const QString folder = m_home.filePath(QStringLiteral("shots/nested/deeper"));
    QElapsedTimer timer;
    timer.start();
    const auto program = start({QStringLiteral("--export-screenshots"), folder});
    ASSERT_TRUE(program->waitForFinished(20000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0) << program->readAllStandardError().toStdString();

    const QList<std::pair<const char *, QSize>> expected{
        {"verify_dark_3x3.png", {960, 600}},    {"verify_light_3x3.png", {960, 600}},
        {"verify_light_6x1.png", {960, 600}},   {"verify_filter_sketch.png", {960, 600}},
        {"verify_preferences.png", {560, 420}},
    };
    QDateTime previous;
    for (const auto &[name, size] : expected) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(name));
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "png") << name;
        EXPECT_EQ(reader.size(), size) << name;
        const QDateTime written = QFileInfo(path).lastModified();
        EXPECT_TRUE(!previous.isValid() || written > previous) << name << " out of order";
        previous = written;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);

    for (const auto &[path, bytes] : {std::pair{store, storeBytes}, {settings, settingsBytes}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), bytes) << qPrintable(path);
    }
    // Nothing else appeared in the user's folders either (no key, no autostart entry).
    EXPECT_EQ(QDir(m_home.filePath(QStringLiteral("config")))
                  .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("Quillstash")});
    std::printf("[ figure ] --export-screenshots end to end: %lld ms\n",
                static_cast<long long>(timer.elapsed()));
}

TEST_F(ProgramTest, ScreenshotsIntoAnUnwritablePlaceFailWithAMessage)
{
    QFile blocker(m_home.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto program = start(
        {QStringLiteral("--export-screenshots"), m_home.filePath(QStringLiteral("file/shots"))});
    ASSERT_TRUE(program->waitForFinished(20000));
    EXPECT_EQ(program->exitCode(), 1);
    EXPECT_TRUE(program->readAllStandardError().contains("could not write"));
}

TEST_F(ProgramTest, SecondStartShowsTheFirstsBoardAndExits)
{
    const auto first = start({QStringLiteral("--background")});
    QByteArray output;
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socketPath()); }, 10000));
    EXPECT_FALSE(waitForOutput(*first, output, "board-shown", 300)) << "--background showed it";

    // A store that never ends reading: a later start must hand over without touching it.
    const QString store =
        m_home.filePath(QStringLiteral("data/Quillstash/clippings_store_v1.json"));
    QDir().mkpath(QFileInfo(store).absolutePath());
    QFile::remove(store);
    ASSERT_EQ(::mkfifo(QFile::encodeName(store).constData(), 0600), 0);

    // The hot key's action shows a hidden board; a plain start shows it however it stands.
    for (const QStringList &arguments : {QStringList{QStringLiteral("--show-board")}, {}}) {
        QElapsedTimer timer;
        timer.start();
        const auto second = start(arguments);
        ASSERT_TRUE(second->waitForFinished(1000)) << qPrintable(arguments.join(' '));
        EXPECT_LT(timer.elapsed(), 1000);
        const QByteArray complaints = second->readAllStandardError();
        EXPECT_EQ(second->exitCode(), 0) << complaints.toStdString();
        EXPECT_TRUE(waitForOutput(*first, output, "board-shown"));
        output.clear();
    }
    EXPECT_EQ(first->state(), QProcess::Running);
    QFile::remove(store);
    stop(*first);
}

TEST_F(ProgramTest, LockOfAKilledProgramIsTakenOver)
{
    const auto killed = start({QStringLiteral("--background")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socketPath()); }, 10000));
    ::kill(pid_t(killed->processId()), SIGKILL);
    ASSERT_TRUE(killed->waitForFinished(3000));

    const auto next = start({});
    QByteArray output;
    EXPECT_TRUE(waitForOutput(*next, output, "board-shown"));
    EXPECT_EQ(next->state(), QProcess::Running);
    stop(*next);
    EXPECT_EQ(next->exitCode(), 0);
}

TEST_F(ProgramTest, OptionsThatStartNoProgram)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        QByteArray output;
        QByteArray complaint;
    };
    const QList<Case> cases{
        {{"stray", "--help"}, 0, "--export-screenshots <folder>", ""},
        {{"--bogus"}, 2, "", "quillstash: unknown option '--bogus'; see 'quillstash --help'\n"},
        {{"--copy"}, 2, "", "--copy needs the number of a clipping"},
        {{"--list"}, 2, "", "quillstash: Quillstash is not running\n"},
        {{"--pause"}, 2, "", "not running"},
    };
    for (const Case &test : cases) {
        const auto program = start(test.arguments);
        ASSERT_TRUE(program->waitForFinished(5000));
        const QByteArray complaints = program->readAllStandardError();
        EXPECT_EQ(program->exitCode(), test.exitCode) << qPrintable(test.arguments.join(' '));
        EXPECT_TRUE(program->readAllStandardOutput().contains(test.output))
            << qPrintable(test.arguments.join(' '));
        EXPECT_TRUE(complaints.contains(test.complaint)) << complaints.toStdString();
        EXPECT_EQ(complaints.count('\n'), test.complaint.isEmpty() ? 0 : 1)
            << complaints.toStdString();
    }
    EXPECT_FALSE(QFile::exists(socketPath()));
}

} // namespace
