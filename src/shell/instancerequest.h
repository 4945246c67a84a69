#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// What one start of the program asks the running one, as a line over the single-instance
// channel: a verb and its arguments separated by spaces. The answer is a status line ("ok", or
// "error" and a message) followed by any output, and the channel closes after it.
struct InstanceRequest {
    // The longest request line the running program reads.
    static constexpr qsizetype maximumLineLength = 256;

    QString verb;
    QStringList arguments;

    // With its line feed.
    QByteArray line() const;
    // Nothing for an empty or over-long line or one that is not UTF-8.
    static std::optional<InstanceRequest> parse(QByteArray line);

    bool operator==(const InstanceRequest &) const = default;
};

namespace InstanceVerbs
{

// A plain second start: bring the board up.
inline const QString show = QStringLiteral("show");
// What the hot key does.
inline const QString showBoard = QStringLiteral("show-board");
// list <count> [json]
inline const QString list = QStringLiteral("list");
// copy <index>, paste <index>: 1 is the newest clipping.
inline const QString copy = QStringLiteral("copy");
inline const QString paste = QStringLiteral("paste");
inline const QString pause = QStringLiteral("pause");
inline const QString resume = QStringLiteral("resume");

} // namespace InstanceVerbs

struct InstanceReply {
    // Empty when the request was done.
    QString error;
    QByteArray output;

    static InstanceReply failure(const QString &message) { return {message, {}}; }

    QByteArray encoded() const;
    // Nothing when the bytes do not start with a status line.
    static std::optional<InstanceReply> decode(const QByteArray &bytes);

    bool operator==(const InstanceReply &) const = default;
};
