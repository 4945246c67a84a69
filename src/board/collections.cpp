#include "clipboardmanagerstate.h"

#include <algorithm>

namespace
{

ClippingItem *findItem(QList<ClippingItem> &items, const QUuid &id)
{
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const ClippingItem &item) { return item.id == id; });
    return found == items.end() ? nullptr : &*found;
}

} // namespace

void ClipboardManagerState::createCollection(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    m_collections.append(ClippingCollection::named(trimmed));
    publishCollections();
    saveToDisk();
}

void ClipboardManagerState::deleteCollection(const ClippingCollection &collection)
{
    const QUuid id = collection.id;
    if (m_collections.removeIf([&](const ClippingCollection &kept) { return kept.id == id; }) > 0)
        publishCollections();
    bool stripped = false;
    for (ClippingItem &item : m_items) {
        if (item.collectionIDs.contains(id)) {
            item.collectionIDs.removeAll(id);
            stripped = true;
        }
    }
    if (stripped)
        publishItems();
    if (m_sidebarSelection == SidebarSelection::collection(id))
        setSidebarSelection(SidebarSelection::history());
    saveToDisk();
}

void ClipboardManagerState::addItemToCollection(const QUuid &itemID, const QUuid &collectionID)
{
    ClippingItem *item = findItem(m_items, itemID);
    if (!item || item->collectionIDs.contains(collectionID))
        return;
    item->collectionIDs.append(collectionID);
    publishItems();
    saveToDisk();
}

void ClipboardManagerState::removeItemFromCollection(const QUuid &itemID, const QUuid &collectionID)
{
    ClippingItem *item = findItem(m_items, itemID);
    if (!item)
        return;
    if (item->collectionIDs.removeAll(collectionID) > 0)
        publishItems();
    saveToDisk();
}

void ClipboardManagerState::toggleFavorite(const ClippingItem &item)
{
    ClippingItem *found = findItem(m_items, item.id);
    if (!found)
        return;
    found->isFavorite = !found->isFavorite;
    publishItems();
    saveToDisk();
}

void ClipboardManagerState::deleteItem(const ClippingItem &item)
{
    const QUuid id = item.id;
    if (m_items.removeIf([&](const ClippingItem &kept) { return kept.id == id; }) == 0)
        return;
    publishItems();
    ensureValidSelection();
    saveToDisk();
}

void ClipboardManagerState::clearHistory()
{
    if (m_items.removeIf([](const ClippingItem &item) {
            return !item.isFavorite && item.collectionIDs.isEmpty();
        }) > 0)
        publishItems();
    ensureValidSelection();
    saveToDisk();
    showToast(QStringLiteral("History Cleared"));
}

void ClipboardManagerState::clearContent(const SidebarSelection &selection)
{
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

    bool changed = false;
    if (selection.kind() == SidebarSelection::Kind::Collection) {
        // The collection stays; only its memberships go.
        for (ClippingItem &item : m_items)
            changed = item.collectionIDs.removeAll(selection.collectionID()) > 0 || changed;
    } else {
        const QList<qsizetype> cleared = indicesOf(selection);
        QList<ClippingItem> kept;
        kept.reserve(m_items.size() - cleared.size());
        auto next = cleared.cbegin();
        for (qsizetype index = 0; index < m_items.size(); ++index) {
            if (next != cleared.cend() && *next == index)
                ++next;
            else
                kept.append(m_items[index]);
        }
        changed = !cleared.isEmpty();
        m_items = std::move(kept);
    }
    if (changed)
        publishItems();

    showToast(toast);
    ensureValidSelection();
    saveToDisk();
}
