#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace PngEncoding
{

// The image as PNG bytes, or nothing if encoding fails. A middle compression level: the
// default level costs twice the time for files about an eighth smaller.
std::optional<QByteArray> encode(const QImage &image);

} // namespace PngEncoding
