#include "searchquery.h"

SearchQuery::SearchQuery(const QString &searchText)
    : m_text(searchText.trimmed().toLower()), m_finder(m_text)
{
    for (const ClippingType type : allClippingTypes)
        m_matchesKind[size_t(type)] = rawValue(type).toLower().contains(m_text);
}

bool SearchQuery::matches(const ClippingItem &item) const
{
    if (m_matchesKind[size_t(item.type)])
        return true;
    const auto holds = [&](const std::optional<QString> &field) {
        return field && m_finder.occursIn(*field);
    };
    // A password is never found by its text, even while it waits in plain form to be sealed.
    return (!item.isPassword && m_finder.occursIn(item.textContent)) ||
           m_finder.occursIn(item.sourceAppName) || holds(item.windowTitle) ||
           holds(item.fileName) || holds(item.urlTitle);
}
