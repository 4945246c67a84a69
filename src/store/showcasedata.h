#pragma once

#include "model/clippingcollection.h"
#include "model/clippingitem.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The demonstration history of a fresh start: twelve clippings showing every kind of card,
// and two collections.
struct ShowcaseData {
    QList<ClippingCollection> collections;
    QList<ClippingItem> items; // newest first

    // Fresh ids each time; ages count back from `now`; `artworkPng` is the picture of the
    // image clipping. The secret clipping is sealed here, so its bytes differ on every call.
    static ShowcaseData make(Timestamp now, const std::optional<QByteArray> &artworkPng);
};
