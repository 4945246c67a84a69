#include "boardfilter.h"

#include "history.h"
#include "searchquery.h"
#include "store/backgroundhold.h"

#include <QSet>
#include <array>
#include <chrono>

namespace
{

// How many clippings ahead a search asks for the text it will read.
constexpr qsizetype searchLookahead = 8;

const std::array pinnedAppNames{QStringLiteral("Sketch"), QStringLiteral("Chrome"),
                                QStringLiteral("Finder"), QStringLiteral("Mail"),
                                QStringLiteral("Xcode"),  QStringLiteral("Slack")};
const std::array hiddenAppNames{QStringLiteral("textedit"), QStringLiteral("1password"),
                                QStringLiteral("photoshop")};

// Whether a clipping belongs to a sidebar entry. App names are compared through the cache's app
// ids, so the cache must be current while a test for an app is in use.
class SelectionTest
{
public:
    SelectionTest(const SidebarSelection &selection, const AppIDCache &appIDs)
        : m_selection(selection), m_appIDs(appIDs)
    {
        if (needsAppIDs())
            m_appID = appIDs.appIDOf(selection.appName());
    }

    static bool needsAppIDs(const SidebarSelection &selection)
    {
        return selection.kind() == SidebarSelection::Kind::App;
    }
    bool needsAppIDs() const { return needsAppIDs(m_selection); }

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
            return m_appID && m_appIDs.appID(index) == *m_appID;
        case SidebarSelection::Kind::Type:
            return item.type == m_selection.clippingType();
        }
        Q_UNREACHABLE();
        return false;
    }

private:
    SidebarSelection m_selection;
    const AppIDCache &m_appIDs;
    std::optional<int> m_appID;
};

} // namespace

void BoardFilter::prepare()
{
    m_preparedAppIDs = std::async(
        std::launch::async, [build = AppIDCache::builder(m_history.items(), m_history.revision())] {
            BackgroundHold::waitUntilLifted();
            SubstringFinder::prepare();
            return build();
        });
}

const AppIDCache &BoardFilter::currentAppIDs() const
{
    if (m_preparedAppIDs.valid() &&
        m_preparedAppIDs.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        m_appIDs = m_preparedAppIDs.get();
        // The counts were made with the app ids of the cache just replaced.
        m_countsRevision.reset();
    }
    m_appIDs.update(m_history.items(), m_history.revision());
    return m_appIDs;
}

QList<qsizetype> BoardFilter::indicesOf(const SidebarSelection &selection,
                                        const QString &searchText) const
{
    const QList<ClippingItem> &items = m_history.items();
    const SearchQuery query(searchText);
    if (SelectionTest::needsAppIDs(selection))
        currentAppIDs();
    const SelectionTest test(selection, m_appIDs);

    QList<qsizetype> indices;
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ClippingItem &item = items[index];
#if defined(__GNUC__)
        // Each text lies in a block of its own; asking for one a few clippings ahead hides most
        // of the wait for memory that a search over the whole history is made of.
        if (!query.isEmpty() && index + searchLookahead < items.size())
            __builtin_prefetch(items[index + searchLookahead].textContent.constData());
#endif
        if (test.includes(item, index) && (query.isEmpty() || query.matches(item)))
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
    const AppIDCache &appIDs = currentAppIDs();
    const QList<ClippingItem> &items = m_history.items();
    SidebarCounts counts{.total = int(items.size())};
    counts.byAppID.assign(size_t(appIDs.appIDCount()), 0);
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ClippingItem &item = items[index];
        counts.favorites += item.isFavorite ? 1 : 0;
        for (qsizetype position = 0; position < item.collectionIDs.size(); ++position) {
            const QUuid &collectionID = item.collectionIDs[position];
            // A file may name a collection twice; the clipping still counts once.
            if (item.collectionIDs.indexOf(collectionID) == position)
                ++counts.byCollection[collectionID];
        }
        ++counts.byAppID[size_t(appIDs.appID(index))];
        ++counts.byType[SidebarCounts::typeIndex(item.type)];
    }
    m_counts = std::move(counts);
    m_countsRevision = revision;
    return m_counts;
}

int BoardFilter::countForApp(const QString &appName) const
{
    const SidebarCounts &all = counts();
    const std::optional<int> appID = m_appIDs.appIDOf(appName);
    return appID ? all.byAppID[size_t(*appID)] : 0;
}

const QList<SidebarApp> &BoardFilter::sidebarApps() const
{
    const quint64 revision = m_history.revision();
    if (m_appsRevision == revision)
        return m_apps;
    const AppIDCache &appIDs = currentAppIDs();
    const QList<ClippingItem> &items = m_history.items();
    QList<SidebarApp> apps;
    QSet<QString> listed;
    for (const QString &pinned : pinnedAppNames) {
        listed.insert(pinned.toLower());
        const std::optional<int> appID = appIDs.appIDOf(pinned);
        QString bundleID;
        for (qsizetype index = 0; appID && index < items.size(); ++index) {
            if (appIDs.appID(index) == *appID) {
                bundleID = items[index].sourceAppBundleID;
                break;
            }
        }
        apps.append({pinned, bundleID});
    }
    for (const QString &hidden : hiddenAppNames)
        listed.insert(hidden);

    // Only the first clipping of each lower-cased name can add an entry.
    std::vector<bool> seen(size_t(appIDs.loweredAppNameCount()));
    for (qsizetype index = 0; index < items.size(); ++index) {
        const int loweredID = appIDs.loweredAppID(index);
        if (seen[size_t(loweredID)])
            continue;
        seen[size_t(loweredID)] = true;
        const QString &lowered = appIDs.loweredAppName(loweredID);
        if (!listed.contains(lowered))
            apps.append({items[index].sourceAppName, items[index].sourceAppBundleID});
    }
    m_apps = std::move(apps);
    m_appsRevision = revision;
    return m_apps;
}
