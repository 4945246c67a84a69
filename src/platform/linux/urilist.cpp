#include "urilist.h"

#include <optional>

namespace
{

std::optional<QUrl> localFileURL(const QByteArray &line)
{
    QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"file")
        return std::nullopt;
    if (url.host() == u"localhost")
        url.setHost(QString());
    if (!url.host().isEmpty() || url.path().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

namespace UriList
{

QList<QUrl> localFiles(const QByteArray &list)
{
    QList<QUrl> urls;
    for (QByteArray line : list.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (std::optional<QUrl> url = localFileURL(line))
            urls.append(*url);
    }
    return urls;
}

} // namespace UriList
