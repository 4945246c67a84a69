#pragma once

#include <QString>

// One entry of the sidebar's source-apps section.
struct SidebarApp {
    QString name;
    QString bundleID;

    bool operator==(const SidebarApp &) const = default;
};
