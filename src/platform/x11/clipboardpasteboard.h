#pragma once

#include "capture/pasteboard.h"

#include <QObject>

class QClipboard;

// The system clipboard through QClipboard. QClipboard has no change count of its own, so one
// is kept here from its change notifications.
class ClipboardPasteboard final : public QObject, public Pasteboard
{
    Q_OBJECT

public:
    explicit ClipboardPasteboard(QClipboard *clipboard, QObject *parent = nullptr);

    qint64 changeCount() const override { return m_changeCount; }

private:
    QClipboard *m_clipboard;
    qint64 m_changeCount = 0;
};
