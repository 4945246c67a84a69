#include "clipboardmanagerstate.h"

#include "boardfilter.h"
#include "capture/pasteboardwatcher.h"
#include "history.h"
#include "store/settingsstore.h"
#include "store/storefile.h"

#include <QTimer>
#include <algorithm>
#include <cstdio>

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
    : ClipboardManagerState(std::move(services), std::future<StoreFile::Contents>(), parent)
{
    finishLoading();
}

ClipboardManagerState::ClipboardManagerState(Services services,
                                             std::future<StoreFile::Contents> reading,
                                             QObject *parent)
    : QObject(parent), m_settings(services.settings), m_pasteboard(services.pasteboard),
      m_clock(services.clock), m_frontApplication(services.frontApplication),
      m_workspace(services.workspace),
      m_history(std::make_unique<History>(services.storageDirectory.isEmpty()
                                              ? StoreFile::defaultDirectory()
                                              : services.storageDirectory)),
      m_filter(std::make_unique<BoardFilter>(*m_history)),
      m_watcher(std::make_unique<PasteboardWatcher>(m_pasteboard, m_frontApplication, m_clock)),
      m_httpClient(services.httpClient)
{
    const Operation operation(*this);
    m_history->onChanged = [this](History::Changes changes) {
        historyChanged(changes.items, changes.collections);
    };
    m_history->onSavingDisabled = [this](const QString &reason) {
        std::fprintf(stderr, "quillstash: %s\n", qPrintable(reason));
        showToast(reason);
    };
    m_history->onNotice = [this](const QString &message) {
        std::fprintf(stderr, "quillstash: %s\n", qPrintable(message));
        showToast(message);
    };
    m_history->onSaveFailed = [this](const QString &message) {
        std::fprintf(stderr, "quillstash: %s\n", qPrintable(message));
        showToast(message);
    };
    readSettings();
    if (reading.valid())
        m_history->takeReading(std::move(reading));
}

void ClipboardManagerState::finishLoading(bool watchClipboard)
{
    if (m_loaded)
        return;
    m_loaded = true;
    loadOrSeedDemoData();
    if (watchClipboard)
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

ClipboardManagerState::Operation::Operation(ClipboardManagerState &state) : m_state(state)
{
    ++m_state.m_operationDepth;
}

ClipboardManagerState::Operation::~Operation()
{
    if (--m_state.m_operationDepth == 0 && m_state.m_changePending) {
        m_state.m_changePending = false;
        emit m_state.changed();
    }
}

void ClipboardManagerState::notifyChanged()
{
    if (m_operationDepth > 0)
        m_changePending = true;
    else
        emit changed();
}

void ClipboardManagerState::historyChanged(bool items, bool collections)
{
    if (items)
        emit itemsChanged();
    if (collections)
        emit collectionsChanged();
    notifyChanged();
}

const QList<ClippingItem> &ClipboardManagerState::items() const
{
    return m_history->items();
}

const QList<ClippingCollection> &ClipboardManagerState::collections() const
{
    return m_history->collections();
}

QString ClipboardManagerState::storagePath() const
{
    return m_history->storagePath();
}

void ClipboardManagerState::waitForSaved()
{
    m_history->waitForSaved();
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
    const Operation operation(*this);
    if (m_history->load(m_clock.now().toDateTime()) == History::LoadOutcome::Empty) {
        seedShowcaseItems();
        saveToDisk();
        return;
    }
    setSelectedItemID(items().first().id);
    m_filter->prepare();
}

void ClipboardManagerState::saveToDisk()
{
    const Operation operation(*this);
    m_history->save();
}

void ClipboardManagerState::toggleTextMask(const ClippingItem &item)
{
    const Operation operation(*this);
    const ClippingItem *found = m_history->find(item.id);
    if (!found)
        return;
    const bool unmasking = found->isSecret();
    if (m_history->toggleMask(item.id))
        return;
    showToast(unmasking ? tr("Could not open the text: its key is missing or it is damaged")
                        : tr("Could not seal the text: its key is not available"));
}

void ClipboardManagerState::clippingKeyArrived()
{
    const Operation operation(*this);
    m_history->sealWaitingSecrets();
}

bool ClipboardManagerState::isTextMasked(const ClippingItem &item) const
{
    return item.isSecret() && !m_isHoldingOptionKey;
}

void ClipboardManagerState::showToast(const QString &message)
{
    const Operation operation(*this);
    setStatusToastMessage(message);
    QTimer::singleShot(toastDuration, this, [this, message] {
        if (m_statusToastMessage == message)
            setStatusToastMessage(std::nullopt);
    });
}
