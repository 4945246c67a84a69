#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QString>

struct ClippingItem;
struct Theme;

// The type badge in a card's header: what the clipping is, in its accent colour.
struct CardBadge {
    Q_DECLARE_TR_FUNCTIONS(CardBadge)

public:
    QString label;
    QColor colour;

    static CardBadge forItem(const ClippingItem &item, const Theme &theme);
};
