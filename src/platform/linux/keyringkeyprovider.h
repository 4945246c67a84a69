#pragma once

#include <QByteArray>
#include <functional>

class SettingsStore;

// The clipping key from the session's keyring, or from the settings file without one; for
// PasswordCrypto::setKeyProvider. Whatever it has to say goes to standard error once.
std::function<QByteArray()> keyringKeyProvider(SettingsStore &settings);
