#pragma once

#include "store/loginitem.h"

// A login item held in memory, for tests.
class FakeLoginItem final : public LoginItem
{
public:
    bool isEnabled() const override { return m_enabled; }
    bool setEnabled(bool enabled) override
    {
        if (m_failsWrites)
            return false;
        m_enabled = enabled;
        return true;
    }
    void setFailsWrites(bool fails) { m_failsWrites = fails; }

private:
    bool m_enabled = false;
    bool m_failsWrites = false;
};
