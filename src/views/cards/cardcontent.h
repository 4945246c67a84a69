#pragma once

#include "cardtier.h"

#include <QCoreApplication>
#include <QRectF>
#include <QString>

class CardImageCache;
class QPainter;
struct ClippingItem;
struct Theme;

// The middle band of a card: the clipping itself, laid out by its type and rich kind.
class CardContent
{
    Q_DECLARE_TR_FUNCTIONS(CardContent)

public:
    enum class Layout { Secret, Headline, Code, Calendar, Emoji, Text, Link, Color, Image, File };

    struct Input {
        const ClippingItem &item;
        QRectF rect;
        CardTier tier = CardTier::Standard;
        const Theme &theme;
        bool isMasked = false;
        CardImageCache *images = nullptr; // the shared cache when null
        // The card's rounded frame, which the band is cut to where it reaches the corners.
        QRectF cardRect;
        qreal cornerRadius = 0;
    };

    static Layout layoutFor(const ClippingItem &item, bool isMasked);
    // Paints from a kept picture of the band where the layout allows.
    static void paint(QPainter &painter, const Input &input);
    static void paintDirect(QPainter &painter, const Input &input);

    // The rectangle an image clipping's picture is drawn in (fitted, aspect kept).
    static QRectF imageRect(const QRectF &band, QSize imageSize);
    // The host a link card shows: the URL's host, or "Link".
    static QString hostLabel(const QString &text);
    // The lines a code card keeps: two in the compact tier, all otherwise.
    static QString keptCode(const QString &code, CardTier tier);
    static qsizetype lineCount(const QString &code);
    static QString headlineText(); // the fixed headline, for tests and accessibility
};
