#pragma once

#include <QString>

// VmRSS of a process ("self" for this one) in kilobytes; -1 when it cannot be read.
long residentKilobytes(const QString &process = QStringLiteral("self"));
