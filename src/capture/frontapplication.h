#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// A running application with a window in front.
struct RunningApplication {
    // Display name; empty when none is known.
    QString localizedName;
    // Stable identifier (the desktop-file id on Linux); empty when none is known.
    QString bundleIdentifier;
    // 0 when unknown.
    qint64 processId = 0;
    // The platform's handle of the front window, kept so that it can be brought back later.
    quint64 windowId = 0;

    bool operator==(const RunningApplication &) const = default;
};

// Which application is in front.
class FrontApplication
{
public:
    virtual ~FrontApplication() = default;

    // Nothing when no application window is in front.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;
};
