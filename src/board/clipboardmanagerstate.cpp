#include "clipboardmanagerstate.h"

#include "capture/pasteboard.h"
#include "store/settingsstore.h"

#include <QTimer>
#include <algorithm>

namespace
{

ClipboardManagerState *sharedState = nullptr;

const QString gridRowsKey = QStringLiteral("Quillstash.gridRows");
const QString gridColumnsKey = QStringLiteral("Quillstash.gridColumns");
const QString sidebarVisibleKey = QStringLiteral("Quillstash.sidebarVisible");
const QString historyLimitKey = QStringLiteral("Quillstash.historyLimit");
const QString ignorePasswordsKey = QStringLiteral("Quillstash.ignorePasswords");
const QString autoPasteKey = QStringLiteral("Quillstash.autoPasteDirect");
const QString fullCardColorKey = QStringLiteral("Quillstash.fullCardColor");
const QString resetSecondsKey = QStringLiteral("Quillstash.resetSeconds");
const QString appearanceKey = QStringLiteral("Quillstash.appearance");

constexpr int maximumRows = 10;
constexpr int maximumColumns = 6;
constexpr auto toastDuration = std::chrono::milliseconds(1600);

int positiveOr(std::optional<int> stored, int fallback)
{
    return stored && *stored >= 1 ? *stored : fallback;
}

} // namespace

ClipboardManagerState::ClipboardManagerState(Services services, QObject *parent)
    : QObject(parent), m_settings(services.settings), m_pasteboard(services.pasteboard),
      m_clock(services.clock), m_frontApplication(services.frontApplication),
      m_workspace(services.workspace), m_lastChangeCount(m_pasteboard.changeCount()),
      m_store(services.storageDirectory), m_httpClient(services.httpClient)
{
    readSettings();
    loadOrSeedDemoData();
    startMonitoringPasteboard();
}

ClipboardManagerState::~ClipboardManagerState()
{
    if (sharedState == this)
        sharedState = nullptr;
}

ClipboardManagerState *ClipboardManagerState::shared()
{
    return sharedState;
}

void ClipboardManagerState::setShared(ClipboardManagerState *state)
{
    sharedState = state;
}

void ClipboardManagerState::readSettings()
{
    m_gridRows = positiveOr(m_settings.intValue(gridRowsKey), 3);
    m_gridColumns = positiveOr(m_settings.intValue(gridColumnsKey), 3);
    m_isSidebarVisible = m_settings.boolValue(sidebarVisibleKey).value_or(true);
    m_historyLimit = positiveOr(m_settings.intValue(historyLimitKey), 10000);
    m_ignorePasswords = m_settings.boolValue(ignorePasswordsKey).value_or(false);
    m_autoPasteIntoFrontmostApp = m_settings.boolValue(autoPasteKey).value_or(false);
    m_fullCardColorPreview = m_settings.boolValue(fullCardColorKey).value_or(false);
    m_resetFiltersAfterSeconds = m_settings.intValue(resetSecondsKey).value_or(0);
    const std::optional<QString> appearance = m_settings.stringValue(appearanceKey);
    m_appearancePreference =
        appearance
            ? appearancePreferenceFromRawValue(*appearance).value_or(AppearancePreference::Dark)
            : AppearancePreference::Dark;
}

template <typename T>
void ClipboardManagerState::publish(T &member, T value, void (ClipboardManagerState::*signal)())
{
    if (member == value)
        return;
    member = std::move(value);
    emit(this->*signal)();
    emit changed();
}

void ClipboardManagerState::publishItems()
{
    ++m_itemsRevision;
    emit itemsChanged();
    emit changed();
}

void ClipboardManagerState::publishCollections()
{
    emit collectionsChanged();
    emit changed();
}

void ClipboardManagerState::setGridRows(int rows)
{
    m_settings.setValue(gridRowsKey, rows);
    publish(m_gridRows, rows, &ClipboardManagerState::gridRowsChanged);
}

void ClipboardManagerState::setGridColumns(int columns)
{
    m_settings.setValue(gridColumnsKey, columns);
    publish(m_gridColumns, columns, &ClipboardManagerState::gridColumnsChanged);
}

void ClipboardManagerState::setIsSidebarVisible(bool visible)
{
    m_settings.setValue(sidebarVisibleKey, visible);
    publish(m_isSidebarVisible, visible, &ClipboardManagerState::isSidebarVisibleChanged);
}

void ClipboardManagerState::setHistoryLimit(int limit)
{
    m_settings.setValue(historyLimitKey, limit);
    publish(m_historyLimit, limit, &ClipboardManagerState::historyLimitChanged);
}

void ClipboardManagerState::setIgnorePasswords(bool ignore)
{
    m_settings.setValue(ignorePasswordsKey, ignore);
    publish(m_ignorePasswords, ignore, &ClipboardManagerState::ignorePasswordsChanged);
}

void ClipboardManagerState::setAutoPasteIntoFrontmostApp(bool autoPaste)
{
    m_settings.setValue(autoPasteKey, autoPaste);
    publish(m_autoPasteIntoFrontmostApp, autoPaste,
            &ClipboardManagerState::autoPasteIntoFrontmostAppChanged);
}

void ClipboardManagerState::setFullCardColorPreview(bool fullCard)
{
    m_settings.setValue(fullCardColorKey, fullCard);
    publish(m_fullCardColorPreview, fullCard, &ClipboardManagerState::fullCardColorPreviewChanged);
}

void ClipboardManagerState::setAppearancePreference(AppearancePreference appearance)
{
    m_settings.setValue(appearanceKey, rawValue(appearance));
    publish(m_appearancePreference, appearance,
            &ClipboardManagerState::appearancePreferenceChanged);
}

void ClipboardManagerState::setResetFiltersAfterSeconds(int seconds)
{
    m_settings.setValue(resetSecondsKey, seconds);
    publish(m_resetFiltersAfterSeconds, seconds,
            &ClipboardManagerState::resetFiltersAfterSecondsChanged);
}

void ClipboardManagerState::incrementRows()
{
    setGridRows(std::min(m_gridRows + 1, maximumRows));
}

void ClipboardManagerState::decrementRows()
{
    setGridRows(std::max(m_gridRows - 1, 1));
}

void ClipboardManagerState::incrementColumns()
{
    setGridColumns(std::min(m_gridColumns + 1, maximumColumns));
}

void ClipboardManagerState::decrementColumns()
{
    setGridColumns(std::max(m_gridColumns - 1, 1));
}

void ClipboardManagerState::setSidebarSelection(const SidebarSelection &selection)
{
    publish(m_sidebarSelection, selection, &ClipboardManagerState::sidebarSelectionChanged);
}

void ClipboardManagerState::setSearchText(const QString &text)
{
    publish(m_searchText, text, &ClipboardManagerState::searchTextChanged);
}

void ClipboardManagerState::setSelectedItemID(const std::optional<QUuid> &id)
{
    publish(m_selectedItemID, id, &ClipboardManagerState::selectedItemIDChanged);
}

void ClipboardManagerState::setQuickLookItem(const std::optional<ClippingItem> &item)
{
    publish(m_quickLookItem, item, &ClipboardManagerState::quickLookItemChanged);
}

void ClipboardManagerState::setIsCreatingCollection(bool creating)
{
    publish(m_isCreatingCollection, creating, &ClipboardManagerState::isCreatingCollectionChanged);
}

void ClipboardManagerState::setNewCollectionName(const QString &name)
{
    publish(m_newCollectionName, name, &ClipboardManagerState::newCollectionNameChanged);
}

void ClipboardManagerState::setSelectedPreferencesTab(PreferencesTab tab)
{
    publish(m_selectedPreferencesTab, tab, &ClipboardManagerState::selectedPreferencesTabChanged);
}

void ClipboardManagerState::setStatusToastMessage(const std::optional<QString> &message)
{
    publish(m_statusToastMessage, message, &ClipboardManagerState::statusToastMessageChanged);
}

void ClipboardManagerState::setIsWindowAnchored(bool anchored)
{
    publish(m_isWindowAnchored, anchored, &ClipboardManagerState::isWindowAnchoredChanged);
    if (onAnchorChanged)
        onAnchorChanged(anchored);
}

void ClipboardManagerState::setIsPaused(bool paused)
{
    publish(m_isPaused, paused, &ClipboardManagerState::isPausedChanged);
}

void ClipboardManagerState::setIsHoldingOptionKey(bool holding)
{
    publish(m_isHoldingOptionKey, holding, &ClipboardManagerState::isHoldingOptionKeyChanged);
}

void ClipboardManagerState::setIsHoldingCommandKey(bool holding)
{
    publish(m_isHoldingCommandKey, holding, &ClipboardManagerState::isHoldingCommandKeyChanged);
}

void ClipboardManagerState::loadOrSeedDemoData()
{
    StoreFile::ReadResult read = m_store.read();
    if (read.status == StoreFile::ReadStatus::Damaged)
        m_store.keepDamaged(m_clock.now().toDateTime());
    if (read.status != StoreFile::ReadStatus::Loaded || read.store.items.isEmpty()) {
        seedShowcaseItems();
        saveToDisk();
        return;
    }

    bool migrated = false;
    for (ClippingItem &item : read.store.items) {
        if (item.sourceAppName == u"Google Chrome")
            item.sourceAppName = QStringLiteral("Chrome");
        if (item.isSecret() && (!item.textContent.isEmpty() || !item.isPassword)) {
            item.applyMaskState(true);
            migrated = true;
        }
    }
    m_items = std::move(read.store.items);
    m_collections = std::move(read.store.collections);
    publishItems();
    publishCollections();
    setSelectedItemID(m_items.first().id);
    if (migrated)
        saveToDisk();
}

void ClipboardManagerState::saveToDisk()
{
    bool sealed = false;
    for (ClippingItem &item : m_items) {
        if (item.isSecret() && !item.textContent.isEmpty()) {
            item.applyMaskState(true);
            sealed = true;
        }
    }
    if (sealed)
        publishItems();
    // A failed write leaves the old file and the memory state as they are; the next save
    // tries again.
    m_store.write(m_items, m_collections);
}

void ClipboardManagerState::toggleTextMask(const ClippingItem &item)
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(),
                     [&](const ClippingItem &candidate) { return candidate.id == item.id; });
    if (found == m_items.end())
        return;
    found->applyMaskState(!found->isSecret());
    publishItems();
    saveToDisk();
}

bool ClipboardManagerState::isTextMasked(const ClippingItem &item) const
{
    return item.isSecret() && !m_isHoldingOptionKey;
}

void ClipboardManagerState::showToast(const QString &message)
{
    setStatusToastMessage(message);
    QTimer::singleShot(toastDuration, this, [this, message] {
        if (m_statusToastMessage == message)
            setStatusToastMessage(std::nullopt);
    });
}
