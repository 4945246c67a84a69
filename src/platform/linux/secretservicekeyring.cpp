#include "secretservicekeyring.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace
{

const QString service = QStringLiteral("Quillstash");

// Without a session bus there is no keyring to ask. Only an announced bus counts: asking for
// one would make D-Bus launch a bus of its own, and a keyring daemon with it that waits to be
// unlocked.
bool hasSessionBus()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !QFileInfo(runtime + QStringLiteral("/bus")).exists()))
        return false;
    return QDBusConnection::sessionBus().isConnected();
}

// Starts the job; `done` hears it once, with the job when it ended in time, else with nothing.
void run(QKeychain::Job *job, QObject &context, std::chrono::milliseconds timeout,
         std::function<void(const QKeychain::Job *)> done)
{
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    auto pending = std::make_shared<std::function<void(const QKeychain::Job *)>>(std::move(done));
    auto finish = [pending](const QKeychain::Job *ended) {
        if (!*pending)
            return;
        const auto answer = std::exchange(*pending, nullptr);
        answer(ended);
    };
    QObject::connect(job, &QKeychain::Job::finished, &context,
                     [finish](QKeychain::Job *ended) { finish(ended); });
    QTimer::singleShot(timeout, &context, [finish] { finish(nullptr); });
    job->start();
}

} // namespace

SecretServiceKeyring::SecretServiceKeyring(std::chrono::milliseconds answerTimeout)
    : m_answerTimeout(answerTimeout)
{
}

void SecretServiceKeyring::read(const QString &key, std::function<void(Entry)> answer)
{
    if (!hasSessionBus()) {
        answer({Status::Unavailable, {}});
        return;
    }
    auto *job = new QKeychain::ReadPasswordJob(service);
    job->setKey(key);
    run(job, m_answers, m_answerTimeout, [answer = std::move(answer)](const QKeychain::Job *ended) {
        if (!ended) {
            answer({Status::Unavailable, {}});
            return;
        }
        switch (ended->error()) {
        case QKeychain::NoError:
            answer({Status::Found,
                    static_cast<const QKeychain::ReadPasswordJob *>(ended)->binaryData()});
            return;
        case QKeychain::EntryNotFound:
            answer({Status::Missing, {}});
            return;
        default:
            answer({Status::Unavailable, {}});
            return;
        }
    });
}

void SecretServiceKeyring::write(const QString &key, const QByteArray &value,
                                 std::function<void(bool)> answer)
{
    if (!hasSessionBus()) {
        answer(false);
        return;
    }
    auto *job = new QKeychain::WritePasswordJob(service);
    job->setKey(key);
    job->setBinaryData(value);
    run(job, m_answers, m_answerTimeout, [answer = std::move(answer)](const QKeychain::Job *ended) {
        answer(ended && ended->error() == QKeychain::NoError);
    });
}
