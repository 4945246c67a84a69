#include "appdelegate.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "board/pasteback.h"
#include "boardwindow.h"
#include "displayplatform.h"
#include "keyboard/hotkeymanager.h"
#include "model/passwordcrypto.h"
#include "platform/linux/desktopcommandhotkey.h"
#include "platform/linux/desktopworkspace.h"
#include "platform/linux/gnomecustomkeybinding.h"
#include "platform/linux/kglobalaccelhotkey.h"
#include "platform/linux/portalglobalhotkey.h"
#include "platform/linux/secretservicekeyring.h"
#include "platform/linux/xdgautostartentry.h"
#include "platform/x11/x11globalhotkey.h"
#include "platform/x11/x11windowmanagerhints.h"
#include "remotecontrol.h"
#include "screenshotexport.h"
#include "sessionservices.h"
#include "statusbarcontroller.h"
#include "store/backgroundhold.h"
#include "store/clippingkey.h"
#include "store/clippingkeyservice.h"
#include "store/inisettingsstore.h"
#include "update/networkhttpclient.h"
#include "views/board/applicationkeymonitor.h"
#include "views/foundation/symbols.h"
#include "views/windows/aboutwindow.h"
#include "views/windows/aboutwindowopener.h"
#include "views/windows/hotkeybindingpanel.h"
#include "views/windows/preferenceswindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QMenu>
#include <QProcessEnvironment>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#ifdef QUILLSTASH_TEST_HOOKS
#include "testcontrol.h"
#endif

AppDelegate::AppDelegate(CommandLine::Options options, Profile profile,
                         std::future<StoreFile::Contents> storeReading, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_profile(std::move(profile)),
      m_storeReading(std::move(storeReading))
{
}

AppDelegate::~AppDelegate()
{
    // A quit before the board's first frame: the held work must end for the state to go.
    BackgroundHold::lift();
    HotKeyManager::setShared(nullptr);
    ClipboardManagerState::setShared(nullptr);
    // The provider may point into the settings, which go with this object.
    PasswordCrypto::setKeyProvider(nullptr);
}

AppDelegate::Profile AppDelegate::userProfile()
{
    return {IniSettingsStore::defaultFilePath(), QString()};
}

void AppDelegate::applicationDidFinishLaunching()
{
    Symbols::loadFont();
    m_settings = std::make_unique<IniSettingsStore>(m_profile.settingsFile);
    // A private export keeps its throw-away key out of the user's keyring.
    if (m_options.screenshotFolder) {
        PasswordCrypto::setKeyProvider([settings = m_settings.get()] {
            return ClippingKey::loadOrCreate(*settings).value_or(QByteArray());
        });
    } else {
        // Asked now, beside the store's read; the keyring answers whenever it can.
        m_keyService = std::make_unique<ClippingKeyService>(
            *m_settings, std::make_unique<SecretServiceKeyring>(),
            ClippingKey::keyringEntry(m_profile.settingsFile, IniSettingsStore::defaultFilePath()));
        m_keyService->onNotice = [](const QString &text) {
            std::fprintf(stderr, "quillstash: %s\n", qPrintable(text));
        };
        m_keyService->onKeyArrived = [this] {
            if (m_state)
                m_state->clippingKeyArrived();
        };
        PasswordCrypto::setKeyProvider(m_keyService->provider());
        m_keyService->start();
    }
    m_session = std::make_unique<SessionServices>(QApplication::clipboard());
    if (const QString summary = m_session->waylandSummary(); !summary.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(summary));
    m_workspace = std::make_unique<DesktopWorkspace>();
    m_httpClient = std::make_unique<NetworkHttpClient>();
    m_loginItem = std::make_unique<XdgAutostartEntry>(XdgAutostartEntry::defaultFilePath(),
                                                      XdgAutostartEntry::defaultCommand());
    m_state = std::make_unique<ClipboardManagerState>(
        ClipboardManagerState::Services{*m_settings, m_session->pasteboard(), m_clock,
                                        m_session->frontApplication(), *m_workspace, *m_httpClient,
                                        m_profile.storageDirectory},
        std::move(m_storeReading));
    ClipboardManagerState::setShared(m_state.get());
    // The board is made while the store is being read.
    m_statusItem = std::make_unique<StatusBarController>(*m_state, *this, m_clock);
    setupMainWindow();
    setupCallbacks();
    // Made while the store is still being read, so that showing the board only maps it.
    m_mainWindow->winId();
    // The user's copies during an export must not show up in its pictures.
    const bool exporting = m_options.screenshotFolder.has_value();
    const bool showing = !exporting && !m_options.background;
    if (showing)
        BackgroundHold::hold();
    m_state->finishLoading(!exporting);

    if (exporting) {
        // A private export leaves the tray and the hot key to the program the user runs.
        setWindowIcon();
        runScreenshotExport(*m_options.screenshotFolder);
        return;
    }
    if (!showing) {
        completeLaunch();
        QTimer::singleShot(0, m_mainWindow.get(), &BoardWindow::prepareFirstFrame);
        return;
    }
    // Nothing of the rest is in the board's first frame, which would wait for it on a start
    // that shows the board; should the board never reach the screen, it is done all the same.
    qApp->installEventFilter(this);
    QTimer::singleShot(firstFrameWaitMs, this, &AppDelegate::completeLaunch);
    QTimer::singleShot(0, this, &AppDelegate::showMainWindow);
}

void AppDelegate::completeLaunch()
{
    if (m_launchCompleted)
        return;
    m_launchCompleted = true;
    qApp->removeEventFilter(this);
    BackgroundHold::lift();
    setWindowIcon();
    m_statusItem->install();
    m_hotKeys->setup();
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl::trace(QStringLiteral("started"));
#endif
}

void AppDelegate::setWindowIcon()
{
    // Window managers draw it at most this large; each window carries its pixels, which at
    // 512 pixels held a megabyte.
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(AppIconProvider::drawBrandLogoImage(128))));
}

bool AppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    // Queued, so that it runs once the frame being painted has been flushed to the screen.
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_mainWindow.get() &&
        m_mainWindow->isVisible()) {
        qApp->removeEventFilter(this);
        QTimer::singleShot(0, this, &AppDelegate::completeLaunch);
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::setupMainWindow()
{
    m_windowManagerHints = std::make_unique<X11WindowManagerHints>();
    m_mainWindow =
        std::make_unique<BoardWindow>(*m_state, m_session->frontApplication(),
                                      m_session->windowActivator(), *m_windowManagerHints);
    m_mainWindow->statusItemGeometry = [this] {
        const QSystemTrayIcon *icon = m_statusItem ? m_statusItem->trayIcon() : nullptr;
        return icon && icon->isVisible() ? icon->geometry() : QRect();
    };
    m_mainWindow->isAuxiliaryWindowVisible = [this] {
        return (m_preferencesWindow && m_preferencesWindow->isVisible()) ||
               (m_aboutWindow && m_aboutWindow->window() && m_aboutWindow->window()->isVisible());
    };
    m_mainWindow->hidePreferencesWindow = [this] {
        if (m_preferencesWindow)
            m_preferencesWindow->hide();
    };

    m_pasteBack =
        std::make_unique<PasteBack>(*m_state, m_session->windowActivator(),
                                    m_session->keySynthesizer(), m_session->frontApplication());
    m_pasteBack->hideBoardWindow = [this] { m_mainWindow->orderOut(); };
    m_keyMonitor = std::make_unique<ApplicationKeyMonitor>(*m_mainWindow);
    chooseGlobalHotKey();
    m_hotKeys = std::make_unique<HotKeyManager>(*m_state, *m_globalHotKey, *m_keyMonitor);
    HotKeyManager::setShared(m_hotKeys.get());
}

void AppDelegate::chooseGlobalHotKey()
{
    // An export registers no key, so it asks no desktop service either.
    if (!m_options.screenshotFolder) {
        const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QDBusConnection bus = QDBusConnection::sessionBus();
        m_hotKeyRoute =
            chooseHotKeyRoute(environment, DisplayPlatform::choose(environment).isWaylandSession,
                              {[&bus] { return KGlobalAccelHotKey::isServed(bus); },
                               [&bus] { return PortalGlobalHotKey::isServed(bus); }});
    }
    switch (m_hotKeyRoute) {
    case HotKeyRoute::X11Grab:
        m_globalHotKey = std::make_unique<X11GlobalHotKey>();
        break;
    case HotKeyRoute::KGlobalAccel:
        m_globalHotKey = std::make_unique<KGlobalAccelHotKey>();
        break;
    case HotKeyRoute::Portal:
        m_globalHotKey = std::make_unique<PortalGlobalHotKey>();
        break;
    case HotKeyRoute::GnomeCommand:
    case HotKeyRoute::WlrootsCommand:
    case HotKeyRoute::DesktopCommand:
        m_globalHotKey = std::make_unique<DesktopCommandHotKey>(hotKeyInstruction(m_hotKeyRoute));
        break;
    }
}

QWidget *AppDelegate::hotKeyHelp()
{
    switch (m_hotKeyRoute) {
    case HotKeyRoute::GnomeCommand:
        m_desktopShortcut = std::make_unique<GnomeCustomKeybinding>();
        return new HotKeyBindingPanel(*m_desktopShortcut, QStringLiteral("GNOME"));
    case HotKeyRoute::WlrootsCommand:
        return new HotKeyBindingPanel(
            tr("Sway and other wlroots desktops let no program register a key. Add this line to "
               "the compositor's configuration (for sway, ~/.config/sway/config) and reload it:"),
            swayBinding);
    case HotKeyRoute::DesktopCommand:
        return new HotKeyBindingPanel(tr("This desktop lets no program register a key. Bind "
                                         "Ctrl+Alt+V to this command in its keyboard settings:"),
                                      hotKeyCommand);
    default:
        return nullptr;
    }
}

void AppDelegate::setupCallbacks()
{
    ClipboardManagerState &state = *m_state;
    state.onAnchorChanged = [this](bool) {
        // Both levels sit above ordinary windows here; raising applies the change at once.
        if (m_mainWindow->isVisible())
            m_mainWindow->raise();
    };
    state.onRequestCenterWindow = [this] { m_mainWindow->positionWindowFlushTopRight(); };
    state.onRequestOpenPreferences = [this] { openPreferencesWindow(); };
    state.onRequestOpenAbout = [this] { openAboutWindow(false); };
    state.onRequestCheckForUpdates = [this] { openAboutWindow(true); };
    state.onRequestHideWindowAndPaste = [this](const ClippingItem &, bool paste) {
        m_pasteBack->hideWindowAndPaste(m_mainWindow->previousActiveApp(), paste);
    };
    m_hotKeys->onToggleWindow = [this] { toggleMainWindow(); };
    m_hotKeys->onQuit = [this] { quit(); };
    m_hotKeys->onShowWindowIfHidden = [this] {
        if (m_mainWindow->isVisible() && m_mainWindow->isActiveWindow())
            return true;
        showMainWindow();
        return false;
    };
    m_remoteControl = std::make_unique<RemoteControl>(state);
    m_remoteControl->showBoard = [this] { showMainWindow(); };
    m_remoteControl->pressHotKey = [this] { m_hotKeys->handleHotKeyPressed(); };
    m_remoteControl->pasteIntoFrontWindow = [this] {
        // With the board up, the window in front is the one it came up over.
        m_pasteBack->hideWindowAndPaste(isBoardVisible()
                                            ? m_mainWindow->previousActiveApp()
                                            : m_session->frontApplication().frontmostApplication(),
                                        true);
    };
#ifdef QUILLSTASH_TEST_HOOKS
    m_testControl = std::make_unique<TestControl>(state, *m_hotKeys);
    m_testControl->traceFrames(*m_mainWindow);
    traceTray();
#endif
}

#ifdef QUILLSTASH_TEST_HOOKS
void AppDelegate::traceTray()
{
    // Where the tray host put the icon, once it has, so that a test can click it.
    auto *watch = new QTimer(this);
    watch->setInterval(100);
    connect(watch, &QTimer::timeout, this, [this, watch] {
        const QSystemTrayIcon *icon = m_statusItem->trayIcon();
        const QRect area = icon ? icon->geometry() : QRect();
        if (area.isEmpty())
            return;
        watch->stop();
        TestControl::trace(QStringLiteral("tray %1 %2 %3 %4")
                               .arg(area.x())
                               .arg(area.y())
                               .arg(area.width())
                               .arg(area.height()));
    });
    watch->start();
    // Where each entry is once the menu is up, so that a test can choose one.
    QMenu *menu = m_statusItem->menu();
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        TestControl::trace(QStringLiteral("menu-shown"));
        QTimer::singleShot(0, this, [menu] {
            for (QAction *action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                const QRect area = menu->actionGeometry(action);
                const QPoint corner = menu->mapToGlobal(area.topLeft());
                TestControl::trace(QStringLiteral("menu-entry %1 %2 %3 %4 %5")
                                       .arg(corner.x())
                                       .arg(corner.y())
                                       .arg(area.width())
                                       .arg(area.height())
                                       .arg(action->text()));
            }
        });
    });
}
#endif

InstanceReply AppDelegate::respond(const InstanceRequest &request)
{
    if (!m_remoteControl)
        return InstanceReply::failure(QStringLiteral("still starting"));
    return m_remoteControl->respond(request);
}

bool AppDelegate::isBoardVisible() const
{
    return m_mainWindow && m_mainWindow->isVisible();
}

std::optional<Timestamp> AppDelegate::lastResignKeyHideTime() const
{
    const QDateTime hidden = m_mainWindow ? m_mainWindow->lastResignKeyHideTime() : QDateTime();
    return hidden.isValid() ? std::optional(Timestamp::fromDateTime(hidden)) : std::nullopt;
}

void AppDelegate::showMainWindow()
{
    m_mainWindow->showMainWindow();
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl::trace(QStringLiteral("board-shown"));
#endif
}

void AppDelegate::hideMainWindow()
{
    m_mainWindow->hideMainWindow(true);
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl::trace(QStringLiteral("board-hidden"));
#endif
}

void AppDelegate::toggleMainWindow()
{
    if (isBoardVisible())
        hideMainWindow();
    else
        showMainWindow();
}

void AppDelegate::openAboutWindow(bool autoCheckUpdates)
{
    m_mainWindow->hideMainWindow(false);
    if (!m_aboutWindow)
        m_aboutWindow = std::make_unique<AboutWindowOpener>(*m_state);
    m_aboutWindow->open(autoCheckUpdates);
}

void AppDelegate::openPreferencesWindow()
{
    m_mainWindow->hideMainWindow(false);
    if (!m_preferencesWindow) {
        m_preferencesWindow = std::make_unique<PreferencesWindow>(*m_state, *m_loginItem);
        if (QWidget *help = hotKeyHelp())
            m_preferencesWindow->setHotKeyHelp(help);
    }
    m_preferencesWindow->present();
}

void AppDelegate::quit()
{
    QApplication::quit();
}

void AppDelegate::runScreenshotExport(const QString &folder)
{
    ScreenshotExport::Windows windows{
        .showBoard =
            [this] {
                if (!isBoardVisible())
                    showMainWindow();
                return m_mainWindow.get();
            },
        .openPreferences = [this]() -> QWidget * {
            openPreferencesWindow();
            return m_preferencesWindow.get();
        },
    };
    m_screenshotExport = std::make_unique<ScreenshotExport>(*m_state, windows, folder);
    connect(m_screenshotExport.get(), &ScreenshotExport::finished, this,
            [folder](const QStringList &failures) {
                if (!failures.isEmpty()) {
                    std::fprintf(stderr, "quillstash: could not write into %s: %s\n",
                                 qPrintable(folder),
                                 qPrintable(failures.join(QStringLiteral(", "))));
                    QApplication::exit(1);
                    return;
                }
                QApplication::exit(0);
            });
    m_screenshotExport->start();
}
