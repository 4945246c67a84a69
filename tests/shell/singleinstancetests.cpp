#include "scratchdirectory.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <gtest/gtest.h>

namespace
{

TEST(SingleInstance, SecondStartAsksTheFirstToShowItsBoard)
{
    ScratchDirectory folder;
    SingleInstance first(folder.filePath(QStringLiteral("run")));
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    QElapsedTimer timer;
    timer.start();
    SingleInstance second(folder.filePath(QStringLiteral("run")));
    EXPECT_EQ(second.claim(), SingleInstance::Claim::OtherRunning);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(shown.wait(1000));
    EXPECT_EQ(shown.size(), 1);
}

TEST(SingleInstance, LockOfAProgramThatIsGoneIsTakenOver)
{
    ScratchDirectory folder;
    const QString run = folder.filePath(QStringLiteral("run"));
    // A lock as a killed program leaves it: its process no longer exists.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForFinished(5000));
    const qint64 deadProcess = gone.processId();
    ASSERT_TRUE(QDir().mkpath(run));
    QFile lock(run + QStringLiteral("/quillstash.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadProcess > 0 ? deadProcess : 999999) + '\n' +
               QCoreApplication::applicationName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::bootUniqueId() + '\n');
    lock.close();
    QFile socket(run + QStringLiteral("/quillstash.socket"));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    SingleInstance instance(run);
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::First);
    SingleInstance next(run);
    EXPECT_EQ(next.claim(), SingleInstance::Claim::OtherRunning);
}

TEST(SingleInstance, UnusableFolderFails)
{
    ScratchDirectory folder;
    QFile blocker(folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SingleInstance instance(folder.filePath(QStringLiteral("file/run")));
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Failed);
}

} // namespace
