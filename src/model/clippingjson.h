#pragma once

#include "clippingcollection.h"
#include "clippingitem.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <optional>

// The root record of the store file.
struct PersistedStore {
    QList<ClippingItem> items;
    QList<ClippingCollection> collections;
};

// The store file's JSON forms: compact objects, upper-case UUIDs, dates as seconds since
// 2001-01-01 UTC, bytes as standard Base64, absent optional fields left out.
namespace ClippingJson
{

QByteArray encode(const ClippingItem &item);
QByteArray encode(const ClippingCollection &collection);

// Nothing when the text is not JSON or any record in it does not decode: one bad clipping
// spoils the whole file. With `itemTexts`, also hands out the JSON text of each clipping as it
// stands in the file, in the order of the items, or an empty array where it is longer than
// `keptTextLimit` bytes.
std::optional<PersistedStore> decodeStore(const QByteArray &json,
                                          QByteArrayList *itemTexts = nullptr,
                                          qsizetype keptTextLimit = 0);

// Strict 8-4-4-4-12 hexadecimal form, either letter case.
std::optional<QUuid> parseUuid(std::string_view text);

} // namespace ClippingJson
