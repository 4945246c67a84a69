#pragma once

#include "instancerequest.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

// One program per user: the first start holds a lock file and answers requests on a local
// socket beside it; a later start finds the lock taken and sends its request through the
// socket. A lock left behind by a killed program is taken over. The folder is the user's alone.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        // This process is the program; it answers requests once it listens.
        First,
        // Another live process holds the lock.
        OtherRunning,
        // The folder cannot be made, is not a folder of this user's, or takes no lock.
        FolderUnusable,
    };

    enum class Outcome {
        Answered,
        // No program holds the lock.
        NoneRunning,
        // A program holds the lock but took no request in time.
        NoAnswer,
        FolderUnusable,
    };

    struct Answer {
        Outcome outcome = Outcome::NoAnswer;
        InstanceReply reply;
    };

    using Responder = std::function<InstanceReply(const InstanceRequest &)>;

    // folder: where the lock and the socket live, created if missing.
    explicit SingleInstance(QString folder = defaultFolder(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR/quillstash
    static QString defaultFolder();
    QString folder() const { return m_folder; }

    // Needs no application object: it is the first thing a start does.
    Claim claim();
    // After claim() gave First, once the application object exists. Every request that
    // arrives is handed to `respond` on the main thread.
    bool listen(Responder respond);

    // Sends the request to the program that holds the lock and waits for its reply; one that is
    // still starting up is given until the deadline to listen.
    Answer ask(const InstanceRequest &request, int milliseconds = 3000) const;

private:
    bool prepareFolder() const;
    void serve(QLocalSocket *socket);
    // The process that holds the lock no longer exists: it was killed.
    static bool holderIsGone(const QLockFile &lock);

    QString m_folder;
    QLockFile m_lock;
    Responder m_respond;
    std::unique_ptr<QLocalServer> m_server;
};
