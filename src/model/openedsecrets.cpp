#include "openedsecrets.h"

#include "passwordcrypto.h"

#include <QHash>
#include <mutex>

namespace
{

struct Opened {
    QByteArray sealed;
    QString text;
};

std::mutex cacheMutex;

QHash<QUuid, Opened> &cache()
{
    static QHash<QUuid, Opened> opened;
    return opened;
}

} // namespace

namespace OpenedSecrets
{

std::optional<QString> open(const QUuid &id, const QByteArray &sealed)
{
    {
        const std::lock_guard lock(cacheMutex);
        const auto found = cache().constFind(id);
        if (found != cache().cend() && found->sealed == sealed)
            return found->text;
    }
    std::optional<QString> text = PasswordCrypto::decrypt(sealed);
    if (text) {
        const std::lock_guard lock(cacheMutex);
        cache().insert(id, {sealed, *text});
    }
    return text;
}

void forget(const QUuid &id)
{
    const std::lock_guard lock(cacheMutex);
    cache().remove(id);
}

void forgetAll()
{
    const std::lock_guard lock(cacheMutex);
    cache().clear();
}

} // namespace OpenedSecrets
