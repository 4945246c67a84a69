#include "secretservicekeyring.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace
{

const QString service = QStringLiteral("Quillstash");
// A keyring that wants the user to unlock it may take a while; one that never answers must not
// hang the program.
constexpr int answerTimeoutMs = 30000;

// Runs the job to its end; false when it did not end in time. User input waits meanwhile.
bool finish(QKeychain::Job &job)
{
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
