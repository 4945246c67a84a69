#pragma once

#include <QByteArray>
#include <QString>

// The desktop's store of secrets, which keeps them out of files that get copied around.
class Keyring
{
public:
    enum class Status { Found, Missing, Unavailable };
    struct Entry {
        Status status = Status::Unavailable;
        QByteArray value;
    };

    virtual ~Keyring() = default;

    // Unavailable when no keyring answers, or it would not say.
    virtual Entry read(const QString &key) = 0;
    // True only once the keyring confirmed the write.
    virtual bool write(const QString &key, const QByteArray &value) = 0;
};
