#include "substringfinder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace
{

// The one character whose lower case is longer than itself ("i" and a combining dot above), so
// that a text holding it no longer lines up with its lower-cased form.
constexpr char16_t dottedCapitalI = u'\u0130';
constexpr char16_t combiningDotAbove = u'\u0307';

// For every unit that some other unit lower-cases to, those others, sorted by the lowered one.
// Units of surrogate pairs are paired with the units of the pairs they lower-case to.
const std::vector<std::pair<char16_t, char16_t>> &loweringsTo()
{
    static const std::vector<std::pair<char16_t, char16_t>> table = [] {
        std::vector<std::pair<char16_t, char16_t>> pairs;
        for (char32_t code = 0; code <= 0x10FFFF; ++code) {
            if (QChar::isSurrogate(code) || code == dottedCapitalI)
                continue;
            const char32_t lowered = QChar::toLower(code);
            if (lowered == code)
                continue;
            if (QChar::requiresSurrogates(code)) {
                pairs.emplace_back(QChar::highSurrogate(lowered), QChar::highSurrogate(code));
                pairs.emplace_back(QChar::lowSurrogate(lowered), QChar::lowSurrogate(code));
            } else {
                pairs.emplace_back(char16_t(lowered), char16_t(code));
            }
        }
        std::sort(pairs.begin(), pairs.end());
        pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
        return pairs;
    }();
    return table;
}

} // namespace

void SubstringFinder::prepare()
{
    loweringsTo();
}

SubstringFinder::Screen SubstringFinder::screenFor(char16_t lowered)
{
    const auto &table = loweringsTo();
    const auto range =
        std::equal_range(table.begin(), table.end(), std::pair(lowered, char16_t()),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<char16_t> units;
    // Units of pairs without case stand for themselves, as do uncased characters.
    if (QChar::isSurrogate(lowered) || QChar::toLower(char32_t(lowered)) == lowered)
        units.push_back(lowered);
    for (auto entry = range.first; entry != range.second; ++entry)
        units.push_back(entry->second);
    Screen screen;
    if (units.empty() || units.size() > screen.units.size())
        return screen;
    screen.any = false;
    // Repeated to fill every slot, so that the comparisons need no count.
    for (size_t slot = 0; slot < screen.units.size(); ++slot)
        screen.units[slot] = units[slot % units.size()];
    return screen;
}

SubstringFinder::SubstringFinder(const QString &loweredNeedle) : m_needle(loweredNeedle)
{
    // A broken pair or a replacement character may stand for a broken pair in the text, which
    // lower-casing treats unevenly; a combining dot may belong to a lowered dotted capital I.
    m_screened = !m_needle.isEmpty() && QStringView(m_needle).isValidUtf16() &&
                 !m_needle.contains(QChar::ReplacementCharacter) &&
                 !m_needle.contains(QChar(combiningDotAbove));
    if (m_screened) {
        m_first = screenFor(m_needle.front().unicode());
        m_last = screenFor(m_needle.back().unicode());
    }
}

bool SubstringFinder::occursInLowered(QStringView haystack) const
{
    return haystack.toString().toLower().contains(m_needle);
}

bool SubstringFinder::matchesAt(const char16_t *text, qsizetype size, qsizetype position,
                                bool &dotted) const
{
    const char16_t *needle = reinterpret_cast<const char16_t *>(m_needle.constData());
    const qsizetype length = m_needle.size();
    for (qsizetype offset = 0; offset < length;) {
        const char16_t unit = text[position + offset];
        if (unit == dottedCapitalI) {
            dotted = true;
            return false;
        }
        const qsizetype next = position + offset + 1;
        if (QChar::isHighSurrogate(unit) && next < size && QChar::isLowSurrogate(text[next])) {
            const char32_t lowered = QChar::toLower(QChar::surrogateToUcs4(unit, text[next]));
            if (offset + 1 >= length || needle[offset] != QChar::highSurrogate(lowered) ||
                needle[offset + 1] != QChar::lowSurrogate(lowered))
                return false;
            offset += 2;
        } else {
            if (needle[offset] != QChar::toLower(char32_t(unit)))
                return false;
            ++offset;
        }
    }
    return true;
}

bool SubstringFinder::occursIn(QStringView haystack) const
{
    if (m_needle.isEmpty())
        return true;
    if (!m_screened)
        return occursInLowered(haystack);
    const qsizetype length = m_needle.size();
    const qsizetype size = haystack.size();
    // Lower-casing never makes a text shorter.
    if (length > size)
        return false;

    const char16_t *text = haystack.utf16();
    const auto screens = [](const Screen &screen, char16_t unit) {
        return screen.any ||
               std::find(screen.units.begin(), screen.units.end(), unit) != screen.units.end();
    };
    bool dotted = false;
    qsizetype position = 0;

#if defined(__GNUC__)
    using Lanes = std::uint16_t __attribute__((vector_size(16)));
    constexpr qsizetype laneCount = sizeof(Lanes) / sizeof(char16_t);
    // A screen that lets every unit through is a mask of ones, so that the loop has no branch
    // for it.
    const Lanes firsts[3] = {Lanes{} + m_first.units[0], Lanes{} + m_first.units[1],
                             Lanes{} + m_first.units[2]};
    const Lanes lasts[3] = {Lanes{} + m_last.units[0], Lanes{} + m_last.units[1],
                            Lanes{} + m_last.units[2]};
    const Lanes dottedIs = Lanes{} + dottedCapitalI;
    const Lanes allFirst = m_first.any ? ~Lanes{} : Lanes{};
    const Lanes allLast = m_last.any ? ~Lanes{} : Lanes{};
    const auto anyOf = [](Lanes lanes) {
        std::uint64_t halves[2];
        std::memcpy(halves, &lanes, sizeof halves);
        return (halves[0] | halves[1]) != 0;
    };
    for (; position + length - 1 + laneCount <= size; position += laneCount) {
        Lanes starts;
        Lanes ends;
        std::memcpy(&starts, text + position, sizeof starts);
        std::memcpy(&ends, text + position + length - 1, sizeof ends);
        const Lanes dots = Lanes(starts == dottedIs);
        const Lanes hits =
            (allFirst |
             Lanes((starts == firsts[0]) | (starts == firsts[1]) | (starts == firsts[2]))) &
            (allLast | Lanes((ends == lasts[0]) | (ends == lasts[1]) | (ends == lasts[2])));
        if (!anyOf(hits | dots))
            continue;
        if (anyOf(dots))
            return occursInLowered(haystack);
        for (qsizetype lane = 0; lane < laneCount; ++lane) {
            if (hits[lane] && matchesAt(text, size, position + lane, dotted))
                return true;
            if (dotted)
                return occursInLowered(haystack);
        }
    }
#endif

    // The rest, and the tail where no match can start, which may still hold a dotted I.
    for (; position < size; ++position) {
        if (text[position] == dottedCapitalI)
            return occursInLowered(haystack);
        if (position + length <= size && screens(m_first, text[position]) &&
            screens(m_last, text[position + length - 1]) && matchesAt(text, size, position, dotted))
            return true;
        if (dotted)
            return occursInLowered(haystack);
    }
    return false;
}
