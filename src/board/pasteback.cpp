#include "pasteback.h"

#include "board/clipboardmanagerstate.h"
#include "capture/keysynthesizer.h"
#include "capture/windowactivator.h"

#include <QTimer>

namespace
{

// Time for the window manager to hand the keyboard focus back before the keys arrive.
constexpr auto pasteDelay = std::chrono::milliseconds(120);

} // namespace

PasteBack::PasteBack(ClipboardManagerState &state, WindowActivator &activator, KeySynthesizer &keys,
                     FrontApplication &frontApplication, QObject *parent)
    : QObject(parent), m_state(state), m_activator(activator), m_keys(keys),
      m_frontApplication(frontApplication)
{
}

void PasteBack::hideWindowAndPaste(const std::optional<RunningApplication> &previous, bool paste)
{
    const bool anchored = m_state.isWindowAnchored();
    if (!anchored) {
        m_state.handleWindowHidden();
        if (hideBoardWindow)
            hideBoardWindow();
        if (previous)
            m_activator.activate(previous->windowId);
    }
    if (!paste)
        return;
    // Where no keys can be sent, or no window is known to send them to, say so rather than
    // pretend to paste.
    if (!previous || !m_keys.isTrusted()) {
        m_state.showToast(pasteYourselfMessage());
        return;
    }
    // An anchored board stayed in front; an unanchored one has handed the focus back already.
    if (anchored)
        m_activator.activate(previous->windowId);
    QTimer::singleShot(pasteDelay, this, [this, window = previous->windowId] {
        // A window that closed meanwhile, or a notification that took the focus, must not
        // receive the paste: it may be a password.
        const std::optional<RunningApplication> front = m_frontApplication.frontmostApplication();
        if (!front || front->windowId != window) {
            m_state.showToast(pasteYourselfMessage());
            return;
        }
        m_keys.postPasteShortcut();
    });
}
