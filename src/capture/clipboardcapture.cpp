#include "clipboardcapture.h"

#include "capture/capturelimits.h"
#include "capture/contentclassifier.h"
#include "capture/pasteboard.h"

#include <QBuffer>
#include <array>

namespace ClipboardCapture
{

namespace
{

std::optional<QByteArray> encodePng(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::nullopt;
    return png;
}

Outcome refused(const QString &message)
{
    return {.toast = message};
}

} // namespace

bool isSensitive(const QStringList &types, const QString &appName, const QString &bundleID)
{
    for (const QString &marker : {PasteboardMarker::concealed, PasteboardMarker::onePassword,
                                  PasteboardMarker::transient}) {
        if (types.contains(marker))
            return true;
    }
    // The last three are this desktop's own: KeePassXC and KeePass, GNOME's and KDE's keyrings.
    static constexpr std::array fragments{
        QLatin1StringView("1password"), QLatin1StringView("keychain"),
        QLatin1StringView("passwords"), QLatin1StringView("bitwarden"),
        QLatin1StringView("dashlane"),  QLatin1StringView("lastpass"),
        QLatin1StringView("keepass"),   QLatin1StringView("seahorse"),
        QLatin1StringView("kwallet")};
    const QString name = appName.toLower();
    const QString id = bundleID.toLower();
    for (QLatin1StringView fragment : fragments) {
        if (name.contains(fragment) || id.contains(fragment))
            return true;
    }
    return false;
}

qint64 tiffFormSize(const QImage &image)
{
    return CaptureLimits::tiffFormSize(image.size());
}

Outcome read(Pasteboard &pasteboard, bool isPassword, const ClippingSource &source)
{
    const QList<QUrl> files = pasteboard.fileURLs();
    if (!files.isEmpty())
        return {.item = ContentClassifier::fileClipping(files.first(), source)};

    if (pasteboard.data(PasteboardDataType::Png, CaptureLimits::png).oversize ||
        pasteboard.data(PasteboardDataType::Tiff, CaptureLimits::tiff).oversize)
        return refused(imageTooLargeMessage);

    if (const std::optional<QImage> image = pasteboard.image();
        image && !image->isNull() && tiffFormSize(*image) <= CaptureLimits::tiff) {
        if (const std::optional<QByteArray> png = encodePng(*image)) {
            if (png->size() > CaptureLimits::png)
                return refused(imageTooLargeMessage);
            return {.item = ContentClassifier::imageClipping(*png, image->size(), source)};
        }
    }

    const PasteboardData utf8 = pasteboard.data(PasteboardDataType::Text, CaptureLimits::text);
    if (utf8.oversize)
        return refused(textTooLargeMessage);
    if (!utf8.bytes || utf8.bytes->isEmpty())
        return {};
    // Bytes that are not UTF-8 become replacement characters, which may take more room.
    const QString text = QString::fromUtf8(*utf8.bytes);
    if (text.toUtf8().size() > CaptureLimits::text)
        return refused(textTooLargeMessage);
    if (isPassword)
        return {.item = ContentClassifier::secretTextClipping(text, source)};

    const ContentClassifier::TextKind kind = ContentClassifier::classifyText(text);
    std::optional<QByteArray> rtf;
    if (kind == ContentClassifier::TextKind::Text)
        rtf = pasteboard.data(PasteboardDataType::Rtf, CaptureLimits::rtf).bytes;
    return {.item = ContentClassifier::textClipping(text, kind, std::move(rtf), source)};
}

} // namespace ClipboardCapture
