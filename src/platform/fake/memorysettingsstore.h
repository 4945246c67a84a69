#pragma once

#include "store/settingsstore.h"

#include <QHash>

// Settings held in memory, for tests.
class MemorySettingsStore final : public SettingsStore
{
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    bool setValue(const QString &key, const QVariant &value) override
    {
        ++m_writeCount;
        if (m_failsWrites)
            return false;
        m_values.insert(key, value);
        return true;
    }

    bool remove(const QString &key) override
    {
        ++m_writeCount;
        if (m_failsWrites)
            return false;
        m_values.remove(key);
        return true;
    }
    int writeCount() const { return m_writeCount; }
    // Makes every later write fail, as a full disk or a read-only file would.
    void setFailsWrites(bool fails) { m_failsWrites = fails; }

private:
    QHash<QString, QVariant> m_values;
    int m_writeCount = 0;
    bool m_failsWrites = false;
};
