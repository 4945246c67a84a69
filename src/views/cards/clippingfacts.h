#pragma once

#include <QString>

struct ClippingItem;

// The derived texts a card shows on every paint. Each costs a pass over the whole text
// (graphemes, and opening a secret), so they are worked out once per clipping and kept while the
// clipping's content stays the same.
struct ClippingFacts {
    bool isLargeEmojiOnly = false;
    QString footerMetadataText;
    QString obfuscatedText; // secrets only
    // Moves whenever the clipping's content is found changed, so pictures of it can be kept.
    quint64 revision = 0;

    static const ClippingFacts &of(const ClippingItem &item);
};
