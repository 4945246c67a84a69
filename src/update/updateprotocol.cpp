#include "updateprotocol.h"

#include "versioncomparison.h"

#include <QCoreApplication>
#include <QHostAddress>

namespace UpdateProtocol
{

namespace
{

bool isLoopback(const QString &host)
{
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

bool mayAsk(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    return url.scheme() == u"https" || (url.scheme() == u"http" && isLoopback(url.host()));
}

} // namespace

QString invalidURLMessage()
{
    return QCoreApplication::translate("UpdateCheck", "Invalid update URL.");
}

QString unreachableMessage()
{
    return QCoreApplication::translate(
        "UpdateCheck", "Could not reach update server. Please check your internet connection.");
}

QString httpStatusMessage(int statusCode)
{
    return QCoreApplication::translate(
               "UpdateCheck", "Update server answered with HTTP %1. Please try again later.")
        .arg(statusCode);
}

std::optional<HttpRequest> request(const QUrl &vendorAddress, qint64 unixSeconds,
                                   const QString &ownVersion)
{
    QUrl url = vendorAddress;
    url.setPath(QStringLiteral("/version.json"));
    url.setQuery(QStringLiteral("t=%1").arg(unixSeconds));
    url.setFragment(QString());
    if (!mayAsk(url))
        return std::nullopt;
    return HttpRequest{url, "Quillstash/" + ownVersion.toUtf8()};
}

UpdateCheckStatus statusFor(const HttpResponse &response, const QString &ownVersion,
                            qint64 ownBuild)
{
    if (response.outcome != HttpResponse::Outcome::Received)
        return UpdateCheckStatus::Failed{unreachableMessage()};
    if (response.statusCode < 200 || response.statusCode > 299)
        return UpdateCheckStatus::Failed{httpStatusMessage(response.statusCode)};
    const std::optional<RemoteVersionInfo> info = RemoteVersionInfo::decode(response.body);
    if (!info)
        return UpdateCheckStatus::Failed{unreachableMessage()};
    if (info->build > ownBuild || compareVersions(info->version, ownVersion) > 0)
        return UpdateCheckStatus::UpdateAvailable{*info};
    return UpdateCheckStatus::UpToDate{ownVersion, ownBuild};
}

std::optional<QUrl> downloadAddress(const RemoteVersionInfo &info, const QUrl &vendorAddress)
{
    QUrl url;
    if (info.downloadURL) {
        url = QUrl(*info.downloadURL, QUrl::StrictMode);
    } else {
        url = vendorAddress;
        url.setPath(QStringLiteral("/download/Quillstash.dmg"));
        url.setQuery(QString());
        url.setFragment(QString());
    }
    // The address comes from the network: never hand the desktop a file or another scheme.
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != u"https" && url.scheme() != u"http"))
        return std::nullopt;
    return url;
}

} // namespace UpdateProtocol
