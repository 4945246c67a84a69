// The real program killed with SIGKILL at random moments of a burst of copies: the store file it
// leaves is always whole and holds what was captured, newest first, the next start carries it on
// and clears away the temporary file a write killed midway left.
#include "clipboardserver.h"
#include "model/clippingjson.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace
{

constexpr int copies = 1000;
constexpr int kills = 20;
constexpr auto readTimeout = std::chrono::seconds(3);

class KillTest : public testing::Test
{
protected:
    QString folder() const { return m_home.filePath(QStringLiteral("data/Quillstash")); }
    QString storePath() const
    {
        return folder() + u'/' + QStringLiteral("clippings_store_v1.json");
    }
    std::optional<PersistedStore> stored() const
    {
        QFile file(storePath());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return ClippingJson::decodeStore(file.readAll());
    }
    qsizetype temporaryFiles() const
    {
        return QDir(folder())
            .entryList({QStringLiteral("clippings_store_v1.json.saving-*")},
                       QDir::Files | QDir::Hidden)
            .size();
    }
    void start(QProcess &program)
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
    }
    // What was on the clipboard when the program started is not captured, and it may not watch
    // yet: the first copy of a run is made again until it is read.
    bool copyFirst(const QByteArray &text)
    {
        for (int attempt = 0; attempt < 40; ++attempt) {
            m_clipboard.copy(text);
            if (m_clipboard.waitUntilRead(std::chrono::milliseconds(250)))
                return true;
        }
        return false;
    }

    QTemporaryDir m_home;
    ClipboardServer m_clipboard;
};

QByteArray copyText(int number)
{
    return "copy " + QByteArray::number(number);
}

// The copy numbers of the burst clippings, newest first, and how many others there are.
std::pair<QList<int>, int> copyNumbers(const PersistedStore &store)
{
    QList<int> numbers;
    int others = 0;
    for (const ClippingItem &item : store.items) {
        bool ok = false;
        const int number =
            item.textContent.startsWith(u"copy ") ? item.textContent.mid(5).toInt(&ok) : -1;
        if (ok)
            numbers.append(number);
        else
            ++others;
    }
    return {numbers, others};
}

TEST_F(KillTest, EveryKillLeavesAWholeNewestFirstStoreThatTheNextStartKeeps)
{
    ASSERT_TRUE(m_clipboard.isConnected());
    QRandomGenerator random(20261209);
    std::set<int> killPoints;
    while (int(killPoints.size()) < kills)
        killPoints.insert(int(random.bounded(copies)));

    // What the file held after the last kill, newest first; the showcase clippings besides.
    QList<int> kept;
    std::optional<int> others;
    int lost = 0;
    int leftBehind = 0;
    int next = 0;
    for (int run = 0; run <= kills; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        QProcess program;
        start(program);
        ASSERT_TRUE(program.waitForStarted(5000));
        const int first = next;
        ASSERT_TRUE(copyFirst(copyText(next++))) << "the program captured nothing";
        EXPECT_LE(temporaryFiles(), 1) << "leftovers of killed writes pile up";

        const bool last = run == kills;
        const int end = last ? copies : *std::next(killPoints.begin(), run) + 1;
        while (next < end) {
            m_clipboard.copy(copyText(next++));
            ASSERT_TRUE(m_clipboard.waitUntilRead(readTimeout)) << "copy " << next - 1;
        }
        if (last) {
            program.terminate();
            ASSERT_TRUE(program.waitForFinished(5000));
        } else {
            // Somewhere in the capture of the last copy, its save or the write after it.
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20000)));
            program.kill();
            program.waitForFinished(5000);
            leftBehind += temporaryFiles() > 0;
        }

        const std::optional<PersistedStore> left = stored();
        ASSERT_TRUE(left) << "the file does not parse";
        const auto [numbers, otherCount] = copyNumbers(*left);
        // Copies first..newest of this run in front of what the start loaded, and nothing else.
        const int newest = numbers.size() > kept.size() ? numbers.first() : first - 1;
        QList<int> expected;
        for (int number = newest; number >= first; --number)
            expected.append(number);
        expected += kept;
        ASSERT_EQ(numbers, expected);
        EXPECT_LT(newest, next);
        if (last) {
            EXPECT_EQ(newest, copies - 1) << "an orderly quit keeps every capture";
        }
        EXPECT_EQ(otherCount, others.value_or(otherCount)) << "the showcase clippings changed";
        others = otherCount;
        lost += next - 1 - newest;
        kept = numbers;
    }
    QProcess restarted;
    start(restarted);
    ASSERT_TRUE(restarted.waitForStarted(5000));
    ASSERT_TRUE(copyFirst("after the burst"));
    EXPECT_LE(temporaryFiles(), 1);
    restarted.terminate();
    restarted.waitForFinished(5000);
    const std::optional<PersistedStore> final = stored();
    ASSERT_TRUE(final);
    EXPECT_EQ(final->items.first().textContent, QStringLiteral("after the burst"));
    EXPECT_EQ(copyNumbers(*final).first, kept);

    std::printf("%d copies, %d kills: %d captures lost with the process, %d kills left a "
                "temporary file\n",
                copies, kills, lost, leftBehind);
}

} // namespace
