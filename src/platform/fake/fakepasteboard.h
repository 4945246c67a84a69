#pragma once

#include "capture/pasteboard.h"

// An in-memory clipboard for unit tests.
class FakePasteboard final : public Pasteboard
{
public:
    qint64 changeCount() const override { return m_changeCount; }

private:
    qint64 m_changeCount = 0;
};
