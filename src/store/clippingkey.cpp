#include "clippingkey.h"

#include "keyring.h"
#include "model/passwordcrypto.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QFileInfo>

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

// Once the keyring confirmed the key: marks that it lives there, then takes it out of the file.
void settleInKeyring(SettingsStore &settings, bool inFile)
{
    // Without the mark, a later run without keyring could not tell that a key exists.
    if (settings.setValue(inKeyringKey, true) && inFile)
        settings.remove(settingsKey);
    settings.syncFolder();
}

} // namespace

QString keyringEntry(const QString &settingsFile, const QString &userSettingsFile)
{
    const QString path = QFileInfo(settingsFile).absoluteFilePath();
    if (path == QFileInfo(userSettingsFile).absoluteFilePath())
        return settingsKey;
    return settingsKey + u' ' + path;
}

std::optional<QByteArray> loadOrCreate(SettingsStore &settings)
{
    if (const std::optional<QByteArray> stored = settingsKeyValue(settings))
        return stored;
    const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    if (key.size() != PasswordCrypto::keyLength || !settings.setValue(settingsKey, key))
        return std::nullopt;
    settings.syncFolder();
    return key;
}

void loadOrCreate(SettingsStore &settings, Keyring &keyring, const QString &entry, Notice notice,
                  Answer answer)
{
    keyring.read(entry, [&settings, &keyring, entry, notice = std::move(notice),
                         answer = std::move(answer)](const Keyring::Entry &found) {
        const std::optional<QByteArray> inFile = settingsKeyValue(settings);
        if (found.status == Keyring::Status::Found &&
            found.value.size() == PasswordCrypto::keyLength) {
            // A move that stopped before the file was cleaned up.
            if (inFile == found.value) {
                settings.remove(settingsKey);
                settings.syncFolder();
            } else if (inFile) {
                notice(text("The settings file holds a clipping key other than the keyring's; "
                            "it is left in place and not used."));
            }
            answer(found.value);
            return;
        }

        if (!inFile && settings.boolValue(inKeyringKey).value_or(false)) {
            // A new key would leave every older secret sealed for good.
            notice(found.status == Keyring::Status::Unavailable
                       ? text("The keyring that holds the clipping key does not answer; secret "
                              "clippings cannot be sealed or opened in this run.")
                       : text("The keyring no longer holds the clipping key; secret clippings "
                              "cannot be sealed or opened in this run."));
            answer(std::nullopt);
            return;
        }
        if (found.status == Keyring::Status::Unavailable) {
            notice(text("No keyring answers; the clipping key stays in the settings file, "
                        "readable by this user only."));
            answer(loadOrCreate(settings));
            return;
        }

        // The keyring answers but holds no usable key: move the file's key there, or make one.
        const QByteArray key =
            inFile.value_or(PasswordCrypto::randomBytes(PasswordCrypto::keyLength));
        if (key.size() != PasswordCrypto::keyLength) {
            answer(std::nullopt);
            return;
        }
        keyring.write(
            entry, key,
            [&settings, key, hadFileKey = inFile.has_value(), notice, answer](bool written) {
                if (written) {
                    settleInKeyring(settings, hadFileKey);
                    answer(key);
                    return;
                }
                notice(text("The keyring did not take the clipping key; it stays in "
                            "the settings file, readable by this user only."));
                if (hadFileKey) {
                    answer(key);
                    return;
                }
                const bool stored = settings.setValue(settingsKey, key);
                if (stored)
                    settings.syncFolder();
                answer(stored ? std::optional(key) : std::nullopt);
            });
    });
}

} // namespace ClippingKey
