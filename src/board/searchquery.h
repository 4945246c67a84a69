#pragma once

#include "model/clippingitem.h"
#include "substringfinder.h"

#include <array>

// The search field's text as a filter: trimmed and lower-cased, and matched as one substring
// against each of a clipping's searched fields, lower-cased, and its kind's name.
class SearchQuery
{
public:
    explicit SearchQuery(const QString &searchText);

    bool isEmpty() const { return m_text.isEmpty(); }
    bool matches(const ClippingItem &item) const;

private:
    QString m_text;
    SubstringFinder m_finder;
    std::array<bool, allClippingTypes.size()> m_matchesKind{};
};
