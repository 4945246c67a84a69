#include "boardfilter.h"
#include "clipboardmanagerstate.h"
#include "history.h"

void ClipboardManagerState::createCollection(const QString &name)
{
    const Operation operation(*this);
    const QString trimmed = name.trimmed();
    if (!trimmed.isEmpty())
        m_history->addCollection(ClippingCollection::named(trimmed));
}

void ClipboardManagerState::deleteCollection(const ClippingCollection &collection)
{
    const Operation operation(*this);
    if (!m_history->removeCollection(collection.id))
        saveToDisk();
    if (m_sidebarSelection == SidebarSelection::collection(collection.id))
        setSidebarSelection(SidebarSelection::history());
}

void ClipboardManagerState::addItemToCollection(const QUuid &itemID, const QUuid &collectionID)
{
    const Operation operation(*this);
    m_history->addToCollection(itemID, collectionID);
}

void ClipboardManagerState::removeItemFromCollection(const QUuid &itemID, const QUuid &collectionID)
{
    const Operation operation(*this);
    if (m_history->find(itemID) && !m_history->removeFromCollection(itemID, collectionID))
        saveToDisk();
}

void ClipboardManagerState::toggleFavorite(const ClippingItem &item)
{
    const Operation operation(*this);
    m_history->toggleFavorite(item.id);
}

void ClipboardManagerState::deleteItem(const ClippingItem &item)
{
    const Operation operation(*this);
    if (m_history->removeItem(item.id))
        ensureValidSelection();
}

void ClipboardManagerState::clearHistory()
{
    const Operation operation(*this);
    if (!m_history->removeUnkept())
        saveToDisk();
    ensureValidSelection();
    showToast(tr("History Cleared"));
}

void ClipboardManagerState::clearContent(const SidebarSelection &selection)
{
    const Operation operation(*this);
    QString toast;
    switch (selection.kind()) {
    case SidebarSelection::Kind::History:
        toast = QStringLiteral("All Clippings Cleared");
        break;
    case SidebarSelection::Kind::Favorites:
        toast = QStringLiteral("Favorites Cleared");
        break;
    case SidebarSelection::Kind::Collection:
        toast = QStringLiteral("Collection Content Cleared");
        break;
    case SidebarSelection::Kind::App:
        toast = selection.appName() + QStringLiteral(" Clippings Cleared");
        break;
    case SidebarSelection::Kind::Type:
        toast = rawValue(selection.clippingType()) + QStringLiteral(" Clippings Cleared");
        break;
    }

    const bool changed = selection.kind() == SidebarSelection::Kind::Collection
                             ? m_history->emptyCollection(selection.collectionID())
                             : m_history->removeItemsAt(m_filter->indicesOf(selection));
    if (!changed)
        saveToDisk();
    showToast(toast);
    ensureValidSelection();
}
