#include "update/remoteversioninfo.h"
#include "update/updateprotocol.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RemoteVersionInfo> info = RemoteVersionInfo::decode(body);
    if (info) {
        // A record that decodes has a version to compare, and its address is either refused or
        // a web address.
        if (info->version.isNull())
            __builtin_trap();
        const std::optional<QUrl> address =
            UpdateProtocol::downloadAddress(*info, QUrl(QStringLiteral("https://example.org")));
        if (address && !address->isValid())
            __builtin_trap();
    }
    const HttpResponse response{HttpResponse::Outcome::Received, 200, body};
    UpdateProtocol::statusFor(response, QStringLiteral("2.0.0"), 200);
    return 0;
}
