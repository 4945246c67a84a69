#pragma once

#include "keyboard/globalhotkey.h"

// A hot key that tests press by hand.
class FakeGlobalHotKey final : public GlobalHotKey
{
public:
    explicit FakeGlobalHotKey(Registration answer = Registration::Registered) : m_answer(answer) {}

    Registration registerHotKey(std::function<void()> pressed) override
    {
        ++m_registrations;
        m_pressed = std::move(pressed);
        return m_answer;
    }

    QString route() const override { return QStringLiteral("a fake"); }

    void press() const
    {
        if (m_pressed)
            m_pressed();
    }
    int registrations() const { return m_registrations; }

private:
    Registration m_answer;
    std::function<void()> m_pressed;
    int m_registrations = 0;
};
