#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

// One program per user: the first start holds a lock file and listens on a local socket beside
// it; a later start finds the lock taken and asks the first, through the socket, to show its
// board. A lock left behind by a killed program is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        // This process is the program; showRequested() reports later starts.
        First,
        // Another process is the program and has been asked to show its board.
        OtherRunning,
        // Neither: the folder cannot be used, or the other process does not answer.
        Failed,
    };

    // folder: where the lock and the socket live, created if missing.
    explicit SingleInstance(QString folder = defaultFolder(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR/quillstash
    static QString defaultFolder();

    Claim claim();

signals:
    void showRequested();

private:
    bool listen();
    // The process that holds the lock no longer exists: it was killed.
    bool holderIsGone() const;
    bool askOtherToShow() const;

    QString m_folder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
