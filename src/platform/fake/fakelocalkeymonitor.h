#pragma once

#include "keyboard/localkeymonitor.h"

// Key events that tests feed in by hand.
class FakeLocalKeyMonitor final : public LocalKeyMonitor
{
public:
    void start(std::function<bool(const KeyPress &)> keyDown,
               std::function<void(const KeyModifiers &)> modifiersChanged) override
    {
        m_keyDown = std::move(keyDown);
        m_modifiersChanged = std::move(modifiersChanged);
    }
    void clearTextFieldFocus() override { ++m_focusClears; }

    bool isStarted() const { return m_keyDown && m_modifiersChanged; }
    bool keyDown(const KeyPress &press) const { return m_keyDown && m_keyDown(press); }
    void modifiersChanged(const KeyModifiers &flags) const
    {
        if (m_modifiersChanged)
            m_modifiersChanged(flags);
    }
    int focusClears() const { return m_focusClears; }

private:
    std::function<bool(const KeyPress &)> m_keyDown;
    std::function<void(const KeyModifiers &)> m_modifiersChanged;
    int m_focusClears = 0;
};
