#include "mimepasteboard.h"

#include "capture/capturelimits.h"
#include "capture/imagedecoder.h"
#include "urilist.h"

#include <tuple>

namespace
{

// The password manager hint is one short word.
constexpr qint64 hintLimit = 64;

} // namespace

void MimePasteboard::setChangeHandler(std::function<void()> handler)
{
    m_changeHandler = std::move(handler);
}

void MimePasteboard::countChange(bool own)
{
    ++m_changeCount;
    if (!own && m_changeHandler)
        m_changeHandler();
}

QStringList MimePasteboard::types()
{
    QStringList types = contentFormats();
    const bool concealed =
        types.contains(concealedTypeFormat) ||
        read(kdePasswordHintFormat, hintLimit).bytes.value_or(QByteArray()).trimmed() == "secret";
    if (concealed && !types.contains(PasteboardMarker::concealed))
        types.append(PasteboardMarker::concealed);
    return types;
}

QList<QUrl> MimePasteboard::fileURLs()
{
    const std::optional<QByteArray> list = read(uriListFormat, CaptureLimits::text).bytes;
    return list ? UriList::localFiles(*list) : QList<QUrl>();
}

PasteboardData MimePasteboard::data(PasteboardDataType type, qint64 limit)
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

std::optional<QImage> MimePasteboard::image()
{
    if (m_image)
        return *m_image;
    m_image.emplace();
    if (const PasteboardContent *own = ownContent()) {
        *m_image = own->image;
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
