#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

// A client that connects and then says nothing is dropped after this.
constexpr int requestTimeoutMs = 2000;
// The longest answer a client takes: a long listing, not an endless stream.
constexpr qsizetype maximumReplySize = 16 * 1024 * 1024;

QString lockPath(const QString &folder)
{
    return folder + QStringLiteral("/quillstash.lock");
}

QString socketPath(const QString &folder)
{
    return folder + QStringLiteral("/quillstash.socket");
}

// A plain socket: the asking side runs before, and usually instead of, an application object.
int connectTo(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(name.size()) >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return -1;
    if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0)
        return descriptor;
    const int error = errno;
    ::close(descriptor);
    errno = error;
    return -1;
}

bool waitFor(int descriptor, short events, const QDeadlineTimer &deadline)
{
    pollfd entry{descriptor, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

std::optional<QByteArray> exchange(int descriptor, const QByteArray &request,
                                   const QDeadlineTimer &deadline)
{
    qsizetype sent = 0;
    while (sent < request.size()) {
        if (!waitFor(descriptor, POLLOUT, deadline))
            return std::nullopt;
        const ssize_t written = ::send(descriptor, request.constData() + sent,
                                       std::size_t(request.size() - sent), MSG_NOSIGNAL);
        if (written < 0 && errno != EINTR)
            return std::nullopt;
        sent += std::max<ssize_t>(written, 0);
    }
    QByteArray reply;
    char buffer[4096];
    for (;;) {
        if (!waitFor(descriptor, POLLIN, deadline))
            return std::nullopt;
        const ssize_t received = ::read(descriptor, buffer, sizeof(buffer));
        if (received == 0)
            return reply;
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        reply.append(buffer, received);
        if (reply.size() > maximumReplySize)
            return std::nullopt;
    }
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

bool SingleInstance::prepareFolder() const
{
    if (!QDir().mkpath(m_folder))
        return false;
    // Anyone who could write here could answer in the program's place.
    const QByteArray path = QFile::encodeName(m_folder);
    struct stat info {
    };
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid())
        return false;
    return (info.st_mode & 0777) == 0700 || ::chmod(path.constData(), 0700) == 0;
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!prepareFolder())
        return Claim::FolderUnusable;
    if (m_lock.tryLock(0))
        return Claim::First;
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::FolderUnusable;
    if (holderIsGone(m_lock) && m_lock.removeStaleLockFile() && m_lock.tryLock(0))
        return Claim::First;
    return Claim::OtherRunning;
}

bool SingleInstance::holderIsGone(const QLockFile &lock)
{
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (!lock.getLockInfo(&pid, &hostName, &appName) || pid <= 0)
        return false;
    if (!hostName.isEmpty() && hostName != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool SingleInstance::listen(Responder respond)
{
    m_respond = std::move(respond);
    // We hold the lock, so a socket file left here belongs to a program that is gone.
    QLocalServer::removeServer(socketPath(m_folder));
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath(m_folder)))
        return false;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serve(socket);
    });
    return true;
}

void SingleInstance::serve(QLocalSocket *socket)
{
    // One short line per connection, answered, then the connection is closed.
    socket->setReadBufferSize(InstanceRequest::maximumLineLength + 2);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(requestTimeoutMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    const auto answer = [this, socket] {
        const QByteArray buffered = socket->peek(InstanceRequest::maximumLineLength + 2);
        const qsizetype end = buffered.indexOf('\n');
        if (end < 0 && buffered.size() <= InstanceRequest::maximumLineLength)
            return;
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        const std::optional<InstanceRequest> request =
            end < 0 ? std::nullopt : InstanceRequest::parse(buffered.left(end));
        const InstanceReply reply = !request    ? InstanceReply::failure(tr("unreadable request"))
                                    : m_respond ? m_respond(*request)
                                                : InstanceReply::failure(tr("not ready"));
        socket->write(reply.encoded());
        socket->flush();
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, answer);
    if (socket->bytesAvailable() > 0)
        answer();
}

SingleInstance::Answer SingleInstance::ask(const InstanceRequest &request, int milliseconds) const
{
    const QByteArray path = QFile::encodeName(m_folder);
    struct stat info {
    };
    if (::lstat(path.constData(), &info) != 0)
        return {errno == ENOENT ? Outcome::NoneRunning : Outcome::FolderUnusable, {}};
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return {Outcome::FolderUnusable, {}};

    const QDeadlineTimer deadline(milliseconds);
    QLockFile lock(lockPath(m_folder));
    for (;;) {
        const int descriptor = connectTo(socketPath(m_folder));
        if (descriptor >= 0) {
            const std::optional<QByteArray> bytes = exchange(descriptor, request.line(), deadline);
            ::close(descriptor);
            const std::optional<InstanceReply> reply =
                bytes ? InstanceReply::decode(*bytes) : std::nullopt;
            if (!reply)
                return {Outcome::NoAnswer, {}};
            return {Outcome::Answered, *reply};
        }
        if (errno == ENAMETOOLONG || errno == EACCES)
            return {Outcome::FolderUnusable, {}};
        // No lock, or a dead one: nobody will listen.
        qint64 pid = 0;
        QString hostName;
        QString appName;
        if (!lock.getLockInfo(&pid, &hostName, &appName) || holderIsGone(lock))
            return {Outcome::NoneRunning, {}};
        // The other program holds the lock but does not listen yet: it is still starting.
        if (deadline.hasExpired())
            return {Outcome::NoAnswer, {}};
        QThread::msleep(20);
    }
}
