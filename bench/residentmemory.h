#pragma once

#include <QString>

// VmRSS of a process ("self" for this one) in kilobytes; -1 when it cannot be read.
long residentKilobytes(const QString &process = QStringLiteral("self"));
// Its proportional set size: pages shared with other processes count in part. -1 when it
// cannot be read.
long proportionalKilobytes(const QString &process = QStringLiteral("self"));
