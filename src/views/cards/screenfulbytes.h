#pragma once

#include <QSize>
#include <QtGlobal>

// The bytes of one picture covering the card grid as it was last laid out, in device pixels;
// the primary screen's until a grid has been laid out. The card caches are sized in
// screenfuls: enough to repaint what is seen and what was just scrolled past, without piling
// up pictures of cards a long scroll left behind.
qsizetype screenfulBytes();
void setScreenfulPixels(QSize pixels);
// The bytes of one picture covering the primary screen.
qsizetype screenBytes();

// Follows a change of the screenful with the cache's budget.
template <typename Cache> void budgetScreenfuls(Cache &cache, qsizetype bytes)
{
    if (cache.maxCost() != bytes)
        cache.setMaxCost(bytes);
}
