#pragma once

#include "appnametable.h"
#include "model/clippingitem.h"

#include <QList>
#include <functional>
#include <vector>

// App ids for the history, kept between calls so that the sidebar's counts and app filters do
// not compare app names again. When the history changed, a clipping's ids are worked out anew
// only when its app name changed.
class AppIDCache
{
public:
    // Brings the cache in line with items, whose owner moves the revision on every change of
    // them; afterwards the members below describe items[index].
    void update(const QList<ClippingItem> &items, quint64 itemsRevision);

    // Reads the app names of items now; the task it returns makes a cache from them, on any
    // thread, as update() would.
    static std::function<AppIDCache()> builder(const QList<ClippingItem> &items,
                                               quint64 itemsRevision);

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

    // What the ids were made from; Qt's shared strings make the comparison with an unchanged
    // clipping a pointer test.
    struct Source {
        QUuid id;
        QString sourceAppName;

        // Also adopts the item's name when it is equal but not shared, so that the next check
        // is quick again.
        bool isCurrentFor(const ClippingItem &item);
    };
    struct Packed {
        int appID = 0;
        int loweredAppID = 0;
    };
    void realign(const QList<ClippingItem> &items);
    void appendNew(Source source);

    std::optional<quint64> m_itemsRevision;
    std::vector<Source> m_sources;
    std::vector<Packed> m_packed;
    AppNameTable m_appNames;
    AppNameTable m_loweredAppNames;
};
