#include "artwork/appiconprovider.h"
#include "clipboardmanagerstate.h"
#include "store/showcasedata.h"

void ClipboardManagerState::seedShowcaseItems()
{
    const Timestamp now = m_clock.now();
    ShowcaseData showcase = ShowcaseData::make(now, AppIconProvider::generateShowcaseArtwork());
    m_collections = std::move(showcase.collections);
    publishCollections();
    m_items = std::move(showcase.items);
    publishItems();
    setSelectedItemID(m_items.isEmpty() ? std::nullopt : std::optional(m_items.first().id));
}

void ClipboardManagerState::resetToShowcaseData()
{
    seedShowcaseItems();
    setSidebarSelection(SidebarSelection::history());
    setSearchText(QString());
    ensureValidSelection();
    saveToDisk();
}
