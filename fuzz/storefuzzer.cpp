#include "model/clippingjson.h"

#include <cstdint>
#include <simdjson.h>

namespace
{

// Every "textContent" the record gives, as any reader would see it, must be the clipping's.
bool textsAgree(std::string_view record, const QString &text)
{
    simdjson::dom::parser parser;
    simdjson::dom::object object;
    if (parser.parse(record.data(), record.size()).get(object))
        return false;
    const QByteArray utf8 = text.toUtf8();
    for (const auto field : object) {
        std::string_view value;
        if (field.key == "textContent" &&
            (field.value.get_string().get(value) ||
             value != std::string_view(utf8.constData(), size_t(utf8.size()))))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<StoreOutline::Span> spans;
    const std::optional<PersistedStore> store = ClippingJson::decodeStore(json, &spans);
    if (!store)
        return 0;
    if (spans.size() != store->items.size())
        __builtin_trap();
    // A record kept as it stands must be the clipping alone, and give no other text than it: a
    // secret read as sealed must not carry its plain text along.
    for (qsizetype i = 0; i < spans.size(); ++i) {
        const ClippingItem &item = store->items[i];
        const std::string_view record(json.constData() + spans[i].begin, size_t(spans[i].size()));
        const bool kept = ClippingJson::isAsEncoded(item, record);
        if (kept != ClippingJson::encodesAs(item, record))
            __builtin_trap();
        if (!kept)
            continue;
        const QByteArray alone = "{\"items\":[" +
                                 QByteArray(record.data(), qsizetype(record.size())) +
                                 "],\"collections\":[]}";
        const std::optional<PersistedStore> decoded = ClippingJson::decodeStore(alone);
        if (!decoded || decoded->items != QList<ClippingItem>{item} ||
            !textsAgree(record, item.textContent))
            __builtin_trap();
    }
    // What loads must encode and load again to the same records.
    QByteArray again = "{\"items\":[";
    for (qsizetype i = 0; i < store->items.size(); ++i)
        again += (i ? "," : "") + ClippingJson::encode(store->items[i]);
    again += "],\"collections\":[";
    for (qsizetype i = 0; i < store->collections.size(); ++i)
        again += (i ? "," : "") + ClippingJson::encode(store->collections[i]);
    again += "]}";
    const std::optional<PersistedStore> reloaded = ClippingJson::decodeStore(again);
    if (!reloaded || reloaded->items != store->items || reloaded->collections != store->collections)
        __builtin_trap();
    return 0;
}
