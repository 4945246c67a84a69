#pragma once

#include "model/clippingcollection.h"
#include "model/clippingitem.h"

#include <QList>

// A history of realistic size: 10,000 texts of 20 to 2,000 characters (some secret, some
// favourite, some in collections) and 20 PNG images of about 200 KB each.
struct BenchmarkHistory {
    QList<ClippingItem> items;
    QList<ClippingCollection> collections;
};

BenchmarkHistory makeBenchmarkHistory(int textCount = 10000, int imageCount = 20);
ClippingItem makeBenchmarkText(int seed);
