#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <csignal>

namespace
{

const QByteArray showCommand = QByteArrayLiteral("show\n");

QString lockPath(const QString &folder)
{
    return folder + QStringLiteral("/quillstash.lock");
}

QString socketPath(const QString &folder)
{
    return folder + QStringLiteral("/quillstash.socket");
}

} // namespace

SingleInstance::SingleInstance(QString folder, QObject *parent)
    : QObject(parent), m_folder(std::move(folder)), m_lock(lockPath(m_folder))
{
    // Only a lock whose process is gone is stale, however old it is (see holderIsGone).
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/quillstash");
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!QDir().mkpath(m_folder))
        return Claim::Failed;
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (m_lock.tryLock(0))
        return listen() ? Claim::First : Claim::Failed;
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::Failed;
    if (holderIsGone() && m_lock.removeStaleLockFile() && m_lock.tryLock(0))
        return listen() ? Claim::First : Claim::Failed;
    return askOtherToShow() ? Claim::OtherRunning : Claim::Failed;
}

bool SingleInstance::holderIsGone() const
{
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (!m_lock.getLockInfo(&pid, &hostName, &appName) || pid <= 0)
        return false;
    if (!hostName.isEmpty() && hostName != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool SingleInstance::listen()
{
    // We hold the lock, so a socket file left here belongs to a program that is gone.
    QLocalServer::removeServer(socketPath(m_folder));
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath(m_folder)))
        return false;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    if (socket->readLine() == showCommand)
                        emit showRequested();
                }
            });
        }
    });
    return true;
}

bool SingleInstance::askOtherToShow() const
{
    // The other program may hold the lock but not listen yet: it is still starting.
    const QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath(m_folder));
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(showCommand);
            const bool written = socket.waitForBytesWritten(int(deadline.remainingTime()));
            socket.disconnectFromServer();
            return written;
        }
        QThread::msleep(20);
    }
    return false;
}
