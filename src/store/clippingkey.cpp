#include "clippingkey.h"

#include "model/passwordcrypto.h"
#include "settingsstore.h"

namespace ClippingKey
{

QByteArray loadOrCreate(SettingsStore &settings)
{
    const std::optional<QByteArray> stored = settings.bytesValue(settingsKey);
    if (stored && stored->size() == PasswordCrypto::keyLength)
        return *stored;
    const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    settings.setValue(settingsKey, key);
    return key;
}

} // namespace ClippingKey
