#include "settingsstore.h"

#include <limits>

std::optional<int> SettingsStore::intValue(const QString &key) const
{
    const QVariant stored = value(key);
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        // QVariant's own toInt() truncates numbers beyond int quietly.
        bool ok = false;
        const qlonglong number = stored.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<int>::min() ||
            number > std::numeric_limits<int>::max())
            return std::nullopt;
        return static_cast<int>(number);
    }
    default:
        return std::nullopt;
    }
}

std::optional<bool> SettingsStore::boolValue(const QString &key) const
{
    const QVariant stored = value(key);
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = stored.toString();
    if (text == u"true")
        return true;
    if (text == u"false")
        return false;
    return std::nullopt;
}

std::optional<QString> SettingsStore::stringValue(const QString &key) const
{
    const QVariant stored = value(key);
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return stored.toString();
}

std::optional<QByteArray> SettingsStore::bytesValue(const QString &key) const
{
    const QVariant stored = value(key);
    if (stored.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return stored.toByteArray();
}
