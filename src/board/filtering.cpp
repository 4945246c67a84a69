#include "boardfilter.h"
#include "clipboardmanagerstate.h"
#include "history.h"

QList<ClippingItem> ClipboardManagerState::filteredItems() const
{
    return m_filter->visibleItems(m_sidebarSelection, m_searchText);
}

const QList<qsizetype> &ClipboardManagerState::visibleIndices() const
{
    return m_filter->visible(m_sidebarSelection, m_searchText).indices;
}

const ClippingItem &ClipboardManagerState::visibleItem(qsizetype position) const
{
    return items()[visibleIndices()[position]];
}

quint64 ClipboardManagerState::visibleRevision() const
{
    return m_filter->visible(m_sidebarSelection, m_searchText).revision;
}

int ClipboardManagerState::totalHistoryCount() const
{
    return m_filter->counts().total;
}

int ClipboardManagerState::favoritesCount() const
{
    return m_filter->counts().favorites;
}

int ClipboardManagerState::countForCollection(const QUuid &collectionID) const
{
    return m_filter->counts().byCollection.value(collectionID);
}

int ClipboardManagerState::countForApp(const QString &appName) const
{
    return m_filter->countForApp(appName);
}

int ClipboardManagerState::countForType(ClippingType type) const
{
    return m_filter->counts().byType[SidebarCounts::typeIndex(type)];
}

QList<SidebarApp> ClipboardManagerState::sidebarApps() const
{
    return m_filter->sidebarApps();
}
