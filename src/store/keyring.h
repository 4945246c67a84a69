#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The desktop's store of secrets, which keeps them out of files that get copied around. A
// keyring may take long to answer (one that waits to be unlocked), so it answers later.
class Keyring
{
public:
    enum class Status { Found, Missing, Unavailable };
    struct Entry {
        Status status = Status::Unavailable;
        QByteArray value;
    };

    virtual ~Keyring() = default;

    // Each call is answered once, on the thread that asked, perhaps before it returns; never
    // once the keyring is gone.
    // Unavailable when no keyring answers, or it would not say.
    virtual void read(const QString &key, std::function<void(Entry)> answer) = 0;
    // True only once the keyring confirmed the write.
    virtual void write(const QString &key, const QByteArray &value,
                       std::function<void(bool)> answer) = 0;
};
