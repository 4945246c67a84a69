#include "artwork/appiconprovider.h"
#include "artwork/iconsetexport.h"
#include "board/clipboardmanagerstate.h"
#include "board/pasteback.h"
#include "boardwindow.h"
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
#include "platform/x11/x11windowmanagerhints.h"
#include "platform/x11/xtestkeysynthesizer.h"
#include "store/inisettingsstore.h"
#include "update/networkhttpclient.h"
#include "update/programversion.h"
#include "views/aboutwindow.h"
#include "views/aboutwindowopener.h"
#include "views/applicationkeymonitor.h"

#include <QApplication>
#include <QProcessEnvironment>
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

    // --- The board window: showing, hiding, paste-back and the board's keys. ---
    X11WindowActivator windowActivator;
    X11WindowManagerHints windowManagerHints;
    BoardWindow boardWindow(state, frontApplication, windowActivator, windowManagerHints);
    state.onRequestCenterWindow = [&] { boardWindow.positionWindowFlushTopRight(); };
    state.onRequestOpenAbout = [&] {
        boardWindow.hideMainWindow(false);
        aboutWindow.open(false);
    };
    state.onRequestCheckForUpdates = [&] {
        boardWindow.hideMainWindow(false);
        aboutWindow.open(true);
    };
    boardWindow.isAuxiliaryWindowVisible = [&] {
        return aboutWindow.window() && aboutWindow.window()->isVisible();
    };

    XTestKeySynthesizer keySynthesizer;
    PasteBack pasteBack(state, windowActivator, keySynthesizer);
    pasteBack.hideBoardWindow = [&] { boardWindow.orderOut(); };
    state.onRequestHideWindowAndPaste = [&](const ClippingItem &, bool paste) {
        pasteBack.hideWindowAndPaste(boardWindow.previousActiveApp(), paste);
    };

    X11GlobalHotKey globalHotKey;
    ApplicationKeyMonitor keyMonitor(boardWindow);
    HotKeyManager hotKeys(state, globalHotKey, keyMonitor);
    HotKeyManager::setShared(&hotKeys);
    hotKeys.onToggleWindow = [&] { boardWindow.toggleMainWindow(); };
    hotKeys.onShowWindowIfHidden = [&] {
        if (boardWindow.isVisible() && boardWindow.isActiveWindow())
            return true;
        boardWindow.showMainWindow();
        return false;
    };
    // --- End of the board window. ---
#ifdef QUILLSTASH_TEST_HOOKS
    TestControl testControl(state, hotKeys);
#endif
    hotKeys.setup();

    return QApplication::exec();
}
