#include "platform/linux/urilist.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QUrl> urls = UriList::localFiles(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const QUrl &url : urls) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty())
            __builtin_trap();
    }
    return 0;
}
