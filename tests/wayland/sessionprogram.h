#pragma once

#include "model/clippingitem.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTest>
#include <optional>

class CompositorSession;

// The real program running in a compositor session on a profile of its own, with its test
// traces on and auto-paste on; its board's keys come through its test input.
class SessionProgram
{
public:
    // Without `waylandServices` it sees no Wayland compositor, as on a plain X11 desktop.
    SessionProgram(const CompositorSession &session, const QString &name,
                   bool waylandServices = true);
    ~SessionProgram();
    SessionProgram(const SessionProgram &) = delete;
    SessionProgram &operator=(const SessionProgram &) = delete;

    // Starts it in the background; false when it did not come up.
    bool start();
    // Runs a second copy with these options, which hands over to the first one and exits.
    bool request(const QStringList &arguments = {}) const;
    qint64 processId() const { return m_process.processId(); }
    // Waits for the trace line of this event (e.g. "board-shown"); false within the time.
    bool waitForTrace(const QString &event, int timeout = 5000);
    // A key typed into the board, e.g. "Right".
    void typeIntoBoard(const QString &key);
    QList<ClippingItem> items() const;
    QString storePath() const;
    // The newest clipping once it is what `matches` wants, or nothing within the time.
    template <typename Predicate>
    std::optional<ClippingItem> newestOnce(Predicate matches, int timeout = 5000);
    std::optional<ClippingItem> newestOnceItIs(const QString &text, int timeout = 5000);
    // Resident and peak resident memory, in kB.
    qint64 residentKb() const;
    qint64 peakResidentKb() const;
    QString errors();
    bool isRunning() const { return m_process.state() == QProcess::Running; }

private:
    QProcessEnvironment environment() const;

    const CompositorSession &m_session;
    QString m_profile;
    bool m_waylandServices;
    QProcess m_process;
    QByteArray m_errors;
};

template <typename Predicate>
std::optional<ClippingItem> SessionProgram::newestOnce(Predicate matches, int timeout)
{
    std::optional<ClippingItem> newest;
    QDeadlineTimer deadline(timeout);
    while (!deadline.hasExpired()) {
        const QList<ClippingItem> all = items();
        if (!all.isEmpty() && matches(all.first()))
            return all.first();
        QTest::qWait(50);
    }
    return newest;
}
