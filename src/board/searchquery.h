#pragma once

#include "clippingsearchkeys.h"
#include "substringfinder.h"

#include <array>

// The search field's text as a filter: trimmed and lower-cased, and matched as one substring
// against a clipping's searched fields and its kind's name.
class SearchQuery
{
public:
    explicit SearchQuery(const QString &searchText);

    bool isEmpty() const { return m_text.isEmpty(); }
    // The item is read only when its keys cannot be searched as bytes.
    bool matches(ClippingType type, const ClippingSearchKeys &keys, const ClippingItem &item) const;

private:
    bool matchesFieldByField(const ClippingItem &item) const;

    QString m_text;
    SubstringFinder m_finder;
    std::array<bool, allClippingTypes.size()> m_matchesKind{};
    bool m_isWellFormed = true;
};
