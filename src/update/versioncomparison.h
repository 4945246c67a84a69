#pragma once

#include <QStringView>
#include <compare>

// Orders version texts as people read them: runs of decimal digits by their value, every other
// character by itself, left to right; so 2.0.10 comes after 2.0.9, and 1.0 before 1.0.0.
std::strong_ordering compareVersions(QStringView left, QStringView right);
