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
    // The kept facts, if they are still the clipping's; null otherwise.
    static const ClippingFacts *known(const ClippingItem &item);
    // Safe on any thread, for texts too long to go through on the GUI thread; remember() keeps
    // the result, on the GUI thread.
    static ClippingFacts compute(const ClippingItem &item);
    static const ClippingFacts &remember(const ClippingItem &item, ClippingFacts facts);
};
