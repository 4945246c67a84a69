#pragma once

#include "model/clippingtype.h"

#include <QHash>
#include <QUuid>
#include <array>
#include <vector>

// The badge counts of every sidebar entry, worked out together in one walk over the history.
struct SidebarCounts {
    int total = 0;
    int favorites = 0;
    QHash<QUuid, int> byCollection;
    // By the search key cache's app id.
    std::vector<int> byAppID;
    std::array<int, 5> byType{};

    static size_t typeIndex(ClippingType type) { return size_t(type); }
};
