#include "pngencoding.h"

#include <QBuffer>
#include <QImageWriter>

namespace PngEncoding
{

std::optional<QByteArray> encode(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    QImageWriter writer(&buffer, "png");
    writer.setQuality(50);
    if (!writer.write(image))
        return std::nullopt;
    return png;
}

} // namespace PngEncoding
