#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

class QSocketNotifier;

// Reads the forms another program writes into pipes, all at once and without blocking. Each
// read ends at the end of its data or at its size limit (the bytes cut there); whatever has not
// ended by the deadline counts as absent, so a program that never writes holds nothing up.
class OfferReader final : public QObject
{
    Q_OBJECT

public:
    using Results = QHash<QString, std::optional<QByteArray>>;

    explicit OfferReader(std::chrono::milliseconds deadline, QObject *parent = nullptr);
    ~OfferReader() override;
    OfferReader(const OfferReader &) = delete;
    OfferReader &operator=(const OfferReader &) = delete;

    // Takes over the reading end of a pipe; call before start().
    void add(const QString &format, int fd, qsizetype limit);
    // Runs `finished` once, on the main thread, when every read has ended (at once if none).
    void start(std::function<void(Results)> finished);

private:
    struct Read {
        QString format;
        int fd = -1;
        qsizetype limit = 0;
        QByteArray bytes;
        QSocketNotifier *notifier = nullptr;
    };

    void readFrom(Read &read);
    void end(Read &read, bool complete);
    void finishIfDone();

    QList<Read *> m_reads;
    Results m_results;
    QTimer m_deadline;
    std::function<void(Results)> m_finished;
};
