#include "textblock.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace
{

// Lays out lines until the height is used up; draws them when a painter is given.
qreal layOut(const TextBlock &block, QPainter *painter, const QRectF &rect)
{
    if (block.text.isEmpty() || rect.width() <= 0)
        return 0;
    const QFontMetricsF metrics(block.font);
    QString shown = TextBlock::visiblePrefix(block.text, block.font, rect.width(), rect.height());
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);

    QTextLayout layout(shown, block.font);
    QTextOption option(block.alignment);
    option.setWrapMode(block.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                  : QTextOption::NoWrap);
    layout.setTextOption(option);
    QList<QTextLayout::FormatRange> formats;
    for (const QTextLayout::FormatRange &range : block.formats) {
        if (range.start >= shown.size())
            break;
        formats.append(range);
    }
    layout.setFormats(formats);

    qreal y = 0;
    int lines = 0;
    layout.beginLayout();
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        if (lines > 0 && y + line.height() > rect.height())
            break;
        line.setPosition(QPointF(0, y));
        y += line.height() + block.lineSpacing;
        ++lines;
        if (block.maxLines > 0 && lines == block.maxLines)
            break;
    }
    layout.endLayout();
    const qreal used = std::max<qreal>(0, y - block.lineSpacing);
    if (!painter || lines == 0)
        return std::min(used, rect.height());

    painter->save();
    painter->setPen(block.colour);
    painter->setFont(block.font);
    const QTextLine last = layout.lineAt(lines - 1);
    const bool cut =
        (last.textStart() + last.textLength() < shown.size() || shown.size() < block.text.size());
    const bool elideLast = block.maxLines > 0 && lines == block.maxLines && cut;
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = layout.lineAt(i);
        if (elideLast && i == lines - 1) {
            QString rest = shown.mid(line.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            const QString elided = metrics.elidedText(rest, Qt::ElideRight, rect.width());
            painter->drawText(QPointF(rect.left(), rect.top() + line.y() + line.ascent()), elided);
            continue;
        }
        line.draw(painter, rect.topLeft());
    }
    painter->restore();
    return std::min(used, rect.height());
}

} // namespace

QString TextBlock::visiblePrefix(const QString &text, const QFont &font, qreal width, qreal height)
{
    const QFontMetricsF metrics(font);
    const qreal narrowest = std::max<qreal>(1, metrics.averageCharWidth() / 3);
    const qsizetype perLine = qsizetype(std::ceil(width / narrowest)) + 8;
    const qsizetype lines = qsizetype(std::ceil(std::max<qreal>(height, 1) / metrics.height())) + 1;
    qsizetype limit = std::min<qsizetype>(text.size(), perLine * lines + 64);
    if (limit < text.size() && limit > 0 && text[limit - 1].isHighSurrogate())
        --limit;
    return text.left(limit);
}

qreal TextBlock::height(qreal width, qreal maxHeight) const
{
    return layOut(*this, nullptr, QRectF(0, 0, width, maxHeight));
}

qreal TextBlock::paint(QPainter &painter, const QRectF &rect) const
{
    return layOut(*this, &painter, rect);
}
