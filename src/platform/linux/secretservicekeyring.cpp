#include "secretservicekeyring.h"

#include <QDBusConnection>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace
{

const QString service = QStringLiteral("Quillstash");
// A keyring that wants the user to unlock it may take a while; one that never answers must not
// hang the program.
constexpr int answerTimeoutMs = 30000;

// Without a session bus there is no keyring to ask. Only an announced bus counts: asking for
// one would make D-Bus launch a bus of its own, and a keyring daemon with it that waits to be
// unlocked, stalling the start for as long as the time-out.
bool hasSessionBus()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !QFileInfo(runtime + QStringLiteral("/bus")).exists()))
        return false;
    return QDBusConnection::sessionBus().isConnected();
}

// Runs the job to its end; false when it did not end in time. User input waits meanwhile.
bool finish(QKeychain::Job &job)
{
    if (!hasSessionBus())
        return false;
    job.setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(answerTimeoutMs, &loop, &QEventLoop::quit);
    job.start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return finished;
}

} // namespace

Keyring::Entry SecretServiceKeyring::read(const QString &key)
{
    QKeychain::ReadPasswordJob job(service);
    job.setKey(key);
    job.setInsecureFallback(false);
    if (!finish(job))
        return {Status::Unavailable, {}};
    switch (job.error()) {
    case QKeychain::NoError:
        return {Status::Found, job.binaryData()};
    case QKeychain::EntryNotFound:
        return {Status::Missing, {}};
    default:
        return {Status::Unavailable, {}};
    }
}

bool SecretServiceKeyring::write(const QString &key, const QByteArray &value)
{
    QKeychain::WritePasswordJob job(service);
    job.setKey(key);
    job.setInsecureFallback(false);
    job.setBinaryData(value);
    return finish(job) && job.error() == QKeychain::NoError;
}
