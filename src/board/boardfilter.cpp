#include "boardfilter.h"

#include "history.h"
#include "searchquery.h"
#include "store/backgroundhold.h"

#include <QSet>
#include <array>
#include <chrono>
#ifdef __GLIBC__
#include <malloc.h>
#endif

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

void BoardFilter::prepareSearchKeys()
{
    m_preparedKeys =
        std::async(std::launch::async,
                   [build = SearchKeyCache::builder(m_history.items(), m_history.revision())] {
                       BackgroundHold::waitUntilLifted();
                       SearchKeyCache keys = build();
#ifdef __GLIBC__
                       // The read and the lower-casing leave the allocator's arenas full of freed
                       // blocks that it would otherwise keep.
                       malloc_trim(0);
#endif
                       return keys;
                   });
}

const SearchKeyCache &BoardFilter::currentKeys(SearchKeyCache::Need need) const
{
    if (m_preparedKeys.valid() &&
        (need == SearchKeyCache::Need::SearchKeys ||
         m_preparedKeys.wait_for(std::chrono::seconds(0)) == std::future_status::ready)) {
        m_searchKeys = m_preparedKeys.get();
        // The counts were made with the app ids of the cache just replaced.
        m_countsRevision.reset();
    }
    m_searchKeys.update(m_history.items(), m_history.revision(), need);
    return m_searchKeys;
}

QList<qsizetype> BoardFilter::indicesOf(const SidebarSelection &selection,
                                        const QString &searchText) const
{
    const QList<ClippingItem> &items = m_history.items();
    const SearchQuery query(searchText);
    if (!query.isEmpty())
        currentKeys(SearchKeyCache::Need::SearchKeys);
    else if (SelectionTest::needsKeys(selection))
        currentKeys(SearchKeyCache::Need::AppIDs);
    const SelectionTest test(selection, m_searchKeys);

    QList<qsizetype> indices;
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ClippingItem &item = items[index];
        if (test.includes(item, index) &&
            (query.isEmpty() ||
             query.matches(m_searchKeys.type(index), m_searchKeys.keys(index), item)))
            indices.append(index);
    }
    return indices;
}

const BoardFilter::VisibleList &BoardFilter::visible(const SidebarSelection &selection,
                                                     const QString &searchText) const
{
    const quint64 itemsRevision = m_history.revision();
    if (m_visible && m_visible->itemsRevision == itemsRevision &&
        m_visible->selection == selection && m_visible->searchText == searchText)
        return m_visible->list;
    QList<qsizetype> indices = indicesOf(selection, searchText);
    // The same positions of the same clippings need no repaint.
    const bool same = m_visible && m_visible->itemsRevision == itemsRevision &&
                      m_visible->list.indices == indices;
    m_visible =
        KeptVisible{.itemsRevision = itemsRevision,
                    .selection = selection,
                    .searchText = searchText,
                    .list = {std::move(indices), same ? m_visibleRevision : ++m_visibleRevision}};
    return m_visible->list;
}

QList<ClippingItem> BoardFilter::visibleItems(const SidebarSelection &selection,
                                              const QString &searchText) const
{
    const QList<qsizetype> &indices = visible(selection, searchText).indices;
    const QList<ClippingItem> &items = m_history.items();
    // Shares the list instead of copying every clipping. Not kept: a kept share would make the
    // next change of the history copy it whole.
    if (indices.size() == items.size())
        return items;
    if (!m_visible->items) {
        QList<ClippingItem> shown;
        shown.reserve(indices.size());
        for (const qsizetype index : indices)
            shown.append(items[index]);
        m_visible->items = std::move(shown);
    }
    return *m_visible->items;
}

const SidebarCounts &BoardFilter::counts() const
{
    const quint64 revision = m_history.revision();
    if (m_countsRevision == revision)
        return m_counts;
    const SearchKeyCache &keys = currentKeys(SearchKeyCache::Need::AppIDs);
    const QList<ClippingItem> &items = m_history.items();
    SidebarCounts counts{.total = int(items.size())};
    counts.byAppID.assign(size_t(keys.appIDCount()), 0);
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ClippingItem &item = items[index];
        counts.favorites += item.isFavorite ? 1 : 0;
        for (qsizetype position = 0; position < item.collectionIDs.size(); ++position) {
            const QUuid &collectionID = item.collectionIDs[position];
            // A file may name a collection twice; the clipping still counts once.
            if (item.collectionIDs.indexOf(collectionID) == position)
                ++counts.byCollection[collectionID];
        }
        ++counts.byAppID[size_t(keys.appID(index))];
        ++counts.byType[SidebarCounts::typeIndex(item.type)];
    }
    m_counts = std::move(counts);
    m_countsRevision = revision;
    return m_counts;
}

int BoardFilter::countForApp(const QString &appName) const
{
    const SidebarCounts &all = counts();
    const std::optional<int> appID = m_searchKeys.appIDOf(appName);
    return appID ? all.byAppID[size_t(*appID)] : 0;
}

const QList<SidebarApp> &BoardFilter::sidebarApps() const
{
    const quint64 revision = m_history.revision();
    if (m_appsRevision == revision)
        return m_apps;
    const SearchKeyCache &keys = currentKeys(SearchKeyCache::Need::AppIDs);
    const QList<ClippingItem> &items = m_history.items();
    QList<SidebarApp> apps;
    QSet<QString> listed;
    for (const QString &pinned : pinnedAppNames) {
        listed.insert(pinned.toLower());
        const std::optional<int> appID = keys.appIDOf(pinned);
        QString bundleID;
        for (qsizetype index = 0; appID && index < items.size(); ++index) {
            if (keys.appID(index) == *appID) {
                bundleID = items[index].sourceAppBundleID;
                break;
            }
        }
        apps.append({pinned, bundleID});
    }
    for (const QString &hidden : hiddenAppNames)
        listed.insert(hidden);

    // Only the first clipping of each lower-cased name can add an entry.
    std::vector<bool> seen(size_t(keys.loweredAppNameCount()));
    for (qsizetype index = 0; index < items.size(); ++index) {
        const int loweredID = keys.loweredAppID(index);
        if (seen[size_t(loweredID)])
            continue;
        seen[size_t(loweredID)] = true;
        const QString &lowered = keys.loweredAppName(loweredID);
        if (!listed.contains(lowered))
            apps.append({items[index].sourceAppName, items[index].sourceAppBundleID});
    }
    m_apps = std::move(apps);
    m_appsRevision = revision;
    return m_apps;
}
