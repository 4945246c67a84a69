#pragma once

#include "capture/windowmanagerhints.h"

// A desktop without a compositing manager unless told otherwise.
class FakeWindowManagerHints final : public WindowManagerHints
{
public:
    bool hasCompositingManager() override { return m_compositing; }
    void showOnAllDesktops(quint64) override {}
    void setInputRegion(quint64, const QRect &area) override { m_inputRegion = area; }
    void setCompositing(bool compositing) { m_compositing = compositing; }
    // What the window last said it takes presses in; empty if it never did.
    QRect inputRegion() const { return m_inputRegion; }

private:
    bool m_compositing = false;
    QRect m_inputRegion;
};
