#include "model/clippingjson.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArrayList texts;
    const std::optional<PersistedStore> store = ClippingJson::decodeStore(json, &texts, 4096);
    if (!store)
        return 0;
    // What loads must encode and load again to the same records.
    QByteArray again = "{\"items\":[";
    for (qsizetype i = 0; i < store->items.size(); ++i)
        again += (i ? "," : "") + ClippingJson::encode(store->items[i]);
    again += "],\"collections\":[";
    for (qsizetype i = 0; i < store->collections.size(); ++i)
        again += (i ? "," : "") + ClippingJson::encode(store->collections[i]);
    again += "]}";
    const std::optional<PersistedStore> reloaded = ClippingJson::decodeStore(again);
    if (!reloaded || reloaded->items != store->items ||
        reloaded->collections != store->collections || texts.size() != store->items.size())
        __builtin_trap();
    return 0;
}
