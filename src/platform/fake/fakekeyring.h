#pragma once

#include "store/keyring.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <memory>

// A keyring in memory, for tests; it can be made to not answer, to refuse writes, or to answer
// only after a while.
class FakeKeyring final : public Keyring
{
public:
    void read(const QString &key, std::function<void(Entry)> answer) override
    {
        ++m_reads;
        Entry entry{Status::Unavailable, {}};
        if (m_answers) {
            const auto found = m_values.constFind(key);
            entry = found == m_values.cend() ? Entry{Status::Missing, {}}
                                             : Entry{Status::Found, *found};
        }
        later([answer = std::move(answer), entry] { answer(entry); });
    }
    void write(const QString &key, const QByteArray &value,
               std::function<void(bool)> answer) override
    {
        const bool written = m_answers && !m_refusesWrites;
        if (written)
            m_values.insert(key, value);
        later([answer = std::move(answer), written] { answer(written); });
    }

    QHash<QString, QByteArray> &values() { return m_values; }
    void setAnswers(bool answers) { m_answers = answers; }
    void setRefusesWrites(bool refuses) { m_refusesWrites = refuses; }
    // 0 answers before the call returns.
    void setAnswerDelay(int milliseconds) { m_delayMs = milliseconds; }
    int reads() const { return m_reads; }

private:
    void later(std::function<void()> answer)
    {
        if (m_delayMs == 0)
            answer();
        else
            QTimer::singleShot(m_delayMs, m_context.get(), std::move(answer));
    }

    QHash<QString, QByteArray> m_values;
    bool m_answers = true;
    bool m_refusesWrites = false;
    int m_delayMs = 0;
    int m_reads = 0;
    // Answers still due die with the keyring.
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};
