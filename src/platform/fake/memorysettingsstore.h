#pragma once

#include "store/settingsstore.h"

#include <QHash>

// Settings held in memory, for tests.
class MemorySettingsStore final : public SettingsStore
{
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    void setValue(const QString &key, const QVariant &value) override
    {
        m_values.insert(key, value);
        ++m_writeCount;
    }

    void remove(const QString &key) { m_values.remove(key); }
    int writeCount() const { return m_writeCount; }

private:
    QHash<QString, QVariant> m_values;
    int m_writeCount = 0;
};
