#include "base64.h"

#include <cstring>
#include <openssl/evp.h>

namespace Base64
{

QByteArray encode(const QByteArray &bytes)
{
    QByteArray text(encodedRoom(bytes.size()), Qt::Uninitialized);
    text.truncate(encodeInto(bytes.constData(), bytes.size(), text.data()));
    return text;
}

qsizetype encodeInto(const char *bytes, qsizetype size, char *out)
{
    return EVP_EncodeBlock(reinterpret_cast<unsigned char *>(out),
                           reinterpret_cast<const unsigned char *>(bytes), static_cast<int>(size));
}

std::optional<QByteArray> decode(std::string_view text)
{
    const size_t length = text.size();
    if (length % 4 != 0)
        return std::nullopt;
    if (length == 0)
        return QByteArray();
    // OpenSSL's block decoder trims surrounding white space and takes "=" anywhere; the file
    // form allows neither.
    const size_t padding = text[length - 1] != '=' ? 0 : text[length - 2] != '=' ? 1 : 2;
    if (std::memchr(text.data(), '=', length - padding) != nullptr)
        return std::nullopt;

    QByteArray bytes(static_cast<qsizetype>(length / 4 * 3), Qt::Uninitialized);
    const int written = EVP_DecodeBlock(reinterpret_cast<unsigned char *>(bytes.data()),
                                        reinterpret_cast<const unsigned char *>(text.data()),
                                        static_cast<int>(length));
    if (written != bytes.size())
        return std::nullopt;
    bytes.chop(static_cast<qsizetype>(padding));
    return bytes;
}

} // namespace Base64
