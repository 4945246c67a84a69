#include "appidcache.h"

#include <QHash>

namespace
{

// How far ahead a walk looks for the next kept clipping after some were removed.
constexpr size_t removalLookahead = 8;

} // namespace

bool AppIDCache::Source::isCurrentFor(const ClippingItem &item)
{
    if (id != item.id)
        return false;
    if (sourceAppName.constData() == item.sourceAppName.constData() &&
        sourceAppName.size() == item.sourceAppName.size())
        return true;
    if (sourceAppName != item.sourceAppName)
        return false;
    sourceAppName = item.sourceAppName;
    return true;
}

std::function<AppIDCache()> AppIDCache::builder(const QList<ClippingItem> &items,
                                                quint64 itemsRevision)
{
    // Only the names go along, not the list: a list shared with another thread would be
    // copied whole by the history's next change.
    std::vector<Source> sources;
    sources.reserve(size_t(items.size()));
    for (const ClippingItem &item : items)
        sources.push_back({item.id, item.sourceAppName});
    return [sources = std::move(sources), itemsRevision]() mutable {
        AppIDCache cache;
        cache.m_itemsRevision = itemsRevision;
        cache.m_sources.reserve(sources.size());
        cache.m_packed.reserve(sources.size());
        for (Source &source : sources)
            cache.appendNew(std::move(source));
        return cache;
    };
}

void AppIDCache::update(const QList<ClippingItem> &items, quint64 itemsRevision)
{
    if (m_itemsRevision != itemsRevision || m_sources.size() != size_t(items.size()))
        realign(items);
    m_itemsRevision = itemsRevision;
}

void AppIDCache::realign(const QList<ClippingItem> &items)
{
    std::vector<Source> previousSources = std::move(m_sources);
    const std::vector<Packed> previousPacked = std::move(m_packed);
    m_sources.clear();
    m_packed.clear();
    m_sources.reserve(size_t(items.size()));
    m_packed.reserve(size_t(items.size()));

    // New clippings arrive at the front and old ones leave anywhere, so walk both lists side by
    // side. After a long run of removed or moved clippings the id index finds the place again;
    // a moved clipping it is not built for just gets its ids anew.
    std::vector<bool> taken(previousSources.size());
    QHash<QUuid, size_t> previousIndex;
    size_t next = 0;
    size_t misses = 0;
    const auto takeIfCurrent = [&](size_t index, const ClippingItem &item) {
        if (taken[index] || !previousSources[index].isCurrentFor(item))
            return false;
        taken[index] = true;
        next = index + 1;
        return true;
    };
    const auto findPrevious = [&](const ClippingItem &item) -> std::optional<size_t> {
        const size_t end = std::min(next + removalLookahead, previousSources.size());
        for (size_t ahead = next; ahead < end; ++ahead) {
            if (previousSources[ahead].id == item.id) {
                misses = 0;
                return takeIfCurrent(ahead, item) ? std::optional(ahead) : std::nullopt;
            }
        }
        // A few misses in a row are new clippings, cheaper to work out than to index for.
        if (++misses <= removalLookahead)
            return std::nullopt;
        if (previousIndex.isEmpty()) {
            previousIndex.reserve(qsizetype(previousSources.size()));
            for (size_t index = 0; index < previousSources.size(); ++index)
                previousIndex.insert(previousSources[index].id, index);
        }
        const auto found = previousIndex.constFind(item.id);
        if (found == previousIndex.cend() || !takeIfCurrent(*found, item))
            return std::nullopt;
        misses = 0;
        return *found;
    };

    for (const ClippingItem &item : items) {
        if (const std::optional<size_t> previous = findPrevious(item)) {
            m_packed.push_back(previousPacked[*previous]);
            m_sources.push_back(std::move(previousSources[*previous]));
        } else {
            appendNew({item.id, item.sourceAppName});
        }
    }
}

void AppIDCache::appendNew(Source source)
{
    const QString &appName = source.sourceAppName;
    m_packed.push_back({.appID = m_appNames.idOf(appNameKey(appName)),
                        .loweredAppID = m_loweredAppNames.idOf(appName.toLower())});
    m_sources.push_back(std::move(source));
}
