#pragma once

#include <QByteArray>
#include <optional>
#include <string_view>

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks), through OpenSSL's block
// coder, which is several times faster than QByteArray's for the image bytes of a store file.
namespace Base64
{

QByteArray encode(const QByteArray &bytes);
// Nothing unless the text is strictly standard Base64.
std::optional<QByteArray> decode(std::string_view text);

} // namespace Base64
