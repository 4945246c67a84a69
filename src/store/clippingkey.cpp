#include "clippingkey.h"

#include "model/passwordcrypto.h"
#include "settingsstore.h"

namespace ClippingKey
{

std::optional<QByteArray> loadOrCreate(SettingsStore &settings)
{
    const std::optional<QByteArray> stored = settings.bytesValue(settingsKey);
    if (stored && stored->size() == PasswordCrypto::keyLength)
        return *stored;
    const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    if (key.size() != PasswordCrypto::keyLength || !settings.setValue(settingsKey, key))
        return std::nullopt;
    return key;
}

} // namespace ClippingKey
