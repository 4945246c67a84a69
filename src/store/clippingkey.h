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
// Set once the key lives in the keyring, so that a keyring that does not answer later, or has
// lost the entry, is not taken for one that never held it.
inline const QString inKeyringKey = QStringLiteral("Quillstash.SymmetricKeyInKeyring");

// The keyring entry of the profile whose settings are in `settingsFile`: the user's own profile
// keeps the plain name, any other its own, so that it never reads or replaces the user's key.
QString keyringEntry(const QString &settingsFile, const QString &userSettingsFile);

// The stored 32-byte key, or a new random one stored in place of a missing or malformed entry.
// Nothing when a new key could not be stored: secrets sealed with it could never be opened
// again.
std::optional<QByteArray> loadOrCreate(SettingsStore &settings);

using Notice = std::function<void(const QString &)>;
using Answer = std::function<void(std::optional<QByteArray>)>;

// The same with the keyring's `entry` as the key's home when it answers: a key in the settings
// file moves there, and leaves the file only after the keyring confirmed it. Without a keyring
// the settings file keeps the key and `notice` hears why. Once the key went to the keyring, no
// key is made again: a keyring that does not answer or has lost it gives nothing for this run.
// `answer` is called once, perhaps before this returns; `settings` must outlive `keyring`.
void loadOrCreate(SettingsStore &settings, Keyring &keyring, const QString &entry, Notice notice,
                  Answer answer);

} // namespace ClippingKey
