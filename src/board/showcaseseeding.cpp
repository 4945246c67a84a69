#include "artwork/appiconprovider.h"
#include "clipboardmanagerstate.h"
#include "history.h"
#include "store/showcasedata.h"

#include <QFileInfo>

void ClipboardManagerState::seedShowcaseItems()
{
    const Operation operation(*this);
    ShowcaseData showcase =
        ShowcaseData::make(m_clock.now(), AppIconProvider::generateShowcaseArtwork());
    m_history->replace(std::move(showcase.items), std::move(showcase.collections));
    setSelectedItemID(items().isEmpty() ? std::nullopt : std::optional(items().first().id));
}

void ClipboardManagerState::resetToShowcaseData(ReplacedHistory replaced)
{
    const Operation operation(*this);
    std::optional<QString> kept = QString();
    if (replaced == ReplacedHistory::KeptAside) {
        // Done at one click, so nothing may be lost by it.
        kept = m_history->keepAsideBeforeDemo(m_clock.now().toDateTime());
        if (!kept) {
            showToast(tr("Demo clippings not restored: the history could not be kept aside"));
            return;
        }
    }
    seedShowcaseItems();
    setSidebarSelection(SidebarSelection::history());
    setSearchText(QString());
    ensureValidSelection();
    saveToDisk();
    if (!kept->isEmpty())
        showToast(tr("Demo clippings restored; the history before is kept as %1")
                      .arg(QFileInfo(*kept).fileName()));
}
