#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into an orderly quit of the event loop, so that a logout or a
// kill ends the program between operations rather than in the middle of one.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);

    // Whether a signal has been handled. One handled by an event loop run before the main one
    // (start-up may run one) could not end the main loop, which had not begun.
    bool received() const { return m_received; }

private:
    QSocketNotifier *m_notifier = nullptr;
    bool m_received = false;
};
