#include "platform/linux/desktopentryfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QHash<QString, QString> keys = DesktopEntryFile::parseMainGroup(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (it.key().isEmpty() || it.key().contains(u'\n'))
            __builtin_trap();
    }
    return 0;
}
