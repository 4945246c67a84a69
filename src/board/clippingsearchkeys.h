#pragma once

#include "model/clippingitem.h"

#include <QByteArray>
#include <QByteArrayView>

// The lower-cased fields a search looks at, worked out once per clipping.
struct ClippingSearchKeys {
    // Separates the fields in `joined`; a query without it cannot match across two fields.
    static constexpr char separator = '\0';

    // The searched fields lower-cased in UTF-8, each followed by the separator; a secret
    // clipping's text is left out. UTF-8 halves the bytes a search reads, and for well-formed
    // text a byte match is exactly a character match.
    QByteArrayView joined;
    // False when a field holds a broken surrogate pair: such a clipping is searched field by
    // field instead.
    bool isWellFormed = true;

    // The fields a search looks at, shared with the clipping they were taken from, so that
    // keys can be made from them on another thread while the history changes.
    struct Fields {
        bool isPassword = false;
        QString textContent;
        QString sourceAppName;
        std::optional<QString> windowTitle;
        std::optional<QString> fileName;
        std::optional<QString> urlTitle;

        static Fields of(const ClippingItem &item);
    };

    // Appends the joined keys to `keys` and tells whether they are well formed.
    static bool append(QByteArray &keys, const Fields &fields);
    static bool append(QByteArray &keys, const ClippingItem &item)
    {
        return append(keys, Fields::of(item));
    }
};
