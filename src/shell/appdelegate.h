#pragma once

#include "commandline.h"
#include "hotkeyroute.h"
#include "instancerequest.h"
#include "model/clock.h"
#include "statusmenutarget.h"
#include "store/storefile.h"

#include <QObject>
#include <QString>
#include <future>
#include <memory>
#include <optional>

class AboutWindowOpener;
class BoardWindow;
class ApplicationKeyMonitor;
class ClipboardManagerState;
class ClippingKeyService;
class DesktopShortcut;
class DesktopWorkspace;
class GlobalHotKey;
class HotKeyManager;
class IniSettingsStore;
class NetworkHttpClient;
class PasteBack;
class PreferencesWindow;
class QWidget;
class RemoteControl;
class ScreenshotExport;
class SessionServices;
class StatusBarController;
class TestControl;
class X11WindowManagerHints;
class XdgAutostartEntry;

// Builds the program at launch in its order and holds its windows: the board, the tray icon,
// the preferences and about windows, and the wiring between them and the state.
class AppDelegate : public QObject, public StatusMenuTarget
{
    Q_OBJECT

public:
    // Where the settings and the store live; the user's own unless told otherwise.
    struct Profile {
        QString settingsFile;
        QString storageDirectory;
    };

    // `storeReading`: a read of the profile's store begun earlier, or nothing to read it here.
    AppDelegate(CommandLine::Options options, Profile profile,
                std::future<StoreFile::Contents> storeReading = {}, QObject *parent = nullptr);
    ~AppDelegate() override;

    static Profile userProfile();

    void applicationDidFinishLaunching();

    // A request of a later start, received through the single-instance channel.
    InstanceReply respond(const InstanceRequest &request);

    // StatusMenuTarget
    bool isBoardVisible() const override;
    void showMainWindow() override;
    void hideMainWindow() override;
    void toggleMainWindow() override;
    std::optional<Timestamp> lastResignKeyHideTime() const override;
    void openAboutWindow(bool autoCheckUpdates) override;
    void openPreferencesWindow() override;
    void quit() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // How long a start that shows the board waits for its first frame before the rest.
    static constexpr int firstFrameWaitMs = 1000;

    // The tray, the hot key and the window icon, which the board's first frame does not need.
    void completeLaunch();
    void setWindowIcon();
    void setupMainWindow();
    void setupCallbacks();
    void chooseGlobalHotKey();
    QWidget *hotKeyHelp();
    void runScreenshotExport(const QString &folder);
#ifdef QUILLSTASH_TEST_HOOKS
    void traceTray();
#endif

    CommandLine::Options m_options;
    Profile m_profile;
    std::future<StoreFile::Contents> m_storeReading;
    SystemClock m_clock;
    std::unique_ptr<IniSettingsStore> m_settings;
    std::unique_ptr<ClippingKeyService> m_keyService;
    std::unique_ptr<SessionServices> m_session;
    std::unique_ptr<DesktopWorkspace> m_workspace;
    std::unique_ptr<NetworkHttpClient> m_httpClient;
    std::unique_ptr<XdgAutostartEntry> m_loginItem;
    std::unique_ptr<X11WindowManagerHints> m_windowManagerHints;
    HotKeyRoute m_hotKeyRoute = HotKeyRoute::X11Grab;
    std::unique_ptr<GlobalHotKey> m_globalHotKey;
    std::unique_ptr<DesktopShortcut> m_desktopShortcut;
    std::unique_ptr<ClipboardManagerState> m_state;

    std::unique_ptr<BoardWindow> m_mainWindow;
    std::unique_ptr<PreferencesWindow> m_preferencesWindow;
    std::unique_ptr<AboutWindowOpener> m_aboutWindow;
    std::unique_ptr<StatusBarController> m_statusItem;
    std::unique_ptr<PasteBack> m_pasteBack;
    std::unique_ptr<ApplicationKeyMonitor> m_keyMonitor;
    std::unique_ptr<HotKeyManager> m_hotKeys;
    std::unique_ptr<RemoteControl> m_remoteControl;
    std::unique_ptr<ScreenshotExport> m_screenshotExport;
    bool m_launchCompleted = false;
#ifdef QUILLSTASH_TEST_HOOKS
    std::unique_ptr<TestControl> m_testControl;
#endif
};
