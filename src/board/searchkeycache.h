#pragma once

#include "appnametable.h"
#include "clippingsearchkeys.h"

#include <QList>
#include <functional>
#include <vector>

// Search keys and app ids for the history, kept between calls so that typing into the search
// field does not lower-case every clipping again. When the history changed, a clipping's keys
// are worked out anew only when one of its searched fields changed. The keys of all clippings
// lie in one block, so that a search reads memory mostly front to back.
class SearchKeyCache
{
public:
    // The app ids alone cost a fraction of the search keys, and the sidebar needs only them.
    enum class Need { AppIDs, SearchKeys };

    // Brings the cache in line with items, whose owner moves the revision on every change of
    // them; afterwards the members below describe items[index]. Once search keys were needed
    // they are always kept.
    void update(const QList<ClippingItem> &items, quint64 itemsRevision, Need need);

    // Reads the searched fields of items now; the task it returns makes a cache with every
    // search key from them, on any thread, as update() with Need::SearchKeys would.
    static std::function<SearchKeyCache()> builder(const QList<ClippingItem> &items,
                                                   quint64 itemsRevision);

    ClippingSearchKeys keys(qsizetype index) const
    {
        Q_ASSERT(m_hasSearchKeys);
        const Packed &packed = m_packed[size_t(index)];
        return {QByteArrayView(m_keys.constData() + packed.keysStart, packed.keysLength),
                packed.isWellFormed};
    }
    ClippingType type(qsizetype index) const { return m_packed[size_t(index)].type; }
    // Clippings whose app names are equal ignoring case share an app id.
    int appID(qsizetype index) const { return m_packed[size_t(index)].appID; }
    std::optional<int> appIDOf(const QString &appName) const
    {
        return m_appNames.find(appNameKey(appName));
    }
    // App ids run from 0 to this count less one.
    int appIDCount() const { return m_appNames.size(); }
    // Clippings whose app names are equal once lower-cased share a lowered id.
    int loweredAppID(qsizetype index) const { return m_packed[size_t(index)].loweredAppID; }
    const QString &loweredAppName(int loweredID) const { return m_loweredAppNames.name(loweredID); }
    int loweredAppNameCount() const { return m_loweredAppNames.size(); }

private:
    static QString appNameKey(const QString &appName) { return appName.toCaseFolded(); }

    // The fields the keys were made from; Qt's shared strings make the comparison with an
    // unchanged clipping a pointer test.
    struct Source {
        QUuid id;
        ClippingType type = ClippingType::Text;
        ClippingSearchKeys::Fields fields;

        static Source of(const ClippingItem &item);
        // Also adopts the item's strings when they are equal but not shared, so that the next
        // check is quick again.
        bool isCurrentFor(const ClippingItem &item);
    };
    // What a search reads per clipping, kept small and in history order.
    struct Packed {
        qsizetype keysStart = 0;
        qsizetype keysLength = 0;
        int appID = 0;
        int loweredAppID = 0;
        ClippingType type = ClippingType::Text;
        bool isWellFormed = true;
    };
    void realign(const QList<ClippingItem> &items);
    void appendNew(Source source);
    void compact(qsizetype liveBytes);

    std::optional<quint64> m_itemsRevision;
    bool m_hasSearchKeys = false;
    std::vector<Source> m_sources;
    std::vector<Packed> m_packed;
    QByteArray m_keys;
    AppNameTable m_appNames;
    AppNameTable m_loweredAppNames;
};
