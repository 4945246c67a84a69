#include "clipboardmanagerstate.h"
#include "searchquery.h"

#include <QSet>
#include <array>

namespace
{

const std::array pinnedAppNames{QStringLiteral("Sketch"), QStringLiteral("Chrome"),
                                QStringLiteral("Finder"), QStringLiteral("Mail"),
                                QStringLiteral("Xcode"),  QStringLiteral("Slack")};
const std::array hiddenAppNames{QStringLiteral("textedit"), QStringLiteral("1password"),
                                QStringLiteral("photoshop")};

// Whether a clipping belongs to a sidebar entry. App names are compared through the key
// cache's app ids, so the cache must be current while a test for an app is in use.
class SelectionTest
{
public:
    SelectionTest(const SidebarSelection &selection, const SearchKeyCache &keys)
        : m_selection(selection), m_keys(keys)
    {
        if (needsKeys())
            m_appID = keys.appIDOf(selection.appName());
    }

    static bool needsKeys(const SidebarSelection &selection)
    {
        return selection.kind() == SidebarSelection::Kind::App;
    }
    bool needsKeys() const { return needsKeys(m_selection); }

    bool includes(const ClippingItem &item, qsizetype index) const
    {
        switch (m_selection.kind()) {
        case SidebarSelection::Kind::History:
            return true;
        case SidebarSelection::Kind::Favorites:
            return item.isFavorite;
        case SidebarSelection::Kind::Collection:
            return item.collectionIDs.contains(m_selection.collectionID());
        case SidebarSelection::Kind::App:
            return m_appID && m_keys.appID(index) == *m_appID;
        case SidebarSelection::Kind::Type:
            return item.type == m_selection.clippingType();
        }
        Q_UNREACHABLE();
        return false;
    }

private:
    SidebarSelection m_selection;
    const SearchKeyCache &m_keys;
    std::optional<int> m_appID;
};

} // namespace

QList<qsizetype> ClipboardManagerState::indicesOf(const SidebarSelection &selection,
                                                  const QString &searchText) const
{
    const SearchQuery query(searchText);
    if (SelectionTest::needsKeys(selection) || !query.isEmpty())
        m_searchKeys.update(m_items, m_itemsRevision);
    const SelectionTest test(selection, m_searchKeys);

    QList<qsizetype> indices;
    for (qsizetype index = 0; index < m_items.size(); ++index) {
        const ClippingItem &item = m_items[index];
        if (test.includes(item, index) &&
            (query.isEmpty() ||
             query.matches(m_searchKeys.type(index), m_searchKeys.keys(index), item)))
            indices.append(index);
    }
    return indices;
}

int ClipboardManagerState::countOf(const SidebarSelection &selection) const
{
    if (SelectionTest::needsKeys(selection))
        m_searchKeys.update(m_items, m_itemsRevision);
    const SelectionTest test(selection, m_searchKeys);
    int count = 0;
    for (qsizetype index = 0; index < m_items.size(); ++index) {
        if (test.includes(m_items[index], index))
            ++count;
    }
    return count;
}

QList<qsizetype> ClipboardManagerState::visibleIndices() const
{
    if (!m_visible || m_visible->itemsRevision != m_itemsRevision ||
        m_visible->selection != m_sidebarSelection || m_visible->searchText != m_searchText)
        m_visible = VisibleList{.itemsRevision = m_itemsRevision,
                                .selection = m_sidebarSelection,
                                .searchText = m_searchText,
                                .indices = indicesOf(m_sidebarSelection, m_searchText)};
    return m_visible->indices;
}

QList<ClippingItem> ClipboardManagerState::filteredItems() const
{
    const QList<qsizetype> indices = visibleIndices();
    // Shares the list instead of copying every clipping. Not kept: a kept share would make the
    // next change of the history copy it whole.
    if (indices.size() == m_items.size())
        return m_items;
    if (!m_visible->items) {
        QList<ClippingItem> visible;
        visible.reserve(indices.size());
        for (const qsizetype index : indices)
            visible.append(m_items[index]);
        m_visible->items = std::move(visible);
    }
    return *m_visible->items;
}

int ClipboardManagerState::totalHistoryCount() const
{
    return int(m_items.size());
}

int ClipboardManagerState::favoritesCount() const
{
    return countOf(SidebarSelection::favorites());
}

int ClipboardManagerState::countForCollection(const QUuid &collectionID) const
{
    return countOf(SidebarSelection::collection(collectionID));
}

int ClipboardManagerState::countForApp(const QString &appName) const
{
    return countOf(SidebarSelection::app(appName));
}

int ClipboardManagerState::countForType(ClippingType type) const
{
    return countOf(SidebarSelection::type(type));
}

QList<SidebarApp> ClipboardManagerState::sidebarApps() const
{
    m_searchKeys.update(m_items, m_itemsRevision);
    QList<SidebarApp> apps;
    QSet<QString> listed;
    for (const QString &pinned : pinnedAppNames) {
        listed.insert(pinned.toLower());
        const std::optional<int> appID = m_searchKeys.appIDOf(pinned);
        QString bundleID;
        for (qsizetype index = 0; appID && index < m_items.size(); ++index) {
            if (m_searchKeys.appID(index) == *appID) {
                bundleID = m_items[index].sourceAppBundleID;
                break;
            }
        }
        apps.append({pinned, bundleID});
    }
    for (const QString &hidden : hiddenAppNames)
        listed.insert(hidden);

    // Only the first clipping of each lower-cased name can add an entry.
    std::vector<bool> seen(size_t(m_searchKeys.loweredAppNameCount()));
    for (qsizetype index = 0; index < m_items.size(); ++index) {
        const int loweredID = m_searchKeys.loweredAppID(index);
        if (seen[size_t(loweredID)])
            continue;
        seen[size_t(loweredID)] = true;
        const QString &lowered = m_searchKeys.loweredAppName(loweredID);
        if (!listed.contains(lowered))
            apps.append({m_items[index].sourceAppName, m_items[index].sourceAppBundleID});
    }
    return apps;
}
