#include "appdelegate.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "board/pasteback.h"
#include "keyboard/hotkeymanager.h"
#include "model/passwordcrypto.h"
#include "platform/linux/desktopworkspace.h"
#include "platform/linux/xdgautostartentry.h"
#include "platform/x11/clipboardpasteboard.h"
#include "platform/x11/x11frontapplication.h"
#include "platform/x11/x11globalhotkey.h"
#include "platform/x11/x11windowactivator.h"
#include "platform/x11/xtestkeysynthesizer.h"
#include "screenshotexport.h"
#include "statusbarcontroller.h"
#include "store/clippingkey.h"
#include "store/inisettingsstore.h"
#include "update/networkhttpclient.h"
#include "views/aboutwindow.h"
#include "views/aboutwindowopener.h"
#include "views/applicationkeymonitor.h"
#include "views/preferenceswindow.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#ifdef QUILLSTASH_TEST_HOOKS
#include "testcontrol.h"
#endif

namespace
{

constexpr QSize boardSize(960, 600);
constexpr QSize boardMinimumSize(580, 380);
// The pointer this close to the tray icon means the click on the icon decides, not the focus.
constexpr int trayMargin = 8;

} // namespace

AppDelegate::AppDelegate(CommandLine::Options options, Profile profile, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_profile(std::move(profile))
{
}

AppDelegate::~AppDelegate()
{
    HotKeyManager::setShared(nullptr);
    ClipboardManagerState::setShared(nullptr);
}

AppDelegate::Profile AppDelegate::userProfile()
{
    return {IniSettingsStore::defaultFilePath(), QString()};
}

void AppDelegate::applicationDidFinishLaunching()
{
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(AppIconProvider::drawBrandLogoImage(512))));

    m_settings = std::make_unique<IniSettingsStore>(m_profile.settingsFile);
    PasswordCrypto::setKeyProvider([settings = m_settings.get()] {
        return ClippingKey::loadOrCreate(*settings).value_or(QByteArray());
    });
    m_pasteboard = std::make_unique<ClipboardPasteboard>(QApplication::clipboard());
    m_frontApplication = std::make_unique<X11FrontApplication>();
    m_workspace = std::make_unique<DesktopWorkspace>();
    m_httpClient = std::make_unique<NetworkHttpClient>();
    m_loginItem = std::make_unique<XdgAutostartEntry>(XdgAutostartEntry::defaultFilePath(),
                                                      XdgAutostartEntry::defaultCommand());
    m_windowActivator = std::make_unique<X11WindowActivator>();
    m_keySynthesizer = std::make_unique<XTestKeySynthesizer>();
    m_state = std::make_unique<ClipboardManagerState>(
        ClipboardManagerState::Services{*m_settings, *m_pasteboard, m_clock, *m_frontApplication,
                                        *m_workspace, *m_httpClient, m_profile.storageDirectory});
    ClipboardManagerState::setShared(m_state.get());

    m_statusItem = std::make_unique<StatusBarController>(*m_state, *this, m_clock);
    // A private export leaves the tray and the hot key to the program the user runs.
    const bool exporting = m_options.screenshotFolder.has_value();
    if (!exporting)
        m_statusItem->install();

    setupMainWindow();
    setupCallbacks();
    if (!exporting)
        m_hotKeys->setup();

    if (exporting) {
        runScreenshotExport(*m_options.screenshotFolder);
        return;
    }
    if (!m_options.background)
        QTimer::singleShot(0, this, &AppDelegate::showMainWindow);
}

void AppDelegate::setupMainWindow()
{
    // Stands in for the board until its views arrive: the same window, empty.
    m_mainWindow = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint |
                                                          Qt::WindowStaysOnTopHint);
    m_mainWindow->setWindowTitle(tr("Quillstash"));
    m_mainWindow->resize(boardSize);
    m_mainWindow->setMinimumSize(boardMinimumSize);
    m_mainWindow->installEventFilter(this);
    positionWindowFlushTopRight();

    m_pasteBack = std::make_unique<PasteBack>(*m_state, *m_windowActivator, *m_keySynthesizer);
    m_pasteBack->hideBoardWindow = [this] { m_mainWindow->hide(); };
    m_keyMonitor = std::make_unique<ApplicationKeyMonitor>(*m_mainWindow);
    m_globalHotKey = std::make_unique<X11GlobalHotKey>();
    m_hotKeys = std::make_unique<HotKeyManager>(*m_state, *m_globalHotKey, *m_keyMonitor);
    HotKeyManager::setShared(m_hotKeys.get());
}

void AppDelegate::setupCallbacks()
{
    ClipboardManagerState &state = *m_state;
    state.onAnchorChanged = [this](bool) {
        // Both levels sit above ordinary windows here; re-showing applies the hint again.
        if (m_mainWindow->isVisible())
            m_mainWindow->raise();
    };
    state.onRequestCenterWindow = [this] { positionWindowFlushTopRight(); };
    state.onRequestOpenPreferences = [this] { openPreferencesWindow(); };
    state.onRequestOpenAbout = [this] { openAboutWindow(false); };
    state.onRequestCheckForUpdates = [this] { openAboutWindow(true); };
    state.onRequestHideWindowAndPaste = [this](const ClippingItem &, bool paste) {
        m_pasteBack->hideWindowAndPaste(m_previousActiveApp, paste);
    };
    m_hotKeys->onToggleWindow = [this] { toggleMainWindow(); };
    m_hotKeys->onShowWindowIfHidden = [this] {
        if (isBoardVisible() && QApplication::activeWindow() != nullptr)
            return true;
        showMainWindow();
        return false;
    };
#ifdef QUILLSTASH_TEST_HOOKS
    m_testControl = std::make_unique<TestControl>(state, *m_hotKeys);
#endif
}

bool AppDelegate::isBoardVisible() const
{
    return m_mainWindow && m_mainWindow->isVisible();
}

void AppDelegate::showMainWindow()
{
    if (m_preferencesWindow)
        m_preferencesWindow->hide();
    const std::optional<RunningApplication> front = m_frontApplication->frontmostApplication();
    if (front && front->processId != QCoreApplication::applicationPid())
        m_previousActiveApp = front;
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    m_state->setIsHoldingCommandKey(held.testFlag(Qt::ControlModifier) &&
                                    !held.testFlag(Qt::AltModifier));
    m_state->setIsHoldingOptionKey(held.testFlag(Qt::AltModifier));
    m_state->handleWindowShown();
    if (!m_state->isWindowAnchored())
        positionWindowFlushTopRight();
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl::trace(QStringLiteral("board-shown"));
#endif
    // Keys go to the board's commands, not to a text field that kept the focus.
    QTimer::singleShot(0, this, [this] {
        if (QWidget *focused = m_mainWindow->focusWidget())
            focused->clearFocus();
    });
}

void AppDelegate::hideBoard(bool returnFocus)
{
    m_state->handleWindowHidden();
    m_mainWindow->hide();
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl::trace(QStringLiteral("board-hidden"));
#endif
    if (returnFocus && m_previousActiveApp)
        m_windowActivator->activate(m_previousActiveApp->windowId);
}

void AppDelegate::hideMainWindow()
{
    hideBoard(true);
}

void AppDelegate::toggleMainWindow()
{
    if (isBoardVisible())
        hideMainWindow();
    else
        showMainWindow();
}

void AppDelegate::positionWindowFlushTopRight()
{
    QScreen *screen = nullptr;
    if (m_statusItem && m_statusItem->trayIcon() && m_statusItem->trayIcon()->isVisible())
        screen = QGuiApplication::screenAt(m_statusItem->trayIcon()->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect visible = screen->availableGeometry();
    const QSize size = m_mainWindow->frameGeometry().size();
    m_mainWindow->move(visible.right() + 1 - size.width(), visible.top());
}

bool AppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow.get() && event->type() == QEvent::WindowDeactivate)
        windowDidResignKey();
    return QObject::eventFilter(watched, event);
}

void AppDelegate::windowDidResignKey()
{
    if (m_state->isWindowAnchored() || !m_mainWindow->isVisible())
        return;
    if (m_preferencesWindow && m_preferencesWindow->isVisible())
        return;
    if (m_aboutWindow && m_aboutWindow->window() && m_aboutWindow->window()->isVisible())
        return;
    if (m_statusItem && m_statusItem->trayIcon()) {
        const QRect icon = m_statusItem->trayIcon()->geometry().adjusted(-trayMargin, -trayMargin,
                                                                         trayMargin, trayMargin);
        if (icon.contains(QCursor::pos()))
            return;
    }
    m_lastResignKeyHideTime = m_clock.now();
    hideBoard(true);
}

void AppDelegate::openAboutWindow(bool autoCheckUpdates)
{
    hideBoard(false);
    if (!m_aboutWindow)
        m_aboutWindow = std::make_unique<AboutWindowOpener>(*m_state);
    m_aboutWindow->open(autoCheckUpdates);
}

void AppDelegate::openPreferencesWindow()
{
    hideBoard(false);
    if (!m_preferencesWindow)
        m_preferencesWindow = std::make_unique<PreferencesWindow>(*m_state, *m_loginItem);
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
