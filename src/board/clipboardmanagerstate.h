#pragma once

#include "board/sidebarapp.h"
#include "model/clippingcollection.h"
#include "model/clippingitem.h"
#include "model/clock.h"
#include "model/sidebarselection.h"
#include "store/appearancepreference.h"
#include "store/preferencestab.h"
#include "store/storefile.h"
#include "update/httpclient.h"
#include "update/updatecheckstatus.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>

class BoardFilter;
class FrontApplication;
class History;
class Pasteboard;
class PasteboardWatcher;
class SettingsStore;
class Workspace;

// The program's one state object: the history, the collections, the settings and all view
// state. Views observe it (every published change also emits changed()) and change it only
// through its operations, each of which emits changed() at most once. Everything runs on the
// main thread.
class ClipboardManagerState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int gridRows READ gridRows WRITE setGridRows NOTIFY gridRowsChanged)
    Q_PROPERTY(int gridColumns READ gridColumns WRITE setGridColumns NOTIFY gridColumnsChanged)
    Q_PROPERTY(bool isSidebarVisible READ isSidebarVisible WRITE setIsSidebarVisible NOTIFY
                   isSidebarVisibleChanged)
    Q_PROPERTY(int historyLimit READ historyLimit WRITE setHistoryLimit NOTIFY historyLimitChanged)
    Q_PROPERTY(bool ignorePasswords READ ignorePasswords WRITE setIgnorePasswords NOTIFY
                   ignorePasswordsChanged)
    Q_PROPERTY(bool autoPasteIntoFrontmostApp READ autoPasteIntoFrontmostApp WRITE
                   setAutoPasteIntoFrontmostApp NOTIFY autoPasteIntoFrontmostAppChanged)
    Q_PROPERTY(bool fullCardColorPreview READ fullCardColorPreview WRITE setFullCardColorPreview
                   NOTIFY fullCardColorPreviewChanged)
    Q_PROPERTY(AppearancePreference appearancePreference READ appearancePreference WRITE
                   setAppearancePreference NOTIFY appearancePreferenceChanged)
    Q_PROPERTY(int resetFiltersAfterSeconds READ resetFiltersAfterSeconds WRITE
                   setResetFiltersAfterSeconds NOTIFY resetFiltersAfterSecondsChanged)

    Q_PROPERTY(QList<ClippingItem> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(QList<ClippingCollection> collections READ collections NOTIFY collectionsChanged)
    Q_PROPERTY(SidebarSelection sidebarSelection READ sidebarSelection WRITE setSidebarSelection
                   NOTIFY sidebarSelectionChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(std::optional<QUuid> selectedItemID READ selectedItemID WRITE setSelectedItemID
                   NOTIFY selectedItemIDChanged)
    Q_PROPERTY(std::optional<ClippingItem> quickLookItem READ quickLookItem WRITE setQuickLookItem
                   NOTIFY quickLookItemChanged)
    Q_PROPERTY(bool isCreatingCollection READ isCreatingCollection WRITE setIsCreatingCollection
                   NOTIFY isCreatingCollectionChanged)
    Q_PROPERTY(QString newCollectionName READ newCollectionName WRITE setNewCollectionName NOTIFY
                   newCollectionNameChanged)
    Q_PROPERTY(PreferencesTab selectedPreferencesTab READ selectedPreferencesTab WRITE
                   setSelectedPreferencesTab NOTIFY selectedPreferencesTabChanged)
    Q_PROPERTY(std::optional<QString> statusToastMessage READ statusToastMessage NOTIFY
                   statusToastMessageChanged)
    Q_PROPERTY(bool isWindowAnchored READ isWindowAnchored WRITE setIsWindowAnchored NOTIFY
                   isWindowAnchoredChanged)
    Q_PROPERTY(bool isPaused READ isPaused WRITE setIsPaused NOTIFY isPausedChanged)
    Q_PROPERTY(bool isHoldingOptionKey READ isHoldingOptionKey WRITE setIsHoldingOptionKey NOTIFY
                   isHoldingOptionKeyChanged)
    Q_PROPERTY(bool isHoldingCommandKey READ isHoldingCommandKey WRITE setIsHoldingCommandKey NOTIFY
                   isHoldingCommandKeyChanged)

    // Update check.
    Q_PROPERTY(UpdateCheckStatus updateCheckStatus READ updateCheckStatus WRITE setUpdateCheckStatus
                   NOTIFY updateCheckStatusChanged)
    Q_PROPERTY(bool copiedBrewUpgradeCommand READ copiedBrewUpgradeCommand NOTIFY
                   copiedBrewUpgradeCommandChanged)

public:
    // What the state works with; the shell passes the real adapters, tests pass fakes.
    struct Services {
        SettingsStore &settings;
        Pasteboard &pasteboard;
        const Clock &clock;
        FrontApplication &frontApplication;
        Workspace &workspace;
        HttpClient &httpClient;
        // Empty for the user's own data folder.
        QString storageDirectory;
    };

    // Loads the store and starts capture.
    explicit ClipboardManagerState(Services services, QObject *parent = nullptr);
    // Leaves the history empty until finishLoading(), which takes what `reading` (a read of the
    // store begun earlier, on another thread) found, so that the caller can build its windows
    // meanwhile. finishLoading() must come before anything else.
    ClipboardManagerState(Services services, std::future<StoreFile::Contents> reading,
                          QObject *parent = nullptr);
    ~ClipboardManagerState() override;

    // The instance the shell created at launch; null before that.
    static ClipboardManagerState *shared();
    static void setShared(ClipboardManagerState *state);

    // Persisted settings: read once at creation, written on every assignment.
    int gridRows() const { return m_gridRows; }
    void setGridRows(int rows);
    int gridColumns() const { return m_gridColumns; }
    void setGridColumns(int columns);
    bool isSidebarVisible() const { return m_isSidebarVisible; }
    void setIsSidebarVisible(bool visible);
    int historyLimit() const { return m_historyLimit; }
    void setHistoryLimit(int limit);
    bool ignorePasswords() const { return m_ignorePasswords; }
    void setIgnorePasswords(bool ignore);
    bool autoPasteIntoFrontmostApp() const { return m_autoPasteIntoFrontmostApp; }
    void setAutoPasteIntoFrontmostApp(bool autoPaste);
    bool fullCardColorPreview() const { return m_fullCardColorPreview; }
    void setFullCardColorPreview(bool fullCard);
    AppearancePreference appearancePreference() const { return m_appearancePreference; }
    void setAppearancePreference(AppearancePreference appearance);
    int resetFiltersAfterSeconds() const { return m_resetFiltersAfterSeconds; }
    void setResetFiltersAfterSeconds(int seconds);

    void incrementRows();
    void decrementRows();
    void incrementColumns();
    void decrementColumns();

    // View state.
    const QList<ClippingItem> &items() const;
    const QList<ClippingCollection> &collections() const;
    SidebarSelection sidebarSelection() const { return m_sidebarSelection; }
    void setSidebarSelection(const SidebarSelection &selection);
    QString searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    std::optional<QUuid> selectedItemID() const { return m_selectedItemID; }
    void setSelectedItemID(const std::optional<QUuid> &id);
    std::optional<ClippingItem> quickLookItem() const { return m_quickLookItem; }
    void setQuickLookItem(const std::optional<ClippingItem> &item);
    bool isCreatingCollection() const { return m_isCreatingCollection; }
    void setIsCreatingCollection(bool creating);
    QString newCollectionName() const { return m_newCollectionName; }
    void setNewCollectionName(const QString &name);
    PreferencesTab selectedPreferencesTab() const { return m_selectedPreferencesTab; }
    void setSelectedPreferencesTab(PreferencesTab tab);
    std::optional<QString> statusToastMessage() const { return m_statusToastMessage; }
    bool isWindowAnchored() const { return m_isWindowAnchored; }
    void setIsWindowAnchored(bool anchored);
    bool isPaused() const { return m_isPaused; }
    void setIsPaused(bool paused);
    bool isHoldingOptionKey() const { return m_isHoldingOptionKey; }
    void setIsHoldingOptionKey(bool holding);
    bool isHoldingCommandKey() const { return m_isHoldingCommandKey; }
    void setIsHoldingCommandKey(bool holding);

    // Store.
    QString storagePath() const;
    void loadOrSeedDemoData();
    // Shows what the store held, or the showcase when it held nothing, and starts capture
    // unless told not to; once.
    void finishLoading(bool watchClipboard = true);
    void saveToDisk();
    // Returns once every save so far is on disk or has failed and been reported. Saves run on
    // a writer thread; the state's destructor waits for the last one too.
    void waitForSaved();

    // Showcase: the demonstration clippings. Seeding replaces both lists and selects the first
    // clipping without saving; a reset also shows History unfiltered and saves, and first keeps
    // the store file it replaces beside it, unless that is a throw-away one.
    enum class ReplacedHistory { KeptAside, Discarded };
    void seedShowcaseItems();
    void resetToShowcaseData(ReplacedHistory replaced = ReplacedHistory::KeptAside);

    // Secrets.
    void toggleTextMask(const ClippingItem &item);
    bool isTextMasked(const ClippingItem &item) const;
    // The clipping key arrived: secrets that waited for it are sealed and saved.
    void clippingKeyArrived();

    // Shows a one-line status message for 1.6 seconds; a newer message replaces it at once.
    void showToast(const QString &message);

    // Capture: the clipboard watcher. Polls every 0.35 s from the end of construction on, and
    // at once when the clipboard reports another program's change.
    void startMonitoringPasteboard();
    void checkPasteboard();
    // Puts a new clipping first unless it repeats the newest one, trims the history to the
    // limit, selects the clipping and saves.
    void insertNewItem(const ClippingItem &item);

    // Board: what the board shows for the sidebar choice and the search text, and the badge
    // counts. Counts ignore the search text. App names match ignoring case.
    QList<ClippingItem> filteredItems() const;
    // The same without copying: positions in items(), kept until the sidebar choice, the search
    // text or the items change, and a number that moves whenever they may have.
    const QList<qsizetype> &visibleIndices() const;
    qsizetype visibleItemCount() const { return visibleIndices().size(); }
    const ClippingItem &visibleItem(qsizetype position) const;
    quint64 visibleRevision() const;
    int totalHistoryCount() const;
    int favoritesCount() const;
    int countForCollection(const QUuid &collectionID) const;
    int countForApp(const QString &appName) const;
    int countForType(ClippingType type) const;
    // The pinned apps first, then every other source app by its newest clipping.
    QList<SidebarApp> sidebarApps() const;

    // Board: selection and navigation over filteredItems().
    // Keeps a visible selection, else selects the first visible clipping (or nothing).
    void ensureValidSelection();
    // Moves by dx columns and dy rows, clamped to the list; never wraps.
    void moveSelection(int dx, int dy);
    // One card forward, from the last card back to the first.
    void cycleNextSelection();
    void handleWindowHidden();
    // Resets the sidebar choice and the search after a long enough absence, then validates.
    void handleWindowShown();

    // Board: collections, favourites and clearing. Each saves the store when it changes it;
    // unknown ids are ignored.
    void createCollection(const QString &name);
    void deleteCollection(const ClippingCollection &collection);
    void addItemToCollection(const QUuid &itemID, const QUuid &collectionID);
    void removeItemFromCollection(const QUuid &itemID, const QUuid &collectionID);
    void toggleFavorite(const ClippingItem &item);
    void deleteItem(const ClippingItem &item);
    // Removes every clipping that is neither a favourite nor in a collection.
    void clearHistory();
    // Clears what the given sidebar entry shows (History: everything).
    void clearContent(const SidebarSelection &selection);

    // Restore: the way back to the clipboard. Each write shows a toast and is never captured
    // again as a new clipping.
    void copyToSystemPasteboard(const ClippingItem &item, bool plainTextOnly = false);
    // Restores, then asks the shell to hide the board and, with auto-paste on, to paste.
    void activateClipping(const ClippingItem &item, bool plainTextOnly = false);
    // Act on the selected clipping wherever it is in the history.
    void openSelectedItem();
    void revealSelectedItemInFinder();

    // Update check. A check asks the vendor's version endpoint and publishes the outcome when
    // the answer comes; a second check does not stop the first, and whichever ends last is
    // shown. Checks still running when the state goes are aborted.
    UpdateCheckStatus updateCheckStatus() const { return m_updateCheckStatus; }
    void setUpdateCheckStatus(const UpdateCheckStatus &status);
    bool copiedBrewUpgradeCommand() const { return m_copiedBrewUpgradeCommand; }
    void performUpdateCheck();
    // Puts the upgrade command on the clipboard, where it is not captured as a clipping.
    void copyBrewUpgradeToPasteboard();
    // Opens the available update's download address, else the vendor's download.
    void openUpdateDownload();

    // Outward hooks, installed by the shell; each is called only when set.
    std::function<void(bool anchored)> onAnchorChanged;
    std::function<void(const ClippingItem &item, bool paste)> onRequestHideWindowAndPaste;
    std::function<void()> onRequestCenterWindow;
    std::function<void()> onRequestOpenPreferences;
    std::function<void()> onRequestOpenAbout;
    std::function<void()> onRequestCheckForUpdates;

signals:
    void changed();

    void gridRowsChanged();
    void gridColumnsChanged();
    void isSidebarVisibleChanged();
    void historyLimitChanged();
    void ignorePasswordsChanged();
    void autoPasteIntoFrontmostAppChanged();
    void fullCardColorPreviewChanged();
    void appearancePreferenceChanged();
    void resetFiltersAfterSecondsChanged();

    void itemsChanged();
    void collectionsChanged();
    void sidebarSelectionChanged();
    void searchTextChanged();
    void selectedItemIDChanged();
    void quickLookItemChanged();
    void isCreatingCollectionChanged();
    void newCollectionNameChanged();
    void selectedPreferencesTabChanged();
    void statusToastMessageChanged();
    void isWindowAnchoredChanged();
    void isPausedChanged();
    void isHoldingOptionKeyChanged();
    void isHoldingCommandKeyChanged();

    // Update check.
    void updateCheckStatusChanged();
    void copiedBrewUpgradeCommandChanged();

private:
    // Holds back changed() until the outermost operation ends, then emits it once.
    class Operation
    {
    public:
        explicit Operation(ClipboardManagerState &state);
        ~Operation();
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;

    private:
        ClipboardManagerState &m_state;
    };
    void notifyChanged();
    int m_operationDepth = 0;
    bool m_loaded = false;
    bool m_changePending = false;

    void readSettings();
    // Stores the value and notifies, when it differs from the current one.
    template <typename T> void publish(T &member, T value, void (ClipboardManagerState::*signal)());
    void historyChanged(bool items, bool collections);
    void setStatusToastMessage(const std::optional<QString> &message);

    SettingsStore &m_settings;
    Pasteboard &m_pasteboard;
    const Clock &m_clock;
    FrontApplication &m_frontApplication;
    Workspace &m_workspace;

    int m_gridRows = 3;
    int m_gridColumns = 3;
    bool m_isSidebarVisible = true;
    int m_historyLimit = 10000;
    bool m_ignorePasswords = false;
    bool m_autoPasteIntoFrontmostApp = false;
    bool m_fullCardColorPreview = false;
    AppearancePreference m_appearancePreference = AppearancePreference::Dark;
    int m_resetFiltersAfterSeconds = 0;

    std::unique_ptr<History> m_history;
    std::unique_ptr<BoardFilter> m_filter;
    std::unique_ptr<PasteboardWatcher> m_watcher;
    SidebarSelection m_sidebarSelection;
    QString m_searchText;
    std::optional<QUuid> m_selectedItemID;
    std::optional<ClippingItem> m_quickLookItem;
    bool m_isCreatingCollection = false;
    QString m_newCollectionName;
    PreferencesTab m_selectedPreferencesTab = PreferencesTab::General;
    std::optional<QString> m_statusToastMessage;
    bool m_isWindowAnchored = false;
    bool m_isPaused = false;
    bool m_isHoldingOptionKey = false;
    bool m_isHoldingCommandKey = false;

    // Board.
    void selectVisibleIndex(qsizetype position);
    qsizetype visiblePositionOfSelection() const;
    std::optional<Timestamp> m_lastHiddenDate;

    // Restore.
    std::optional<ClippingItem> selectedItem() const;

    // Update check.
    void setCopiedBrewUpgradeCommand(bool copied);
    HttpClient &m_httpClient;
    UpdateCheckStatus m_updateCheckStatus;
    bool m_copiedBrewUpgradeCommand = false;
    // The checks in flight, by a number of their own; destroying one aborts it.
    std::map<quint64, std::unique_ptr<HttpTransfer>> m_updateTransfers;
    quint64 m_nextUpdateTransfer = 0;
};

template <typename T>
void ClipboardManagerState::publish(T &member, T value, void (ClipboardManagerState::*signal)())
{
    if (member == value)
        return;
    member = std::move(value);
    emit(this->*signal)();
    notifyChanged();
}
