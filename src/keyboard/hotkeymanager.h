#pragma once

#include "boardkeymap.h"
#include "keypress.h"

#include <QObject>
#include <functional>

class ClipboardManagerState;
class GlobalHotKey;
class LocalKeyMonitor;

// Connects the keyboard to the board: the system-wide Ctrl+Alt+V that brings the board up or
// steps through its cards, the held-modifier flags, and the board's key commands.
class HotKeyManager : public QObject
{
    Q_OBJECT

public:
    HotKeyManager(ClipboardManagerState &state, GlobalHotKey &hotKey, LocalKeyMonitor &monitor,
                  QObject *parent = nullptr);
    ~HotKeyManager() override;

    // The instance the shell created at launch; null before that.
    static HotKeyManager *shared();
    static void setShared(HotKeyManager *manager);

    // Registers the hot key and starts watching the program's own key events. Called once,
    // after both actions are set.
    void setup();

    // What a press of the hot key does, once it is back on the main thread.
    void handleHotKeyPressed();
    void handleModifierFlagsChanged(const KeyModifiers &flags);
    bool handleLocalKeyDown(const KeyPress &press) { return m_keyMap.handleLocalKeyDown(press); }

    // Shows the board if hidden, hides it if visible.
    std::function<void()> onToggleWindow;
    // Ends the program (Ctrl+Q on the board).
    std::function<void()> onQuit;
    // Brings the board up unless it is already in front; true only if it already was.
    std::function<bool()> onShowWindowIfHidden;

private:
    ClipboardManagerState &m_state;
    GlobalHotKey &m_hotKey;
    LocalKeyMonitor &m_monitor;
    BoardKeyMap m_keyMap;
};
