#include "artwork/appiconprovider.h"
#include "clipboardmanagerstate.h"
#include "history.h"
#include "store/showcasedata.h"

void ClipboardManagerState::seedShowcaseItems()
{
    const Operation operation(*this);
    ShowcaseData showcase =
        ShowcaseData::make(m_clock.now(), AppIconProvider::generateShowcaseArtwork());
    m_history->replace(std::move(showcase.items), std::move(showcase.collections));
    setSelectedItemID(items().isEmpty() ? std::nullopt : std::optional(items().first().id));
}

void ClipboardManagerState::resetToShowcaseData()
{
    const Operation operation(*this);
    seedShowcaseItems();
    setSidebarSelection(SidebarSelection::history());
    setSearchText(QString());
    ensureValidSelection();
    saveToDisk();
}
