#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QTextLayout>

class QPainter;

// Wrapped text in a rectangle, laid out only as far as it is seen: a two-megabyte text costs
// what its first lines cost.
struct TextBlock {
    QString text;
    QFont font;
    QColor colour;
    qreal lineSpacing = 0; // extra space between lines
    int maxLines = 0;      // 0: as many as fit; the last allowed line is elided
    bool wrap = true;
    Qt::Alignment alignment = Qt::AlignLeft;
    QList<QTextLayout::FormatRange> formats;

    // The height the text takes in the width (at most the given height).
    qreal height(qreal width, qreal maxHeight = 1e6) const;
    // Draws from the top of the rectangle; lines below it are not laid out. Returns the height
    // used.
    qreal paint(QPainter &painter, const QRectF &rect) const;

    // The part of text that can be seen in a rectangle of width × height in this font.
    static QString visiblePrefix(const QString &text, const QFont &font, qreal width, qreal height);
};
