#include "searchquery.h"

SearchQuery::SearchQuery(const QString &searchText)
    : m_text(searchText.trimmed().toLower()), m_finder(m_text.toUtf8()),
      m_isWellFormed(QStringView(m_text).isValidUtf16() &&
                     !m_text.contains(QChar(ClippingSearchKeys::separator)))
{
    for (const ClippingType type : allClippingTypes)
        m_matchesKind[size_t(type)] = rawValue(type).toLower().contains(m_text);
}

bool SearchQuery::matches(ClippingType type, const ClippingSearchKeys &keys,
                          const ClippingItem &item) const
{
    if (m_matchesKind[size_t(type)])
        return true;
    if (m_isWellFormed && keys.isWellFormed)
        return m_finder.occursIn(keys.joined);
    return matchesFieldByField(item);
}

bool SearchQuery::matchesFieldByField(const ClippingItem &item) const
{
    const auto holds = [&](const std::optional<QString> &field) {
        return field && field->toLower().contains(m_text);
    };
    return (!item.isPassword && holds(item.textContent)) || holds(item.sourceAppName) ||
           holds(item.windowTitle) || holds(item.fileName) || holds(item.urlTitle);
}
