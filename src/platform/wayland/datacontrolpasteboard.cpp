#include "datacontrolpasteboard.h"

#include "capture/capturelimits.h"
#include "capture/imagedecoder.h"
#include "ext-data-control-v1-client-protocol.h"
#include "pipewriter.h"
#include "platform/x11/urilist.h"
#include "waylandconnection.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QUuid>
#include <fcntl.h>
#include <tuple>
#include <unistd.h>
#include <wayland-client.h>

// The two protocols differ only in their names, so one implementation drives both through the
// wlr declarations; only requests that create objects name the interface of what they create.
static_assert(ZWLR_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE ==
                  EXT_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE &&
              ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE ==
                  EXT_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE &&
              ZWLR_DATA_CONTROL_DEVICE_V1_SET_SELECTION ==
                  EXT_DATA_CONTROL_DEVICE_V1_SET_SELECTION &&
              ZWLR_DATA_CONTROL_SOURCE_V1_OFFER == EXT_DATA_CONTROL_SOURCE_V1_OFFER &&
              ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE == EXT_DATA_CONTROL_OFFER_V1_RECEIVE);

struct DataControlPasteboard::Protocol {
    const char *name;
    const wl_interface *manager;
    const wl_interface *device;
    const wl_interface *source;
    uint32_t managerVersion;
};

namespace
{

const DataControlPasteboard::Protocol extProtocol{
    "ext-data-control-v1", &ext_data_control_manager_v1_interface,
    &ext_data_control_device_v1_interface, &ext_data_control_source_v1_interface, 1};
const DataControlPasteboard::Protocol wlrProtocol{
    "wlr-data-control-unstable-v1", &zwlr_data_control_manager_v1_interface,
    &zwlr_data_control_device_v1_interface, &zwlr_data_control_source_v1_interface, 2};

const QString uriListFormat = QStringLiteral("text/uri-list");
const QString utf8TextFormat = QStringLiteral("text/plain;charset=utf-8");
const QString plainTextFormat = QStringLiteral("text/plain");
const QString rtfFormat = QStringLiteral("text/rtf");
const QString pngFormat = QStringLiteral("image/png");
const QString tiffFormat = QStringLiteral("image/tiff");
const QString kdePasswordHintFormat = QStringLiteral("x-kde-passwordManagerHint");
const QString concealedTypeFormat = QStringLiteral("application/x-nspasteboard-concealed-type");
const QString gnomeCopiedFilesFormat = QStringLiteral("x-special/gnome-copied-files");
const QString ownMarkerPrefix = QStringLiteral("application/x-quillstash-source;id=");

// Long enough for a slow program to hand over a large image, short enough that an owner that
// never writes does not hold the next copy up for long.
constexpr auto readDeadline = std::chrono::milliseconds(3000);
constexpr auto writeDeadline = std::chrono::milliseconds(10000);
constexpr qsizetype longestType = 512;

// The text forms, best first; X11 programs on XWayland offer the old names.
const QStringList textFormats{utf8TextFormat, plainTextFormat, QStringLiteral("UTF8_STRING"),
                              QStringLiteral("STRING"), QStringLiteral("TEXT")};

QString textFormatOf(const QStringList &formats)
{
    for (const QString &wanted : textFormats) {
        for (const QString &offered : formats) {
            if (offered.compare(wanted, Qt::CaseInsensitive) == 0)
                return offered;
        }
    }
    return {};
}

// The size at which a form is cut: one byte past what the capture takes, so that a cut form is
// known to be too large.
qsizetype cutOf(const QString &format)
{
    if (format == kdePasswordHintFormat)
        return 64;
    if (format == pngFormat)
        return CaptureLimits::png + 1;
    if (format == tiffFormat)
        return CaptureLimits::tiff + 1;
    if (format == rtfFormat)
        return CaptureLimits::rtf + 1;
    return CaptureLimits::text + 1;
}

} // namespace

std::unique_ptr<DataControlPasteboard> DataControlPasteboard::create(WaylandConnection &connection)
{
    if (!connection.seat())
        return nullptr;
    for (const Protocol *protocol : {&extProtocol, &wlrProtocol}) {
        if (auto *manager = static_cast<zwlr_data_control_manager_v1 *>(
                connection.bind(protocol->manager, protocol->managerVersion)))
            return std::unique_ptr<DataControlPasteboard>(
                new DataControlPasteboard(connection, *protocol, manager));
    }
    return nullptr;
}

DataControlPasteboard::DataControlPasteboard(WaylandConnection &connection,
                                             const Protocol &protocol,
                                             zwlr_data_control_manager_v1 *manager)
    : m_connection(connection), m_protocol(protocol), m_manager(manager),
      m_ownMarker(ownMarkerPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    static const zwlr_data_control_device_v1_listener listener = {
        .data_offer = &DataControlPasteboard::handleDataOffer,
        .selection = &DataControlPasteboard::handleSelection,
        .finished = &DataControlPasteboard::handleFinished,
        .primary_selection = &DataControlPasteboard::handlePrimarySelection,
    };
    auto *proxy = reinterpret_cast<wl_proxy *>(m_manager);
    m_device = reinterpret_cast<zwlr_data_control_device_v1 *>(wl_proxy_marshal_flags(
        proxy, ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE, m_protocol.device,
        wl_proxy_get_version(proxy), 0, nullptr, m_connection.seat()));
    zwlr_data_control_device_v1_add_listener(m_device, &listener, this);
    m_connection.flush();
}

DataControlPasteboard::~DataControlPasteboard()
{
    delete m_reading;
    for (auto source = m_sources.keyBegin(); source != m_sources.keyEnd(); ++source)
        zwlr_data_control_source_v1_destroy(*source);
    for (auto offer = m_offerTypes.keyBegin(); offer != m_offerTypes.keyEnd(); ++offer)
        zwlr_data_control_offer_v1_destroy(*offer);
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    zwlr_data_control_manager_v1_destroy(m_manager);
    m_connection.flush();
}

QString DataControlPasteboard::protocolName() const
{
    return QString::fromLatin1(m_protocol.name);
}

void DataControlPasteboard::setChangeHandler(std::function<void()> handler)
{
    m_changeHandler = std::move(handler);
}

void DataControlPasteboard::handleDataOffer(void *data, zwlr_data_control_device_v1 *,
                                            zwlr_data_control_offer_v1 *offer)
{
    static const zwlr_data_control_offer_v1_listener listener = {
        .offer = &DataControlPasteboard::handleOfferType,
    };
    auto *self = static_cast<DataControlPasteboard *>(data);
    self->m_offerTypes.insert(offer, {});
    zwlr_data_control_offer_v1_add_listener(offer, &listener, self);
}

void DataControlPasteboard::handleOfferType(void *data, zwlr_data_control_offer_v1 *offer,
                                            const char *mimeType)
{
    auto *self = static_cast<DataControlPasteboard *>(data);
    const auto types = self->m_offerTypes.find(offer);
    if (types == self->m_offerTypes.end() || types->size() >= maxTypes)
        return;
    const QString type = QString::fromUtf8(mimeType);
    if (type.size() <= longestType && !types->contains(type))
        types->append(type);
}

void DataControlPasteboard::handleSelection(void *data, zwlr_data_control_device_v1 *,
                                            zwlr_data_control_offer_v1 *offer)
{
    static_cast<DataControlPasteboard *>(data)->takeSelection(offer);
}

void DataControlPasteboard::handlePrimarySelection(void *data, zwlr_data_control_device_v1 *,
                                                   zwlr_data_control_offer_v1 *offer)
{
    // Only the clipboard is watched.
    if (offer)
        static_cast<DataControlPasteboard *>(data)->destroyOffer(offer);
}

void DataControlPasteboard::handleFinished(void *data, zwlr_data_control_device_v1 *device)
{
    auto *self = static_cast<DataControlPasteboard *>(data);
    zwlr_data_control_device_v1_destroy(device);
    self->m_device = nullptr;
}

void DataControlPasteboard::destroyOffer(zwlr_data_control_offer_v1 *offer)
{
    if (m_offerTypes.remove(offer))
        zwlr_data_control_offer_v1_destroy(offer);
    if (m_selection == offer)
        m_selection = nullptr;
}

void DataControlPasteboard::takeSelection(zwlr_data_control_offer_v1 *offer)
{
    if (m_selection && m_selection != offer)
        destroyOffer(m_selection);
    m_selection = offer;
    delete m_reading;
    if (!offer) {
        // The owner went away or cleared the clipboard: nothing was copied.
        m_content = {};
        m_image.reset();
        return;
    }
    const QStringList formats = m_offerTypes.value(offer);
    // Own writes were counted when they were made.
    if (formats.contains(m_ownMarker))
        return;
    startReading(offer, formats);
}

void DataControlPasteboard::startReading(zwlr_data_control_offer_v1 *offer,
                                         const QStringList &formats)
{
    // Only the forms the capture can take: every other one would be another program's bytes
    // read for nothing.
    QStringList wanted;
    for (const QString &format :
         {pngFormat, tiffFormat, uriListFormat, rtfFormat, kdePasswordHintFormat}) {
        if (formats.contains(format))
            wanted.append(format);
    }
    if (const QString text = textFormatOf(formats); !text.isEmpty())
        wanted.append(text);

    auto *reading = new OfferReader(readDeadline, this);
    for (const QString &format : wanted) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
            continue;
        // The request carries a duplicate of the writing end.
        zwlr_data_control_offer_v1_receive(offer, format.toUtf8().constData(), fds[1]);
        ::close(fds[1]);
        reading->add(format, fds[0], cutOf(format));
    }
    m_connection.flush();
    m_reading = reading;
    reading->start([this, reading, formats](OfferReader::Results results) {
        m_reading = nullptr;
        reading->deleteLater();
        m_content = {.formats = formats};
        for (auto read = results.begin(); read != results.end(); ++read) {
            if (read.value() && read.value()->size() >= cutOf(read.key()))
                m_content.oversize.insert(read.key());
            else
                m_content.reads.insert(read.key(), std::move(read.value()));
        }
        m_image.reset();
        ++m_changeCount;
        if (m_changeHandler)
            m_changeHandler();
    });
}

PasteboardData DataControlPasteboard::read(const QString &format, qint64 limit)
{
    if (m_content.oversize.contains(format))
        return {.oversize = true};
    std::optional<QByteArray> bytes = m_content.reads.value(format);
    if (bytes && bytes->size() > limit) {
        // It stays too large for the rest of the change.
        m_content.oversize.insert(format);
        m_content.reads.remove(format);
        return {.oversize = true};
    }
    return {.bytes = std::move(bytes)};
}

QString DataControlPasteboard::textFormat() const
{
    return textFormatOf(m_content.formats);
}

QStringList DataControlPasteboard::types()
{
    QStringList types;
    for (const QString &format : m_content.formats) {
        if (!format.startsWith(ownMarkerPrefix))
            types.append(format);
    }
    const bool concealed = types.contains(concealedTypeFormat) ||
                           read(kdePasswordHintFormat, cutOf(kdePasswordHintFormat) - 1)
                                   .bytes.value_or(QByteArray())
                                   .trimmed() == "secret";
    if (concealed && !types.contains(PasteboardMarker::concealed))
        types.append(PasteboardMarker::concealed);
    return types;
}

QList<QUrl> DataControlPasteboard::fileURLs()
{
    const std::optional<QByteArray> list = read(uriListFormat, CaptureLimits::text).bytes;
    return list ? UriList::localFiles(*list) : QList<QUrl>();
}

PasteboardData DataControlPasteboard::data(PasteboardDataType type, qint64 limit)
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

std::optional<QImage> DataControlPasteboard::image()
{
    if (m_image)
        return *m_image;
    m_image.emplace();
    if (m_content.own) {
        *m_image = m_content.written.image;
        return *m_image;
    }
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

DataControlPasteboard::Forms DataControlPasteboard::formsOf(const PasteboardContent &content)
{
    Forms forms;
    if (content.url) {
        const QByteArray encoded = content.url->toEncoded();
        forms.append({uriListFormat, encoded + "\r\n"});
        if (content.url->isLocalFile())
            forms.append({gnomeCopiedFilesFormat, "copy\n" + encoded});
    }
    if (content.image) {
        QByteArray png;
        QBuffer buffer(&png);
        if (buffer.open(QIODevice::WriteOnly) && content.image->save(&buffer, "PNG"))
            forms.append({pngFormat, png});
    }
    if (content.rtf)
        forms.append({rtfFormat, *content.rtf});
    if (content.text) {
        const QByteArray utf8 = content.text->toUtf8();
        for (const QString &format : textFormats)
            forms.append({format, utf8});
    }
    if (content.concealed) {
        forms.append({kdePasswordHintFormat, "secret"});
        forms.append({concealedTypeFormat, "1"});
    }
    return forms;
}

void DataControlPasteboard::write(const PasteboardContent &content)
{
    static const zwlr_data_control_source_v1_listener listener = {
        .send = &DataControlPasteboard::handleSend,
        .cancelled = &DataControlPasteboard::handleCancelled,
    };
    Forms forms = formsOf(content);
    QStringList formats;
    for (const auto &[format, bytes] : forms)
        formats.append(format);
    if (m_device) {
        auto *manager = reinterpret_cast<wl_proxy *>(m_manager);
        auto *source = reinterpret_cast<zwlr_data_control_source_v1 *>(
            wl_proxy_marshal_flags(manager, ZWLR_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE,
                                   m_protocol.source, wl_proxy_get_version(manager), 0, nullptr));
        zwlr_data_control_source_v1_add_listener(source, &listener, this);
        for (const QString &format : formats)
            zwlr_data_control_source_v1_offer(source, format.toUtf8().constData());
        zwlr_data_control_source_v1_offer(source, m_ownMarker.toUtf8().constData());
        zwlr_data_control_device_v1_set_selection(m_device, source);
        m_sources.insert(source, forms);
        m_connection.flush();
    }
    delete m_reading;
    OfferReader::Results reads;
    for (auto &[format, bytes] : forms)
        reads.insert(format, std::move(bytes));
    m_content = {.formats = formats, .reads = std::move(reads), .own = true, .written = content};
    m_image.reset();
    ++m_changeCount;
}

void DataControlPasteboard::handleSend(void *data, zwlr_data_control_source_v1 *source,
                                       const char *mimeType, int32_t fd)
{
    auto *self = static_cast<DataControlPasteboard *>(data);
    const QString format = QString::fromUtf8(mimeType);
    for (const auto &[offered, bytes] : self->m_sources.value(source)) {
        if (offered == format) {
            PipeWriter::write(fd, bytes, writeDeadline);
            return;
        }
    }
    ::close(fd);
}

void DataControlPasteboard::handleCancelled(void *data, zwlr_data_control_source_v1 *source)
{
    auto *self = static_cast<DataControlPasteboard *>(data);
    self->m_sources.remove(source);
    zwlr_data_control_source_v1_destroy(source);
}
