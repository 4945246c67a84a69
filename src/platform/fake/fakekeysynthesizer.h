#pragma once

#include "capture/keysynthesizer.h"

#include <QStringList>

// Counts paste chords instead of sending them, optionally logging them with other fakes.
class FakeKeySynthesizer final : public KeySynthesizer
{
public:
    explicit FakeKeySynthesizer(bool trusted = true, QStringList *log = nullptr)
        : m_trusted(trusted), m_log(log)
    {
    }

    bool isTrusted() const override { return m_trusted; }
    void postPasteShortcut() override
    {
        ++m_pastes;
        if (m_log)
            m_log->append(QStringLiteral("paste"));
    }

    void setTrusted(bool trusted) { m_trusted = trusted; }
    int pastes() const { return m_pastes; }

private:
    bool m_trusted;
    QStringList *m_log;
    int m_pastes = 0;
};
