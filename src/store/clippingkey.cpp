#include "clippingkey.h"

#include "keyring.h"
#include "model/passwordcrypto.h"
#include "settingsstore.h"

#include <QCoreApplication>

namespace ClippingKey
{

namespace
{

std::optional<QByteArray> settingsKeyValue(const SettingsStore &settings)
{
    const std::optional<QByteArray> stored = settings.bytesValue(settingsKey);
    if (stored && stored->size() == PasswordCrypto::keyLength)
        return stored;
    return std::nullopt;
}

QString text(const char *source)
{
    return QCoreApplication::translate("ClippingKey", source);
}

} // namespace

std::optional<QByteArray> loadOrCreate(SettingsStore &settings)
{
    if (const std::optional<QByteArray> stored = settingsKeyValue(settings))
        return stored;
    const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    if (key.size() != PasswordCrypto::keyLength || !settings.setValue(settingsKey, key))
        return std::nullopt;
    return key;
}

std::optional<QByteArray> loadOrCreate(SettingsStore &settings, Keyring &keyring,
                                       const std::function<void(const QString &)> &notice)
{
    const Keyring::Entry entry = keyring.read(settingsKey);
    const std::optional<QByteArray> inFile = settingsKeyValue(settings);

    if (entry.status == Keyring::Status::Found && entry.value.size() == PasswordCrypto::keyLength) {
        // A move that stopped before the file was cleaned up.
        if (inFile == entry.value)
            settings.remove(settingsKey);
        else if (inFile)
            notice(text("The settings file holds a clipping key other than the keyring's; it is "
                        "left in place and not used."));
        return entry.value;
    }

    if (entry.status == Keyring::Status::Unavailable) {
        if (!inFile && settings.boolValue(inKeyringKey).value_or(false)) {
            notice(text("The keyring that holds the clipping key does not answer; secret "
                        "clippings cannot be sealed or opened in this run."));
            return std::nullopt;
        }
        notice(text("No keyring answers; the clipping key stays in the settings file, "
                    "readable by this user only."));
        return loadOrCreate(settings);
    }

    // The keyring answers but holds no usable key: move the file's key there, or make one.
    QByteArray key = inFile.value_or(PasswordCrypto::randomBytes(PasswordCrypto::keyLength));
    if (key.size() != PasswordCrypto::keyLength)
        return std::nullopt;
    if (!keyring.write(settingsKey, key)) {
        notice(text("The keyring did not take the clipping key; it stays in the settings file, "
                    "readable by this user only."));
        if (inFile)
            return key;
        return settings.setValue(settingsKey, key) ? std::optional(key) : std::nullopt;
    }
    // Without the mark, a later run without keyring could not tell that a key exists.
    if (settings.setValue(inKeyringKey, true) && inFile)
        settings.remove(settingsKey);
    return key;
}

} // namespace ClippingKey
