#include "clipboardpasteboard.h"

#include "capture/capturelimits.h"
#include "capture/imagedecoder.h"
#include "urilist.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace
{

const QString uriListFormat = QStringLiteral("text/uri-list");
const QString utf8TextFormat = QStringLiteral("text/plain;charset=utf-8");
// Qt reports UTF8_STRING, STRING and TEXT under this name.
const QString plainTextFormat = QStringLiteral("text/plain");
const QString rtfFormat = QStringLiteral("text/rtf");
const QString pngFormat = QStringLiteral("image/png");
const QString tiffFormat = QStringLiteral("image/tiff");
const QString kdePasswordHintFormat = QStringLiteral("x-kde-passwordManagerHint");
const QString concealedTypeFormat = QStringLiteral("application/x-nspasteboard-concealed-type");
const QString gnomeCopiedFilesFormat = QStringLiteral("x-special/gnome-copied-files");

// Qt gives up on an owner after 5 s; an empty answer that took this long is that, or an owner
// that went away while we waited.
constexpr qint64 stalledMilliseconds = 1000;
// All the waiting one change may cost, however slowly each answer comes.
constexpr qint64 waitPerChangeMilliseconds = 5000;
// The password manager hint is one short word.
constexpr qint64 hintLimit = 64;

// Targets of the selection protocol itself, not content.
bool isProtocolTarget(const QString &format)
{
    return format == u"TARGETS" || format == u"MULTIPLE" || format == u"TIMESTAMP" ||
           format == u"SAVE_TARGETS";
}

} // namespace

ClipboardPasteboard::ClipboardPasteboard(QClipboard *clipboard, QObject *parent)
    : QObject(parent), m_clipboard(clipboard)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        connect(m_clipboard, &QClipboard::dataChanged, this,
                &ClipboardPasteboard::handleDataChanged);
        return;
    }
    // Qt itself asks for the XFixes events of CLIPBOARD; they pass through the filter first.
    const char xfixes[] = "XFIXES";
    const char clipboardName[] = "CLIPBOARD";
    xcb_query_extension_reply_t *extension = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof(xfixes) - 1, xfixes), nullptr);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, sizeof(clipboardName) - 1, clipboardName),
        nullptr);
    if (extension && extension->present && atom) {
        m_selectionNotifyEvent = uint8_t(extension->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        m_clipboardAtom = atom->atom;
        const xcb_setup_t *setup = xcb_get_setup(connection);
        m_resourceBase = setup->resource_id_base;
        m_resourceMask = setup->resource_id_mask;
        QCoreApplication::instance()->installNativeEventFilter(this);
    } else {
        connect(m_clipboard, &QClipboard::dataChanged, this,
                &ClipboardPasteboard::handleDataChanged);
    }
    std::free(extension);
    std::free(atom);
}

ClipboardPasteboard::~ClipboardPasteboard()
{
    if (m_selectionNotifyEvent)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ClipboardPasteboard::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_selectionNotifyEvent)
        return false;
    const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
    // While the clipboard is ours, another client's event can only be older than our write.
    if (notify->selection != m_clipboardAtom || m_clipboard->ownsClipboard())
        return false;
    const bool ownWindow = (notify->owner & ~m_resourceMask) == m_resourceBase;
    if (notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER) {
        // An owner of None is a clear; the events of own writes are counted already.
        if (notify->owner != XCB_NONE && !ownWindow)
            countExternalChange(std::nullopt);
    } else if (!ownWindow) {
        forgetContent();
    }
    return false;
}

void ClipboardPasteboard::setChangeHandler(std::function<void()> handler)
{
    m_changeHandler = std::move(handler);
}

void ClipboardPasteboard::handleDataChanged()
{
    // Own writes are counted where they are made.
    if (m_writing || m_clipboard->ownsClipboard())
        return;
    const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard);
    QStringList formats = mime ? mime->formats() : QStringList();
    // An owner that exits (or the echo of an own clear) leaves an empty clipboard: not a copy.
    if (formats.isEmpty())
        forgetContent();
    else
        countExternalChange(std::move(formats));
}

void ClipboardPasteboard::startContent(std::optional<QStringList> formats)
{
    m_reads.clear();
    m_image.reset();
    m_bytesRead = 0;
    m_millisecondsWaited = 0;
    m_gaveUp = false;
    m_formats = std::move(formats);
}

void ClipboardPasteboard::countExternalChange(std::optional<QStringList> formats)
{
    m_ownContent = false;
    m_written = {};
    startContent(std::move(formats));
    ++m_changeCount;
    if (m_changeHandler)
        m_changeHandler();
}

void ClipboardPasteboard::forgetContent()
{
    m_ownContent = false;
    m_written = {};
    startContent(QStringList());
}

void ClipboardPasteboard::countOwnChange(const QStringList &formats)
{
    m_ownContent = true;
    startContent(formats);
    ++m_changeCount;
}

const QStringList &ClipboardPasteboard::formats()
{
    if (!m_formats) {
        QElapsedTimer clock;
        clock.start();
        const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard);
        m_formats = mime ? mime->formats() : QStringList();
        weigh(m_formats->isEmpty() ? clock.elapsed() : 0, 0);
    }
    return *m_formats;
}

void ClipboardPasteboard::weigh(qint64 emptyAnswerMilliseconds, qint64 bytes)
{
    m_millisecondsWaited += emptyAnswerMilliseconds;
    m_bytesRead += bytes;
    if (emptyAnswerMilliseconds >= stalledMilliseconds ||
        m_millisecondsWaited > waitPerChangeMilliseconds || m_bytesRead > CaptureLimits::perChange)
        m_gaveUp = true;
}

PasteboardData ClipboardPasteboard::read(const QString &format, qint64 limit)
{
    if (!formats().contains(format))
        return {};
    if (const auto found = m_reads.constFind(format); found != m_reads.cend()) {
        if (found->size > limit || (found->size > 0 && !found->bytes))
            return {.oversize = true};
        return {.bytes = found->bytes};
    }
    if (m_gaveUp)
        return {};
    const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!mime)
        return {};
    QElapsedTimer clock;
    clock.start();
    QByteArray bytes = mime->data(format);
    const qint64 size = bytes.size();
    weigh(bytes.isEmpty() ? clock.elapsed() : 0, size);
    if (bytes.isEmpty()) {
        m_reads.insert(format, {});
        return {};
    }
    if (size > limit) {
        m_reads.insert(format, {.size = size});
        return {.oversize = true};
    }
    m_reads.insert(format, {.bytes = bytes, .size = size});
    return {.bytes = std::move(bytes)};
}

QStringList ClipboardPasteboard::types()
{
    QStringList types;
    for (const QString &format : formats()) {
        if (!isProtocolTarget(format))
            types.append(format);
    }
    const bool concealed =
        types.contains(concealedTypeFormat) ||
        read(kdePasswordHintFormat, hintLimit).bytes.value_or(QByteArray()).trimmed() == "secret";
    if (concealed && !types.contains(PasteboardMarker::concealed))
        types.append(PasteboardMarker::concealed);
    return types;
}

QList<QUrl> ClipboardPasteboard::fileURLs()
{
    const std::optional<QByteArray> list = read(uriListFormat, CaptureLimits::text).bytes;
    return list ? UriList::localFiles(*list) : QList<QUrl>();
}

PasteboardData ClipboardPasteboard::data(PasteboardDataType type, qint64 limit)
{
    switch (type) {
    case PasteboardDataType::Png:
        return read(pngFormat, limit);
    case PasteboardDataType::Tiff:
        return read(tiffFormat, limit);
    case PasteboardDataType::Rtf:
        return read(rtfFormat, limit);
    case PasteboardDataType::Text:
        return read(textFormat(), limit);
    }
    return {};
}

std::optional<QImage> ClipboardPasteboard::image()
{
    if (m_image)
        return *m_image;
    m_image.emplace();
    if (m_ownContent) {
        *m_image = m_written.image;
        return *m_image;
    }
    // No other image form is asked for: each would be one more wait on a stalling owner, one
    // more large answer, and one more decoder exposed to another program's bytes.
    for (const auto &[format, limit, decoder] :
         {std::tuple{pngFormat, CaptureLimits::png, "png"},
          std::tuple{tiffFormat, CaptureLimits::tiff, "tiff"}}) {
        if (const std::optional<QByteArray> bytes = read(format, limit).bytes) {
            *m_image = ImageDecoder::decode(*bytes, decoder);
            if (*m_image)
                break;
        }
    }
    return *m_image;
}

QString ClipboardPasteboard::textFormat()
{
    for (const QString &offered : formats()) {
        if (offered.compare(utf8TextFormat, Qt::CaseInsensitive) == 0)
            return offered;
    }
    return plainTextFormat;
}

void ClipboardPasteboard::write(const PasteboardContent &content)
{
    m_written = content;
    auto *mime = new QMimeData;
    if (content.url) {
        mime->setUrls({*content.url});
        if (content.url->isLocalFile())
            mime->setData(gnomeCopiedFilesFormat, "copy\n" + content.url->toEncoded());
    }
    if (content.image)
        mime->setImageData(*content.image);
    if (content.rtf)
        mime->setData(rtfFormat, *content.rtf);
    if (content.text)
        mime->setText(*content.text);
    if (content.concealed) {
        mime->setData(kdePasswordHintFormat, "secret");
        mime->setData(concealedTypeFormat, "1");
    }
    const QStringList formats = mime->formats();
    m_writing = true;
    m_clipboard->setMimeData(mime, QClipboard::Clipboard);
    m_writing = false;
    countOwnChange(formats);
}
