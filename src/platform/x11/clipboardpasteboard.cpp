#include "clipboardpasteboard.h"

#include <QClipboard>
#include <QMimeData>

ClipboardPasteboard::ClipboardPasteboard(QClipboard *clipboard, QObject *parent)
    : QObject(parent), m_clipboard(clipboard)
{
    connect(m_clipboard, &QClipboard::dataChanged, this, [this] {
        // An owner that exits leaves an empty clipboard behind: that is not a copy.
        const QMimeData *data = m_clipboard->mimeData(QClipboard::Clipboard);
        if (data && !data->formats().isEmpty())
            ++m_changeCount;
    });
}
