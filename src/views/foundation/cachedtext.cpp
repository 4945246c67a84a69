#include "cachedtext.h"

#include <QCache>
#include <QFontMetricsF>
#include <QPainter>
#include <QStaticText>

namespace CachedText
{

namespace
{

struct Shaped {
    QStaticText text;
    QSizeF size;
};

Shaped &shaped(const QString &text, const QFont &font)
{
    // A few screenfuls of card titles, badges and footers.
    static QCache<QString, Shaped> cache(1000);
    const QString key = font.key() + QChar(0) + text;
    if (Shaped *found = cache.object(key))
        return *found;
    auto *made = new Shaped{QStaticText(text), QSizeF()};
    made->text.setTextFormat(Qt::PlainText);
    made->text.setPerformanceHint(QStaticText::AggressiveCaching);
    made->text.prepare(QTransform(), font);
    const QFontMetricsF metrics(font);
    made->size = QSizeF(made->text.size().width(), metrics.height());
    cache.insert(key, made);
    return *cache.object(key);
}

} // namespace

void draw(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font,
          const QColor &colour, Qt::Alignment alignment)
{
    if (text.isEmpty() || rect.width() <= 0)
        return;
    const Shaped &s = shaped(text, font);
    qreal x = rect.left();
    if (alignment & Qt::AlignHCenter)
        x = rect.center().x() - s.size.width() / 2;
    else if (alignment & Qt::AlignRight)
        x = rect.right() - s.size.width();
    const qreal y = rect.center().y() - s.size.height() / 2;
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawStaticText(QPointF(x, y), s.text);
}

void drawAt(QPainter &painter, QPointF topLeft, const QString &text, const QFont &font,
            const QColor &colour)
{
    if (text.isEmpty())
        return;
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawStaticText(topLeft, shaped(text, font).text);
}

} // namespace CachedText
