#pragma once

#include <QtGlobal>

// The bytes of one picture covering the primary screen at its pixel density. The card caches
// are sized in screenfuls: enough to repaint what is seen and what was just scrolled past,
// without piling up pictures of cards a long scroll left behind.
qsizetype screenfulBytes();
