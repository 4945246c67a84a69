#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

// The text/uri-list clipboard format (RFC 2483).
namespace UriList
{

// The local file URLs of the list, in order: file: URLs without a host or with "localhost".
// Comments, blank lines and anything else are skipped.
QList<QUrl> localFiles(const QByteArray &list);

} // namespace UriList
