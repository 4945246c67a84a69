#pragma once

#include "board/appidcache.h"
#include "board/sidebarapp.h"
#include "board/sidebarcounts.h"
#include "model/sidebarselection.h"

#include <QList>
#include <future>
#include <optional>

class History;

// What the board shows of the history, and the sidebar's counts and apps, with the caches that
// keep typing and repainting cheap. Every result stays valid until the history's revision moves
// or a different sidebar choice or search text is asked for.
class BoardFilter
{
public:
    explicit BoardFilter(const History &history) : m_history(history) {}

    // Positions in the history of the clippings the entry shows that match the search text.
    QList<qsizetype> indicesOf(const SidebarSelection &selection,
                               const QString &searchText = QString()) const;

    struct VisibleList {
        QList<qsizetype> indices;
        // Moves whenever the list or the clippings in it may have changed.
        quint64 revision = 0;
    };
    const VisibleList &visible(const SidebarSelection &selection, const QString &searchText) const;
    // The visible clippings as values; shared with the history when it shows all of them.
    QList<ClippingItem> visibleItems(const SidebarSelection &selection,
                                     const QString &searchText) const;

    // Makes the app ids on a thread of its own from the history as it stands, and what the
    // first search needs, so that the first show and search find them made.
    void prepare();

    const SidebarCounts &counts() const;
    int countForApp(const QString &appName) const;
    // The pinned apps first, then every other source app by its newest clipping.
    const QList<SidebarApp> &sidebarApps() const;

private:
    const AppIDCache &currentAppIDs() const;

    const History &m_history;
    mutable AppIDCache m_appIDs;
    mutable std::future<AppIDCache> m_preparedAppIDs;

    struct KeptVisible {
        quint64 itemsRevision = 0;
        SidebarSelection selection;
        QString searchText;
        VisibleList list;
        std::optional<QList<ClippingItem>> items;
    };
    mutable std::optional<KeptVisible> m_visible;
    mutable quint64 m_visibleRevision = 0;

    mutable std::optional<quint64> m_countsRevision;
    mutable SidebarCounts m_counts;
    mutable std::optional<quint64> m_appsRevision;
    mutable QList<SidebarApp> m_apps;
};
