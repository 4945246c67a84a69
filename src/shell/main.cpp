#include "artwork/appiconprovider.h"
#include "artwork/iconsetexport.h"
#include "board/clipboardmanagerstate.h"
#include "board/pasteback.h"
#include "commandline.h"
#include "displayplatform.h"
#include "keyboard/hotkeymanager.h"
#include "model/passwordcrypto.h"
#include "platform/linux/desktopentryiconlookup.h"
#include "platform/linux/desktopworkspace.h"
#include "platform/linux/keyringkeyprovider.h"
#include "platform/x11/clipboardpasteboard.h"
#include "platform/x11/x11frontapplication.h"
#include "platform/x11/x11globalhotkey.h"
#include "platform/x11/x11windowactivator.h"
#include "platform/x11/xtestkeysynthesizer.h"
#include "store/inisettingsstore.h"
#include "update/networkhttpclient.h"
#include "update/programversion.h"
#include "views/aboutwindowopener.h"
#include "views/applicationkeymonitor.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QWidget>
#include <cstdio>

#ifdef QUILLSTASH_TEST_HOOKS
#include "testcontrol.h"
#endif

int main(int argc, char *argv[])
{
    const QStringList arguments = CommandLine::arguments(argc, argv);
    if (arguments.contains(CommandLine::versionOption)) {
        std::printf("Quillstash %s (%lld)\n", qPrintable(ProgramVersion::text()),
                    static_cast<long long>(ProgramVersion::build()));
        return 0;
    }
    // The icon export needs no display and starts nothing else.
    if (const std::optional<QString> folder =
            CommandLine::optionValue(arguments, CommandLine::generateAppIconOption)) {
        const QStringList failures = IconsetExport::write(*folder);
        if (failures.isEmpty())
            return 0;
        std::fprintf(stderr, "quillstash: could not write the icon set: %s\n",
                     qPrintable(failures.join(QStringLiteral("; "))));
        return 1;
    }

    DisplayPlatform::choose(QProcessEnvironment::systemEnvironment()).apply();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillstash"));
    QApplication::setQuitOnLastWindowClosed(false);

    const DesktopEntryIconLookup installedApplications;
    AppIconProvider::shared().setInstalledApplications(&installedApplications);

    IniSettingsStore settings(IniSettingsStore::defaultFilePath());
    PasswordCrypto::setKeyProvider(keyringKeyProvider(settings));

    SystemClock clock;
    ClipboardPasteboard pasteboard(QApplication::clipboard());
    X11FrontApplication frontApplication;
    DesktopWorkspace workspace;
    NetworkHttpClient httpClient;
    ClipboardManagerState state(
        {settings, pasteboard, clock, frontApplication, workspace, httpClient});
    ClipboardManagerState::setShared(&state);

    AboutWindowOpener aboutWindow(state);
    state.onRequestOpenAbout = [&] {
        state.handleWindowHidden();
        aboutWindow.open(false);
    };
    state.onRequestCheckForUpdates = [&] {
        state.handleWindowHidden();
        aboutWindow.open(true);
    };

    // The application in front before the board came up, to return to and paste into.
    std::optional<RunningApplication> previousActiveApp;
    // There is no board window yet: every press of the hot key brings the board "up".
    const auto showMainWindow = [&] {
        const std::optional<RunningApplication> front = frontApplication.frontmostApplication();
        if (front && front->processId != QCoreApplication::applicationPid())
            previousActiveApp = front;
        state.handleWindowShown();
    };

    X11WindowActivator windowActivator;
    XTestKeySynthesizer keySynthesizer;
    PasteBack pasteBack(state, windowActivator, keySynthesizer);
    state.onRequestHideWindowAndPaste = [&](const ClippingItem &, bool paste) {
        pasteBack.hideWindowAndPaste(previousActiveApp, paste);
    };

    // The board window, whose keys the board's key commands handle; its views come later.
    QWidget boardWindow;
    X11GlobalHotKey globalHotKey;
    ApplicationKeyMonitor keyMonitor(boardWindow);
    HotKeyManager hotKeys(state, globalHotKey, keyMonitor);
    HotKeyManager::setShared(&hotKeys);
    hotKeys.onToggleWindow = showMainWindow;
    hotKeys.onShowWindowIfHidden = [&] {
        showMainWindow();
        return false;
    };
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl testControl(state, hotKeys);
#endif
    hotKeys.setup();

    return QApplication::exec();
}
