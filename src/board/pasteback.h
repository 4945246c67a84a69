#pragma once

#include "capture/frontapplication.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class ClipboardManagerState;
class KeySynthesizer;
class WindowActivator;

// Brings back the application that was in front before the board and pastes a restored
// clipping into it.
class PasteBack : public QObject
{
    Q_OBJECT

public:
    PasteBack(ClipboardManagerState &state, WindowActivator &activator, KeySynthesizer &keys,
              FrontApplication &frontApplication, QObject *parent = nullptr);

    // Shown instead of pasting when the window brought back did not come to the front.
    static QString pasteYourselfMessage() { return tr("Copied \u2014 press Ctrl+V to paste"); }

    // Hides an unanchored board and returns to `previous`; with `paste`, and when the system
    // allows synthetic keys, sends the paste chord to it a moment later, only if it is then the
    // window in front. The clipboard already holds the clipping.
    void hideWindowAndPaste(const std::optional<RunningApplication> &previous, bool paste);

    // Orders the board window out; set by the shell once the board exists.
    std::function<void()> hideBoardWindow;

private:
    ClipboardManagerState &m_state;
    WindowActivator &m_activator;
    KeySynthesizer &m_keys;
    FrontApplication &m_frontApplication;
};
