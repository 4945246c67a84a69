#pragma once

#include "capture/clipboardcapture.h"
#include "capture/frontapplication.h"

#include <QObject>
#include <functional>
#include <optional>

class Clock;
class Pasteboard;
class QTimer;

// Watches the clipboard for other programs' changes: a poll every 0.35 s, brought forward when
// the clipboard reports a change, and the change count of the last change it looked at.
class PasteboardWatcher : public QObject
{
    Q_OBJECT

public:
    PasteboardWatcher(Pasteboard &pasteboard, FrontApplication &frontApplication,
                      const Clock &clock, QObject *parent = nullptr);

    // Starts polling; `check` runs once at once (a copy made while the program started is
    // judged before its own window can come to the front), then on each poll, on the main
    // thread, never from inside the clipboard's own notification. Later calls do nothing.
    void start(std::function<void()> check);

    // What another program's change since the last look becomes: nothing when there was none,
    // when it is our own program's, or when it is a password to be ignored.
    std::optional<ClipboardCapture::Outcome> takeChange(bool ignorePasswords);
    // After our own write: its change must not come back as a new clipping.
    void acknowledgeOwnWrite();

private:
    Pasteboard &m_pasteboard;
    FrontApplication &m_frontApplication;
    const Clock &m_clock;
    QTimer *m_timer = nullptr;
    qint64 m_lastChangeCount = 0;
    // The application in front when the clipboard reported a change: the one that copied. By
    // the poll, our own board may be in front instead.
    struct Notice {
        qint64 changeCount = 0;
        std::optional<RunningApplication> front;
    };
    std::optional<Notice> m_notice;
};
