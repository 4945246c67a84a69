#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

// Decodes clipboard images of a stated format only, so that no other decoder ever sees bytes
// from another program.
namespace ImageDecoder
{

// Nothing when the bytes are not of that format ("png" or "tiff"), or when the size their header
// declares would make a decoded image larger than the capture takes: that is refused before any
// pixel is decoded.
std::optional<QImage> decode(const QByteArray &bytes, const char *format);

} // namespace ImageDecoder
