#include "scratchdirectory.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <future>
#include <gtest/gtest.h>

namespace
{

class SingleInstanceTest : public testing::Test
{
protected:
    QString run() const { return m_folder.filePath(QStringLiteral("run")); }

    // The server answers on this thread, so the asking side runs on another meanwhile.
    static SingleInstance::Answer askWhileServing(const SingleInstance &asker,
                                                  const InstanceRequest &request,
                                                  int milliseconds = 3000)
    {
        std::future<SingleInstance::Answer> answer =
            std::async(std::launch::async, [&] { return asker.ask(request, milliseconds); });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            milliseconds + 2000));
        return answer.get();
    }

    ScratchDirectory m_folder;
};

TEST_F(SingleInstanceTest, SecondStartHandsItsRequestToTheFirst)
{
    // A folder others can read is closed to them before it is used.
    ASSERT_TRUE(QDir().mkpath(run()));
    ASSERT_TRUE(QFile::setPermissions(run(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther));
    SingleInstance first(run());
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    QList<InstanceRequest> received;
    ASSERT_TRUE(first.listen([&](const InstanceRequest &request) {
        received.append(request);
        return request.verb == InstanceVerbs::list
                   ? InstanceReply{{}, "1\ttext\tapp\thello\n"}
                   : InstanceReply::failure(QStringLiteral("no such thing"));
    }));
    EXPECT_EQ(QFileInfo(run()).permissions() & 0x0077, 0);

    QElapsedTimer timer;
    timer.start();
    SingleInstance second(run());
    EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherRunning);
    const SingleInstance::Answer listed =
        askWhileServing(second, {InstanceVerbs::list, {QStringLiteral("2")}});
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(listed.outcome, SingleInstance::Outcome::Answered);
    EXPECT_EQ(listed.reply, (InstanceReply{{}, "1\ttext\tapp\thello\n"}));

    const SingleInstance::Answer refused =
        askWhileServing(second, {QStringLiteral("frobnicate"), {}});
    EXPECT_EQ(refused.outcome, SingleInstance::Outcome::Answered);
    EXPECT_EQ(refused.reply.error, QStringLiteral("no such thing"));
    EXPECT_EQ(received, (QList<InstanceRequest>{{InstanceVerbs::list, {QStringLiteral("2")}},
                                                {QStringLiteral("frobnicate"), {}}}));
}

TEST_F(SingleInstanceTest, AnOverlongRequestIsRefusedAndTheConnectionClosed)
{
    SingleInstance first(run());
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    int answered = 0;
    ASSERT_TRUE(first.listen([&](const InstanceRequest &) {
        ++answered;
        return InstanceReply{};
    }));
    QLocalSocket client;
    client.connectToServer(run() + QStringLiteral("/quillstash.socket"));
    ASSERT_TRUE(client.waitForConnected(1000));
    client.write(QByteArray(64 * 1024, 'x'));
    QByteArray reply;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            reply += client.readAll();
            return client.state() == QLocalSocket::UnconnectedState;
        },
        3000));
    EXPECT_TRUE(reply.startsWith("error ")) << reply.constData();
    EXPECT_EQ(answered, 0);
}

TEST_F(SingleInstanceTest, LockOfAProgramThatIsGoneIsTakenOver)
{
    // A lock as a killed program leaves it: its process no longer exists.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForFinished(5000));
    const qint64 deadProcess = gone.processId();
    ASSERT_TRUE(QDir().mkpath(run()));
    QFile lock(run() + QStringLiteral("/quillstash.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadProcess > 0 ? deadProcess : 999999) + '\n' +
               QCoreApplication::applicationName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::bootUniqueId() + '\n');
    lock.close();
    QFile socket(run() + QStringLiteral("/quillstash.socket"));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    // Nobody answers there, and nobody is said to.
    EXPECT_EQ(SingleInstance(run()).ask({InstanceVerbs::pause, {}}, 500).outcome,
              SingleInstance::Outcome::NoneRunning);
    SingleInstance instance(run());
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::First);
    SingleInstance next(run());
    EXPECT_EQ(next.claim(), SingleInstance::Claim::OtherRunning);
}

TEST_F(SingleInstanceTest, WhatAStartTellsWithoutAnAnsweringProgram)
{
    // No folder at all: nothing runs.
    EXPECT_EQ(SingleInstance(run()).ask({InstanceVerbs::list, {}}, 200).outcome,
              SingleInstance::Outcome::NoneRunning);

    // A program that holds the lock but never listens does not answer.
    SingleInstance silent(run());
    ASSERT_EQ(silent.claim(), SingleInstance::Claim::First);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(SingleInstance(run()).ask({InstanceVerbs::list, {}}, 300).outcome,
              SingleInstance::Outcome::NoAnswer);
    EXPECT_GE(timer.elapsed(), 300);

    // A file where the folder should be is no folder to use, not a silent program.
    QFile blocker(m_folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString &folder : {m_folder.filePath(QStringLiteral("file/run")),
                                  m_folder.filePath(QStringLiteral("file"))}) {
        SingleInstance instance(folder);
        EXPECT_EQ(instance.claim(), SingleInstance::Claim::FolderUnusable) << qPrintable(folder);
        EXPECT_EQ(instance.ask({InstanceVerbs::list, {}}, 200).outcome,
                  SingleInstance::Outcome::FolderUnusable)
            << qPrintable(folder);
    }
}

} // namespace
