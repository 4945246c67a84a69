#pragma once

#include "capture/frontapplication.h"

#include <QCoreApplication>

// The front application as a test sets it; none at first.
class FakeFrontApplication final : public FrontApplication
{
public:
    std::optional<RunningApplication> frontmostApplication() override { return m_front; }

    void setFront(std::optional<RunningApplication> front) { m_front = std::move(front); }
    void setFront(const QString &name, const QString &bundleID)
    {
        m_front = RunningApplication{.localizedName = name, .bundleIdentifier = bundleID};
    }
    // This test process itself in front.
    void setOwnApplicationInFront()
    {
        m_front = RunningApplication{.localizedName = QStringLiteral("Quillstash"),
                                     .bundleIdentifier = QStringLiteral("quillstash"),
                                     .processId = QCoreApplication::applicationPid()};
    }

private:
    std::optional<RunningApplication> m_front;
};
