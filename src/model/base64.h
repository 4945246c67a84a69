#pragma once

#include <QByteArray>
#include <optional>
#include <string_view>

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks), through OpenSSL's block
// coder, which is several times faster than QByteArray's for the image bytes of a store file.
namespace Base64
{

QByteArray encode(const QByteArray &bytes);
// The room encodeInto needs for `size` bytes, its closing zero included.
constexpr qsizetype encodedRoom(qsizetype size)
{
    return 4 * ((size + 2) / 3) + 1;
}
// Encodes into `out`, which has encodedRoom(size) bytes, and returns the length of the text.
// Pieces of a multiple of three bytes encode to pieces of the whole text.
qsizetype encodeInto(const char *bytes, qsizetype size, char *out);
// Nothing unless the text is strictly standard Base64.
std::optional<QByteArray> decode(std::string_view text);

} // namespace Base64
