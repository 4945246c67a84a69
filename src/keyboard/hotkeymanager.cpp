#include "hotkeymanager.h"

#include "board/clipboardmanagerstate.h"
#include "globalhotkey.h"
#include "localkeymonitor.h"

#include <QTimer>

namespace
{

HotKeyManager *sharedManager = nullptr;

} // namespace

HotKeyManager::HotKeyManager(ClipboardManagerState &state, GlobalHotKey &hotKey,
                             LocalKeyMonitor &monitor, QObject *parent)
    : QObject(parent), m_state(state), m_hotKey(hotKey), m_monitor(monitor), m_keyMap(state)
{
    m_keyMap.onToggleWindow = [this] {
        if (onToggleWindow)
            onToggleWindow();
    };
    m_keyMap.onQuit = [this] {
        if (onQuit)
            onQuit();
    };
    m_keyMap.onClearTextFieldFocus = [this] { m_monitor.clearTextFieldFocus(); };
}

HotKeyManager::~HotKeyManager()
{
    if (sharedManager == this)
        sharedManager = nullptr;
}

HotKeyManager *HotKeyManager::shared()
{
    return sharedManager;
}

void HotKeyManager::setShared(HotKeyManager *manager)
{
    sharedManager = manager;
}

void HotKeyManager::setup()
{
    // The press arrives inside the display's event dispatch; the work runs after it.
    const GlobalHotKey::Registration registration = m_hotKey.registerHotKey(
        [this] { QTimer::singleShot(0, this, &HotKeyManager::handleHotKeyPressed); });
    switch (registration) {
    case GlobalHotKey::Registration::Registered:
        qInfo("Quillstash: Ctrl+Alt+V works through %s.", qPrintable(m_hotKey.route()));
        break;
    case GlobalHotKey::Registration::Taken:
        qWarning("Quillstash: Ctrl+Alt+V is already taken by another program; the global hot "
                 "key is not available.");
        break;
    case GlobalHotKey::Registration::Failed:
        qWarning("Quillstash: the display refused to grab Ctrl+Alt+V; the global hot key is "
                 "not available.");
        break;
    case GlobalHotKey::Registration::Unavailable:
        qWarning("Quillstash: this desktop lets no program register Ctrl+Alt+V; %s.",
                 qPrintable(m_hotKey.route()));
        break;
    }

    m_monitor.start([this](const KeyPress &press) { return handleLocalKeyDown(press); },
                    [this](const KeyModifiers &flags) { handleModifierFlagsChanged(flags); });
}

void HotKeyManager::handleHotKeyPressed()
{
    if (onShowWindowIfHidden && onShowWindowIfHidden())
        m_state.cycleNextSelection();
    else
        m_state.ensureValidSelection();
}

void HotKeyManager::handleModifierFlagsChanged(const KeyModifiers &flags)
{
    m_state.setIsHoldingOptionKey(flags.option());
    m_state.setIsHoldingCommandKey(flags.commandAlone());
}
