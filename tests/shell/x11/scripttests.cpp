// The command line for scripts against the real program on a private X server.
#include "model/clippingjson.h"
#include "x11testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class ScriptTest : public testing::Test
{
protected:
    struct Run {
        int exitCode = -1;
        QByteArray output;
        QByteArray complaints;
    };

    void SetUp() override
    {
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"),
                             m_home.filePath(QStringLiteral("data")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                             m_home.filePath(QStringLiteral("config")));
        m_program.setProcessEnvironment(m_environment);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A board in front would make every copy the program's own.
        m_program.start(QStringLiteral(QUILLSTASH_PROGRAM), {QStringLiteral("--background")});
        ASSERT_TRUE(m_program.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return QFile::exists(storePath()); }, 10000));
        // The watcher starts right after the store is written; give it one poll.
        QTest::qWait(400);
    }
    void TearDown() override
    {
        m_program.terminate();
        if (!m_program.waitForFinished(3000))
            m_program.kill();
        m_program.waitForFinished(1000);
    }

    Run run(const QStringList &arguments) const
    {
        QProcess script;
        script.setProcessEnvironment(m_environment);
        script.start(QStringLiteral(QUILLSTASH_PROGRAM), arguments);
        // It may have to answer a paste of our own clipboard meanwhile.
        [[maybe_unused]] const bool done =
            QTest::qWaitFor([&] { return script.state() == QProcess::NotRunning; }, 5000);
        return {script.exitCode(), script.readAllStandardOutput(), script.readAllStandardError()};
    }
    QString storePath() const
    {
        return m_home.filePath(QStringLiteral("data/Quillstash/clippings_store_v1.json"));
    }
    QList<ClippingItem> items() const
    {
        QFile file(storePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return ClippingJson::decodeStore(file.readAll()).value_or(PersistedStore{}).items;
    }
    bool waitForCount(qsizetype count, int milliseconds = 3000) const
    {
        return QTest::qWaitFor([&] { return items().size() == count; }, milliseconds);
    }
    // The fields of each listed line.
    static QList<QStringList> lines(const QByteArray &output)
    {
        QList<QStringList> fields;
        for (const QByteArray &line : output.split('\n')) {
            if (!line.isEmpty())
                fields.append(QString::fromUtf8(line).split(u'\t'));
        }
        return fields;
    }

    QTemporaryDir m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QProcess m_program;
};

TEST_F(ScriptTest, ListsRestoresAndRefuses)
{
    const qsizetype start = items().size();
    // A tab or a line break in a text must not break the one-line, tab-separated listing.
    for (const char *text : {"oldest of three", "middle of three", "newest\tof three\nand more"}) {
        xclipCopy(text);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !items().isEmpty() && items().first().textContent == text; }, 3000))
            << text;
    }

    const Run listed = run({QStringLiteral("--list"), QStringLiteral("2")});
    EXPECT_EQ(listed.exitCode, 0) << listed.complaints.constData();
    const QList<QStringList> rows = lines(listed.output);
    ASSERT_EQ(rows.size(), 2) << listed.output.constData();
    for (const QStringList &row : rows)
        ASSERT_EQ(row.size(), 4) << qPrintable(row.join(u'|'));
    EXPECT_EQ((QStringList{rows[0][0], rows[0][1], rows[0][3]}),
              (QStringList{"1", "Text", "newest of three"}));
    EXPECT_EQ((QStringList{rows[1][0], rows[1][3]}), (QStringList{"2", "middle of three"}));

    const Run copied = run({QStringLiteral("--copy"), QStringLiteral("3")});
    EXPECT_EQ(copied.exitCode, 0) << copied.complaints.constData();
    EXPECT_EQ(xclipPaste(QStringLiteral("UTF8_STRING")), QByteArray("oldest of three"));
    // Our own restore is no new copy.
    QTest::qWait(800);
    EXPECT_EQ(items().size(), start + 3);

    for (const QStringList &arguments :
         {QStringList{"--copy", "99"}, {"--paste", "0"}, {"--list", "0"}}) {
        const Run refused = run(arguments);
        EXPECT_EQ(refused.exitCode, 1) << qPrintable(arguments.join(u' '));
        EXPECT_EQ(refused.complaints.count('\n'), 1) << refused.complaints.constData();
        EXPECT_TRUE(refused.output.isEmpty());
    }
}

TEST_F(ScriptTest, SecretsAreListedAsDotsAndPauseHoldsCapture)
{
    const qsizetype start = items().size();
    OwnerProcess secret({{QStringLiteral("UTF8_STRING"), "hunter2 correct horse"},
                         {QStringLiteral("x-kde-passwordManagerHint"), "secret"}});
    ASSERT_TRUE(secret.waitUntilReady());
    ASSERT_TRUE(waitForCount(start + 1));

    for (const QStringList &arguments : {QStringList{"--list", "1"}, {"--list", "1", "--json"}}) {
        const Run listed = run(arguments);
        EXPECT_EQ(listed.exitCode, 0);
        EXPECT_FALSE(listed.output.contains("hunter2")) << listed.output.constData();
        EXPECT_TRUE(listed.output.contains("\u2022\u2022\u2022\u2022"))
            << listed.output.constData();
    }

    EXPECT_EQ(run({QStringLiteral("--pause")}).exitCode, 0);
    xclipCopy("during the pause");
    EXPECT_FALSE(waitForCount(start + 2, 1200));
    EXPECT_EQ(run({QStringLiteral("--resume")}).exitCode, 0);
    xclipCopy("after the pause");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !items().isEmpty() && items().first().textContent == "after the pause"; },
        3000));
}

} // namespace
