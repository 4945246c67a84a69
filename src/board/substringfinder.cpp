#include "substringfinder.h"

#include <cstdint>
#include <cstring>

namespace
{

bool middleMatches(const char *candidate, const char *needle, qsizetype length)
{
    return length <= 2 || std::memcmp(candidate + 1, needle + 1, size_t(length - 2)) == 0;
}

} // namespace

bool SubstringFinder::occursIn(QByteArrayView haystack) const
{
    const qsizetype length = m_needle.size();
    const qsizetype size = haystack.size();
    if (length == 0)
        return true;
    if (length > size)
        return false;

    const char *text = haystack.data();
    const char *needle = m_needle.constData();
    const char first = needle[0];
    const char last = needle[length - 1];
    qsizetype position = 0;

#if defined(__GNUC__)
    using Lanes = std::uint8_t __attribute__((vector_size(16)));
    constexpr qsizetype laneCount = sizeof(Lanes);
    const Lanes firsts = Lanes{} + std::uint8_t(first);
    const Lanes lasts = Lanes{} + std::uint8_t(last);
    for (; position + length - 1 + laneCount <= size; position += laneCount) {
        Lanes starts;
        Lanes ends;
        std::memcpy(&starts, text + position, sizeof starts);
        std::memcpy(&ends, text + position + length - 1, sizeof ends);
        const auto hits = (starts == firsts) & (ends == lasts);
        std::uint64_t halves[2];
        std::memcpy(halves, &hits, sizeof halves);
        if ((halves[0] | halves[1]) == 0)
            continue;
        for (qsizetype lane = 0; lane < laneCount; ++lane) {
            if (hits[lane] && middleMatches(text + position + lane, needle, length))
                return true;
        }
    }
#endif

    for (; position + length <= size; ++position) {
        if (text[position] == first && text[position + length - 1] == last &&
            middleMatches(text + position, needle, length))
            return true;
    }
    return false;
}
