#pragma once

#include <memory>

class AboutWindow;
class ClipboardManagerState;

// Opens the one about window, creating it the first time and reusing it afterwards.
class AboutWindowOpener
{
public:
    explicit AboutWindowOpener(ClipboardManagerState &state);
    ~AboutWindowOpener();

    // With a check, the window shows it running from the start; without, the outcome of an
    // earlier check is cleared first.
    void open(bool autoCheckUpdates);
    AboutWindow *window() const { return m_window.get(); }

private:
    ClipboardManagerState &m_state;
    std::unique_ptr<AboutWindow> m_window;
};
