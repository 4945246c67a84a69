#include "searchkeycache.h"

#include <QHash>

namespace
{

// How far ahead a walk looks for the next kept clipping after some were removed.
constexpr size_t removalLookahead = 8;
// Keys of removed clippings the block may hold beyond those of the living ones.
constexpr qsizetype compactionSlack = 64 * 1024;

bool adoptIfEqual(QString &kept, const QString &current)
{
    if (kept.constData() == current.constData() && kept.size() == current.size())
        return true;
    if (kept != current)
        return false;
    kept = current;
    return true;
}

bool adoptIfEqual(std::optional<QString> &kept, const std::optional<QString> &current)
{
    if (kept.has_value() != current.has_value())
        return false;
    return !kept || adoptIfEqual(*kept, *current);
}

} // namespace

SearchKeyCache::Source SearchKeyCache::Source::of(const ClippingItem &item)
{
    return {item.id, item.type, ClippingSearchKeys::Fields::of(item)};
}

bool SearchKeyCache::Source::isCurrentFor(const ClippingItem &item)
{
    return id == item.id && type == item.type && fields.isPassword == item.isPassword &&
           adoptIfEqual(fields.textContent, item.textContent) &&
           adoptIfEqual(fields.sourceAppName, item.sourceAppName) &&
           adoptIfEqual(fields.windowTitle, item.windowTitle) &&
           adoptIfEqual(fields.fileName, item.fileName) &&
           adoptIfEqual(fields.urlTitle, item.urlTitle);
}

std::function<SearchKeyCache()> SearchKeyCache::builder(const QList<ClippingItem> &items,
                                                        quint64 itemsRevision)
{
    // Only the fields go along, not the list: a list shared with another thread would be
    // copied whole by the history's next change.
    std::vector<Source> sources;
    sources.reserve(size_t(items.size()));
    for (const ClippingItem &item : items)
        sources.push_back(Source::of(item));
    return [sources = std::move(sources), itemsRevision]() mutable {
        SearchKeyCache cache;
        cache.m_hasSearchKeys = true;
        cache.m_itemsRevision = itemsRevision;
        cache.m_sources.reserve(sources.size());
        cache.m_packed.reserve(sources.size());
        // Mostly exact, as most text is ASCII, with room for the keys of later captures: growing
        // the block would copy it whole.
        qsizetype characters = 0;
        for (const Source &source : sources)
            characters += source.fields.textContent.size() + source.fields.sourceAppName.size() + 5;
        cache.m_keys.reserve(characters + characters / 8 + compactionSlack);
        for (Source &source : sources)
            cache.appendNew(std::move(source));
        return cache;
    };
}

void SearchKeyCache::update(const QList<ClippingItem> &items, quint64 itemsRevision, Need need)
{
    if (need == Need::SearchKeys && !m_hasSearchKeys) {
        // Kept entries have no keys to reuse; the app ids come out the same again.
        m_hasSearchKeys = true;
        m_sources.clear();
        m_packed.clear();
        m_keys.clear();
    }
    if (m_itemsRevision != itemsRevision || m_sources.size() != size_t(items.size()))
        realign(items);
    m_itemsRevision = itemsRevision;
}

void SearchKeyCache::realign(const QList<ClippingItem> &items)
{
    std::vector<Source> previousSources = std::move(m_sources);
    const std::vector<Packed> previousPacked = std::move(m_packed);
    m_sources.clear();
    m_packed.clear();
    m_sources.reserve(size_t(items.size()));
    m_packed.reserve(size_t(items.size()));

    // New clippings arrive at the front and old ones leave anywhere, so walk both lists side by
    // side. After a long run of removed or moved clippings the id index finds the place again;
    // a moved clipping it is not built for just gets its keys anew.
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

    // Kept keys stay where they lie and new ones go at the end of the block, so that a capture
    // does not copy every key; once removed clippings' keys are most of it, the block is made
    // anew in history order.
    qsizetype liveBytes = 0;
    for (const ClippingItem &item : items) {
        if (const std::optional<size_t> previous = findPrevious(item)) {
            m_packed.push_back(previousPacked[*previous]);
            m_sources.push_back(std::move(previousSources[*previous]));
        } else {
            appendNew(Source::of(item));
        }
        liveBytes += m_packed.back().keysLength;
    }
    if (m_keys.size() > 2 * liveBytes + compactionSlack)
        compact(liveBytes);
}

void SearchKeyCache::compact(qsizetype liveBytes)
{
    QByteArray keys;
    keys.reserve(liveBytes);
    for (Packed &packed : m_packed) {
        const qsizetype keysStart = keys.size();
        keys.append(m_keys.constData() + packed.keysStart, packed.keysLength);
        packed.keysStart = keysStart;
    }
    m_keys = std::move(keys);
}

void SearchKeyCache::appendNew(Source source)
{
    const qsizetype keysStart = m_keys.size();
    const bool isWellFormed = !m_hasSearchKeys || ClippingSearchKeys::append(m_keys, source.fields);
    const QString &appName = source.fields.sourceAppName;
    m_packed.push_back({.keysStart = keysStart,
                        .keysLength = m_keys.size() - keysStart,
                        .appID = m_appNames.idOf(appNameKey(appName)),
                        .loweredAppID = m_loweredAppNames.idOf(appName.toLower()),
                        .type = source.type,
                        .isWellFormed = isWellFormed});
    m_sources.push_back(std::move(source));
}
