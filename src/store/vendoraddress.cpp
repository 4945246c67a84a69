#include "vendoraddress.h"

#include <QtGlobal>

namespace VendorAddress
{

namespace
{

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == u"https" || url.scheme() == u"http");
}

} // namespace

QUrl webAddress()
{
    const QUrl configured(qEnvironmentVariable(environmentVariable).trimmed(), QUrl::StrictMode);
    if (isWebAddress(configured))
        return configured;
    return QUrl(QStringLiteral(QUILLSTASH_DEFAULT_VENDOR_URL), QUrl::StrictMode);
}

} // namespace VendorAddress
