#pragma once

#include "cardlayout.h"
#include "cardtier.h"
#include "model/timestamp.h"

#include <QCoreApplication>
#include <QRectF>
#include <QStringList>
#include <optional>

class CardImageCache;
class ClipboardManagerState;
class QPainter;
struct ClippingItem;
struct Theme;

// One clipping drawn as a card: header, content and footer bands in a rounded frame. Plain
// functions of their inputs, so that a grid paints any number of cards without a widget each.
class ClippingCard
{
    Q_DECLARE_TR_FUNCTIONS(ClippingCard)

public:
    struct Input {
        const ClippingItem &item;
        QRectF rect;
        CardTier tier = CardTier::Standard;
        const Theme &theme;
        bool isSelected = false;
        bool isMasked = false;
        bool isHoldingCommandKey = false;
        bool fullCardColorPreview = false;
        std::optional<int> shortcutNumber;
        QStringList collectionNames;
        Timestamp now;
        CardImageCache *images = nullptr; // the shared cache when null
    };

    // The input for a clipping as the board state shows it.
    static Input input(const ClipboardManagerState &state, const ClippingItem &item,
                       const QRectF &rect, const Theme &theme,
                       std::optional<int> shortcutNumber = std::nullopt,
                       Timestamp now = Timestamp::now());
    static QStringList collectionNames(const ClipboardManagerState &state,
                                       const ClippingItem &item);

    static CardLayout layout(const Input &input);
    static void paint(QPainter &painter, const Input &input);
    static void paint(QPainter &painter, const Input &input, const CardLayout &layout);

    // The card's fill: the clipping's own colour with full-card preview, else the theme's.
    static QColor baseColour(const Input &input);
    static bool hasMaskButton(const ClippingItem &item);
    static bool showsShortcutBadge(const Input &input);
    // The tool tip of a part of the card; empty where there is none.
    static QString toolTip(CardLayout::Part part, const ClippingItem &item, bool isMasked);
    // What a screen reader says for the card: type, source and first line, masked when the
    // text is.
    static QString accessibleName(const ClippingItem &item, bool isMasked);
    // The text a dragged card carries: the clipping's id, upper-case with hyphens.
    static QString dragText(const ClippingItem &item);

    // A click on a part: the buttons run their operation, anywhere else selects the card.
    static void click(ClipboardManagerState &state, const ClippingItem &item,
                      CardLayout::Part part);
    // The first click of a double click has already selected the card.
    static void doubleClick(ClipboardManagerState &state, const ClippingItem &item);

    static constexpr qreal cornerRadius = 10;
};
