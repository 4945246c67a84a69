#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class Keyring;
class SettingsStore;

namespace ClippingKey
{

inline const QString settingsKey = QStringLiteral("Quillstash.SymmetricKeyData");
// Set once the key lives in the keyring, so that a keyring that does not answer later is not
// taken for one that never held it.
inline const QString inKeyringKey = QStringLiteral("Quillstash.SymmetricKeyInKeyring");

// The stored 32-byte key, or a new random one stored in place of a missing or malformed entry.
// Nothing when a new key could not be stored: secrets sealed with it could never be opened
// again.
std::optional<QByteArray> loadOrCreate(SettingsStore &settings);

// The same with the keyring as the key's home when it answers: a key in the settings file moves
// there, and leaves the file only after the keyring confirmed it. Without a keyring the settings
// file keeps the key and `notice` hears why, once per call. Nothing, rather than a second key,
// when the key went to a keyring that does not answer now.
std::optional<QByteArray> loadOrCreate(SettingsStore &settings, Keyring &keyring,
                                       const std::function<void(const QString &)> &notice);

} // namespace ClippingKey
