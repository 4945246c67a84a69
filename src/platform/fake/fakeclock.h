#pragma once

#include "model/clock.h"

// A clock that moves only when told to.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(Timestamp start = Timestamp(800000000.0)) : m_now(start) {}

    Timestamp now() const override { return m_now; }
    void set(Timestamp now) { m_now = now; }
    void advance(double seconds) { m_now = m_now.addingSeconds(seconds); }

private:
    Timestamp m_now;
};
