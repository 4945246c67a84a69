#pragma once

#include "capture/windowmanagerhints.h"

// A desktop without a compositing manager unless told otherwise.
class FakeWindowManagerHints final : public WindowManagerHints
{
public:
    bool hasCompositingManager() override { return m_compositing; }
    void showOnAllDesktops(quint64) override {}
    void setCompositing(bool compositing) { m_compositing = compositing; }

private:
    bool m_compositing = false;
};
