#pragma once

#include "httpclient.h"
#include "updatecheckstatus.h"

#include <QUrl>
#include <optional>

// How an update check asks the vendor and reads the answer.
namespace UpdateProtocol
{

QString invalidURLMessage();
QString unreachableMessage();
QString httpStatusMessage(int statusCode);

// The version endpoint of the vendor's address with the time query that defeats caches.
// Nothing unless the address is https, or plain http to this machine.
std::optional<HttpRequest> request(const QUrl &vendorAddress, qint64 unixSeconds,
                                   const QString &ownVersion);

// What an answer means for a program of the given version and build.
UpdateCheckStatus statusFor(const HttpResponse &response, const QString &ownVersion,
                            qint64 ownBuild);

// The record's download address, else the vendor's; nothing unless it is a valid web address.
std::optional<QUrl> downloadAddress(const RemoteVersionInfo &info, const QUrl &vendorAddress);

} // namespace UpdateProtocol
