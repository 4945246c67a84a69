#pragma once

#include <QString>

// VmRSS of a process ("self" for this one) in kilobytes; -1 when it cannot be read.
long residentKilobytes(const QString &process = QStringLiteral("self"));
// Its proportional set size: pages shared with other processes count in part. -1 when it
// cannot be read.
long proportionalKilobytes(const QString &process = QStringLiteral("self"));
// What it holds of its own, not backed by a file (heap, arenas, stacks): unlike the proportional
// size, it does not move with what other processes map. -1 when it cannot be read.
long anonymousKilobytes(const QString &process = QStringLiteral("self"));
