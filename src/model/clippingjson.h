#pragma once

#include "clippingcollection.h"
#include "clippingitem.h"
#include "storeoutline.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <optional>
#include <string_view>

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

// Whether encode() writes exactly this text for the clipping, found without making it.
bool encodesAs(const ClippingItem &item, std::string_view json);
// The same for a clipping decoded from this very record, several times faster for images.
bool isAsEncoded(const ClippingItem &decoded, std::string_view json);

// Nothing when the text is not JSON or any record in it does not decode: one bad clipping
// spoils the whole file. With `itemSpans`, also tells where each clipping's record stands in
// the text, in the order of the items.
std::optional<PersistedStore> decodeStore(const QByteArray &json,
                                          QList<StoreOutline::Span> *itemSpans = nullptr);
// The same over text followed by `room` readable bytes, at least StoreOutline::paddingBytes of
// them and the first one zero, such as a mapped file; records are parsed where they lie. The
// item list gets room for `itemsInFront` more clippings before its first one.
std::optional<PersistedStore> decodePaddedStore(std::string_view json, qsizetype room,
                                                QList<StoreOutline::Span> *itemSpans = nullptr,
                                                qsizetype itemsInFront = 0);

// Strict 8-4-4-4-12 hexadecimal form, either letter case.
std::optional<QUuid> parseUuid(std::string_view text);

} // namespace ClippingJson
