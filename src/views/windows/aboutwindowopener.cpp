#include "aboutwindowopener.h"

#include "aboutwindow.h"
#include "board/clipboardmanagerstate.h"

AboutWindowOpener::AboutWindowOpener(ClipboardManagerState &state) : m_state(state) {}

AboutWindowOpener::~AboutWindowOpener() = default;

void AboutWindowOpener::open(bool autoCheckUpdates)
{
    if (autoCheckUpdates)
        m_state.performUpdateCheck();
    else
        m_state.setUpdateCheckStatus(UpdateCheckStatus::Idle{});
    if (!m_window)
        m_window = std::make_unique<AboutWindow>(m_state);
    m_window->present();
}
