#pragma once

#include "capture/pasteboard.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>
#include <cstdint>

class QClipboard;
class QMimeData;

// The system clipboard (clipboard mode) through QClipboard.
//
// QClipboard has no change count, so one is kept here: +1 inside every own write, and
// +1 for every change made by another client. On X11 the latter are the XFixes events that
// report a new owner of CLIPBOARD which is not one of our windows: an owner exiting is an
// event of another kind, and the events of our own writes (which arrive later) name our
// window. Elsewhere QClipboard::dataChanged stands in, minus own writes and empty contents.
//
// Another client's content is read lazily and at most once per change: Qt asks the owner
// again on every request and waits 5 s for one that does not answer. The first request left
// unanswered ends the reading of that change, and one change reads at most
// CaptureLimits::perChange bytes, so that a hostile owner costs one wait and bounded memory.
class ClipboardPasteboard final : public QObject,
                                  public Pasteboard,
                                  private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit ClipboardPasteboard(QClipboard *clipboard, QObject *parent = nullptr);
    ~ClipboardPasteboard() override;

    qint64 changeCount() const override { return m_changeCount; }
    void setChangeHandler(std::function<void()> handler) override;

    QStringList types() override;
    QList<QUrl> fileURLs() override;
    PasteboardData data(PasteboardDataType type, qint64 limit) override;
    std::optional<QImage> image() override;

    void write(const PasteboardContent &content) override;

private:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    void handleDataChanged();
    void countExternalChange(std::optional<QStringList> formats);
    // The content went away with its owner.
    void forgetContent();
    void countOwnChange(const QStringList &formats);
    // Forgets what was read; formats: what the new content offers, nothing if not yet read.
    void startContent(std::optional<QStringList> formats);
    const QStringList &formats();
    // The bytes of one offered format, asked of the owner once per change.
    PasteboardData read(const QString &format, qint64 limit);
    // Adds what a request cost to the change; an empty answer that took long means the owner
    // stopped answering.
    void weigh(qint64 emptyAnswerMilliseconds, qint64 bytes);
    // UTF8_STRING by its MIME name when offered, else whatever Qt reads as plain text.
    QString textFormat();

    QClipboard *m_clipboard;
    // X11 only: the XFixes selection event code, CLIPBOARD, and our connection's window ids.
    uint8_t m_selectionNotifyEvent = 0;
    uint32_t m_clipboardAtom = 0;
    uint32_t m_resourceBase = 0;
    uint32_t m_resourceMask = 0;
    qint64 m_changeCount = 0;
    bool m_writing = false;
    std::function<void()> m_changeHandler;

    // What has been read of the current content.
    std::optional<QStringList> m_formats;
    // Bytes are kept only when they were within the limit they were read with.
    struct Read {
        std::optional<QByteArray> bytes;
        qint64 size = 0;
    };
    QHash<QString, Read> m_reads;
    std::optional<std::optional<QImage>> m_image;
    qint64 m_bytesRead = 0;
    qint64 m_millisecondsWaited = 0;
    // The owner stopped answering, or the change has cost all it may.
    bool m_gaveUp = false;

    // Whether the current content is what our last write made.
    bool m_ownContent = false;
    PasteboardContent m_written;
};
