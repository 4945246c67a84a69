#pragma once

#include "store/keyring.h"

#include <QHash>

// A keyring in memory, for tests; it can be made to not answer or to refuse writes.
class FakeKeyring final : public Keyring
{
public:
    Entry read(const QString &key) override
    {
        if (!m_answers)
            return {Status::Unavailable, {}};
        const auto found = m_values.constFind(key);
        return found == m_values.cend() ? Entry{Status::Missing, {}} : Entry{Status::Found, *found};
    }
    bool write(const QString &key, const QByteArray &value) override
    {
        if (!m_answers || m_refusesWrites)
            return false;
        m_values.insert(key, value);
        return true;
    }

    QHash<QString, QByteArray> &values() { return m_values; }
    void setAnswers(bool answers) { m_answers = answers; }
    void setRefusesWrites(bool refuses) { m_refusesWrites = refuses; }

private:
    QHash<QString, QByteArray> m_values;
    bool m_answers = true;
    bool m_refusesWrites = false;
};
