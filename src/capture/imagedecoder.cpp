#include "imagedecoder.h"

#include "capture/capturelimits.h"

#include <QBuffer>
#include <QImageReader>

namespace ImageDecoder
{

std::optional<QImage> decode(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || CaptureLimits::tiffFormSize(size) > CaptureLimits::tiff)
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

} // namespace ImageDecoder
