#pragma once

#include "cardtier.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>

// Where everything of one card goes: the bands, the header's parts, the buttons, the footer's
// parts and the chips. Pure geometry from texts and fonts, so the grid can hit-test it and
// tests can check its numbers without pixels.
struct CardLayout {
    // What the layout depends on besides the card's rectangle and tier.
    struct Input {
        QRectF rect;
        CardTier tier = CardTier::Standard;
        QString sourceAppName;
        QString badgeLabel;
        QString metadataText;
        QStringList collectionNames;
        bool hasMaskButton = false;
        // A shortcut badge in place of the relative time.
        std::optional<QString> shortcutLabel;
        QString relativeTime;
        bool isSelected = false;
    };

    // The fonts of a tier.
    struct Fonts {
        QFont name;
        QFont badge;
        QFont headerMetadata;
        QFont headerChip;
        QFont shortcut;
        QFont relativeTime;
        QFont footerMetadata;
        QFont footerChip;
        QFont pasteHint;
        qreal maskSymbolSize = 0;
        qreal copySymbolSize = 0;
        qreal favoriteSymbolSize = 0;

        static const Fonts &forTier(CardTier tier);
    };

    struct Label {
        QRectF rect;
        QString text; // elided to fit where the text may truncate
    };

    enum class Part { Outside, Header, Content, Footer, MaskButton, CopyButton, FavoriteButton };

    CardTier tier = CardTier::Standard;
    QRectF card;
    QRectF header;
    QRectF content;
    QRectF footer; // empty in the compact tier
    qreal headerDividerY = 0;
    qreal footerDividerY = 0;

    QRectF sourceIcon;
    Label name;
    qreal nameScale = 1; // the name may shrink to 0.8 before it is elided
    QFont nameFont;
    Label badge;              // the capsule's rectangle; the text is centred in it
    Label headerMetadata;     // compact tier only
    QList<Label> headerChips; // compact tier only
    std::optional<QRectF> maskButton;
    QRectF copyButton;
    QRectF favoriteButton;
    Label trailing; // relative time, or the shortcut badge's capsule
    bool trailingIsShortcut = false;
    Label footerMetadata;
    QList<Label> footerChips;
    std::optional<Label> pasteHint;

    static CardLayout compute(const Input &input);
    Part hitTest(QPointF point) const;

    static qreal headerHeight(CardTier tier);
    // Zero in the compact tier, which has no footer.
    static qreal footerHeight(CardTier tier);
    static qreal buttonSize(CardTier tier);
};
