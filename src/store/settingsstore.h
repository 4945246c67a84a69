#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// The per-user key-value store that keeps preferences and the clipping key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // An invalid QVariant when the key is missing.
    virtual QVariant value(const QString &key) const = 0;
    // False when the value could not be stored for later runs.
    virtual bool setValue(const QString &key, const QVariant &value) = 0;
    // False when the key could not be removed for later runs.
    virtual bool remove(const QString &key) = 0;
    // Makes what was written survive a crash of the machine, for values that must not be lost.
    virtual void syncFolder() {}

    // Typed reads that treat a value of the wrong type as missing. A file-backed store may hand
    // back numbers and Booleans as their text, so both forms are accepted.
    std::optional<int> intValue(const QString &key) const;
    std::optional<bool> boolValue(const QString &key) const;
    std::optional<QString> stringValue(const QString &key) const;
    std::optional<QByteArray> bytesValue(const QString &key) const;
};
