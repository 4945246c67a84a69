#pragma once

#include <QByteArray>
#include <QString>

class SettingsStore;

namespace ClippingKey
{

inline const QString settingsKey = QStringLiteral("Quillstash.SymmetricKeyData");

// The stored 32-byte key, or a new random one stored in place of a missing or malformed entry.
QByteArray loadOrCreate(SettingsStore &settings);

} // namespace ClippingKey
