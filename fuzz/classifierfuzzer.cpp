#include "capture/contentclassifier.h"

#include <QColor>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const ClippingSource source{};
    const ContentClassifier::TextKind kind = ContentClassifier::classifyText(text);
    const ClippingItem item = ContentClassifier::textClipping(text, kind, std::nullopt, source);
    // A colour clipping always carries a colour the card can draw.
    if (kind == ContentClassifier::TextKind::Color &&
        (!item.colorHex || !QColor::isValidColorName(*item.colorHex)))
        __builtin_trap();
    ContentClassifier::looksLikeCode(text, QStringLiteral("Terminal"));
    return 0;
}
