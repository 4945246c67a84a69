#include "clipboardpasteboard.h"

#include "capture/capturelimits.h"
#include "urilist.h"

#include <QClipboard>
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
        const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard);
        m_formats = mime ? mime->formats() : QStringList();
    }
    return *m_formats;
}

std::optional<QByteArray> ClipboardPasteboard::read(const QString &format)
{
    if (!formats().contains(format))
        return std::nullopt;
    if (const auto found = m_reads.constFind(format); found != m_reads.cend())
        return *found;
    std::optional<QByteArray> bytes;
    if (const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard)) {
        QByteArray data = mime->data(format);
        if (!data.isEmpty())
            bytes = std::move(data);
    }
    m_reads.insert(format, bytes);
    return bytes;
}

QStringList ClipboardPasteboard::types()
{
    QStringList types;
    for (const QString &format : formats()) {
        if (!isProtocolTarget(format))
            types.append(format);
    }
    const bool concealed = types.contains(concealedTypeFormat) ||
                           read(kdePasswordHintFormat).value_or(QByteArray()).trimmed() == "secret";
    if (concealed && !types.contains(PasteboardMarker::concealed))
        types.append(PasteboardMarker::concealed);
    return types;
}

QList<QUrl> ClipboardPasteboard::fileURLs()
{
    const std::optional<QByteArray> list = read(uriListFormat);
    return list ? UriList::localFiles(*list) : QList<QUrl>();
}

std::optional<QByteArray> ClipboardPasteboard::data(PasteboardDataType type)
{
    switch (type) {
    case PasteboardDataType::Png:
        return read(pngFormat);
    case PasteboardDataType::Tiff:
        return read(tiffFormat);
    case PasteboardDataType::Rtf:
        return read(rtfFormat);
    }
    return std::nullopt;
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
    // PNG and TIFF first; any other image form the owner offers after them. Qt's own
    // "application/x-qt-image" would ask the owner for every image format in turn.
    QStringList candidates{pngFormat, tiffFormat};
    for (const QString &format : formats()) {
        if (format.startsWith(u"image/") && !candidates.contains(format) && format != u"image/ppm")
            candidates.append(format);
    }
    for (const QString &format : candidates) {
        const std::optional<QByteArray> bytes = read(format);
        // Never decode what no guard has weighed.
        if (!bytes || bytes->size() > CaptureLimits::tiff)
            continue;
        QImage decoded = QImage::fromData(*bytes);
        if (!decoded.isNull()) {
            m_image->emplace(std::move(decoded));
            break;
        }
    }
    return *m_image;
}

std::optional<QString> ClipboardPasteboard::string()
{
    QString format;
    for (const QString &offered : formats()) {
        if (offered.compare(utf8TextFormat, Qt::CaseInsensitive) == 0) {
            format = offered;
            break;
        }
    }
    if (format.isEmpty())
        format = plainTextFormat;
    // Bytes that are not UTF-8 come out with replacement characters, as Qt itself decodes
    // UTF8_STRING.
    const std::optional<QByteArray> bytes = read(format);
    return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
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
