// The real program killed with SIGKILL while copies pour in: the store file it leaves is always
// whole, newest first, and the next start carries it on.
#include "model/clippingjson.h"
#include "x11testsupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

constexpr int rounds = 20;
constexpr int copiesPerRound = 50;

class KillTest : public testing::Test
{
protected:
    QString storePath() const
    {
        return m_home.filePath(QStringLiteral("data/Quillstash/clippings_store_v1.json"));
    }
    std::optional<PersistedStore> stored() const
    {
        QFile file(storePath());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return ClippingJson::decodeStore(file.readAll());
    }
    bool start(QProcess &program)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_home.filePath(QStringLiteral("config")));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        // In the background, so that the copies come from another program in front.
        program.start(QStringLiteral(QUILLSTASH_PROGRAM), {QStringLiteral("--background")});
        return program.waitForStarted(5000) &&
               QTest::qWaitFor([&] { return QFile::exists(storePath()); }, 10000);
    }

    QTemporaryDir m_home;
};

// The copy numbers of the burst clippings, newest first; -1 for anything else.
QList<int> copyNumbers(const PersistedStore &store)
{
    QList<int> numbers;
    for (const ClippingItem &item : store.items) {
        bool ok = false;
        const int number =
            item.textContent.startsWith(u"copy ") ? item.textContent.mid(5).toInt(&ok) : -1;
        numbers.append(ok ? number : -1);
    }
    return numbers;
}

TEST_F(KillTest, EveryKillLeavesAWholeNewestFirstStoreThatTheNextStartKeeps)
{
    QRandomGenerator random(20261209);
    QSet<int> kept;
    int copied = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess program;
        ASSERT_TRUE(start(program)) << "round " << round;
        const std::optional<PersistedStore> atStart = stored();
        ASSERT_TRUE(atStart) << "round " << round << ": the file does not parse";

        // Kill at a random copy of the burst, a random time after it.
        const int killAfter = random.bounded(copiesPerRound);
        for (int i = 0; i < copiesPerRound; ++i) {
            xclipCopy("copy " + QByteArray::number(copied++));
            QTest::qWait(random.bounded(60));
            if (i == killAfter) {
                QTest::qWait(random.bounded(400));
                break;
            }
        }
        program.kill();
        program.waitForFinished(5000);

        const std::optional<PersistedStore> left = stored();
        ASSERT_TRUE(left) << "round " << round << ": the file does not parse after the kill";
        const QList<int> numbers = copyNumbers(*left);
        int previous = std::numeric_limits<int>::max();
        QSet<int> now;
        for (const int number : numbers) {
            if (number < 0)
                continue;
            EXPECT_LT(number, previous) << "round " << round << ": not newest first";
            previous = number;
            now.insert(number);
        }
        // What an earlier round left was loaded by this start and is still there.
        EXPECT_TRUE(now.contains(kept)) << "round " << round << ": a restart lost clippings";
        kept = now;
    }
    EXPECT_GT(kept.size(), rounds) << "the burst was hardly captured at all";
}

} // namespace
