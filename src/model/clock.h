#pragma once

#include "timestamp.h"

// Source of the current time, so that age texts and timed rules can be tested.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual Timestamp now() const = 0;
};

class SystemClock final : public Clock
{
public:
    Timestamp now() const override { return Timestamp::now(); }
};
