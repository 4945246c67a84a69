#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

// The clipboard owner helper program, running.
class OwnerProcess
{
public:
    using Offers = QList<QPair<QString, QByteArray>>;
    // Offers each target's bytes; flags are the helper's options (--stuck, --window CLASS...).
    explicit OwnerProcess(const Offers &offers, const QStringList &flags = {});
    ~OwnerProcess();
    OwnerProcess(const OwnerProcess &) = delete;
    OwnerProcess &operator=(const OwnerProcess &) = delete;

    // Waits until it owns the clipboard; false when it did not get there.
    bool waitUntilReady();
    quint64 window() const { return m_window; }
    qint64 processId() const { return m_process.processId(); }
    // The targets asked of it so far, in order.
    QStringList requests();
    void terminate();

private:
    QTemporaryDir m_files;
    QProcess m_process;
    QByteArray m_output;
    quint64 m_window = 0;
};

// Copies the bytes as one target with xclip, as another program would; returns once xclip
// has started serving (it stays the owner until someone else takes the clipboard).
void xclipCopy(const QByteArray &bytes, const QString &target = QStringLiteral("UTF8_STRING"));
// What another program pastes; nothing when the target cannot be had. Keeps this process's
// event loop running, since it may be the one that has to answer.
std::optional<QByteArray> xclipPaste(const QString &target);
