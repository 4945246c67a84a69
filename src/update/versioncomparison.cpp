#include "versioncomparison.h"

namespace
{

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype digitRunEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && isDigit(text[from]))
        ++from;
    return from;
}

// Compares two runs of digits by value without converting them, so any length works.
std::strong_ordering compareNumbers(QStringView left, QStringView right)
{
    while (left.size() > 1 && left.front() == u'0')
        left = left.mid(1);
    while (right.size() > 1 && right.front() == u'0')
        right = right.mid(1);
    if (left.size() != right.size())
        return left.size() <=> right.size();
    for (qsizetype i = 0; i < left.size(); ++i) {
        if (left[i] != right[i])
            return left[i].unicode() <=> right[i].unicode();
    }
    return std::strong_ordering::equal;
}

} // namespace

std::strong_ordering compareVersions(QStringView left, QStringView right)
{
    qsizetype l = 0;
    qsizetype r = 0;
    while (l < left.size() && r < right.size()) {
        if (isDigit(left[l]) && isDigit(right[r])) {
            const qsizetype leftEnd = digitRunEnd(left, l);
            const qsizetype rightEnd = digitRunEnd(right, r);
            const std::strong_ordering order =
                compareNumbers(left.sliced(l, leftEnd - l), right.sliced(r, rightEnd - r));
            if (order != 0)
                return order;
            l = leftEnd;
            r = rightEnd;
            continue;
        }
        if (left[l] != right[r])
            return left[l].unicode() <=> right[r].unicode();
        ++l;
        ++r;
    }
    return (left.size() - l) <=> (right.size() - r);
}
