#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class SettingsStore;

namespace ClippingKey
{

inline const QString settingsKey = QStringLiteral("Quillstash.SymmetricKeyData");

// The stored 32-byte key, or a new random one stored in place of a missing or malformed entry.
// Nothing when a new key could not be stored: secrets sealed with it could never be opened
// again.
std::optional<QByteArray> loadOrCreate(SettingsStore &settings);

} // namespace ClippingKey
