#include "cardcontent.h"

#include "cachedshadow.h"
#include "cardimagecache.h"
#include "checkerboard.h"
#include "clippingfacts.h"
#include "filepicture.h"
#include "model/clippingitem.h"
#include "model/colorhex.h"
#include "screenfulbytes.h"
#include "syntaxhighlighter.h"
#include "textblock.h"
#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QCache>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>

namespace
{

qreal lineHeight(const QFont &font)
{
    return QFontMetricsF(font).height();
}

// One line of text at its natural width, elided to the width it may take.
qreal drawLine(QPainter &painter, const QString &text, const QFont &font, const QColor &colour,
               QPointF topLeft, qreal maxWidth)
{
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, std::max<qreal>(0, maxWidth));
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), shown);
    return std::min(metrics.horizontalAdvance(shown), maxWidth);
}

void fillRounded(QPainter &painter, const QRectF &rect, qreal radius, const QColor &fill,
                 const QColor &outline = QColor())
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(fill);
    painter.setPen(outline.isValid() ? QPen(outline, 1) : QPen(Qt::NoPen));
    const QRectF shape = outline.isValid() ? rect.adjusted(0.5, 0.5, -0.5, -0.5) : rect;
    painter.drawRoundedRect(shape, radius, radius);
    painter.restore();
}

void paintText(QPainter &painter, const CardContent::Input &in)
{
    const QRectF area = in.rect.adjusted(10, 7, -10, -7);
    TextBlock block{in.item.resolvedText(), ViewFonts::monospaced(10.5), in.theme.primaryText, 1.4};
    block.paint(painter, area);
}

void paintEmoji(QPainter &painter, const CardContent::Input &in)
{
    if (in.tier == CardTier::Compact) {
        TextBlock block{in.item.textContent, ViewFonts::emoji(18), in.theme.primaryText};
        block.wrap = false;
        block.paint(painter, in.rect.adjusted(10, 0, -10, 0));
        return;
    }
    const QFont font = ViewFonts::emoji(42);
    const QString text =
        QFontMetricsF(font).elidedText(in.item.textContent, Qt::ElideRight, in.rect.width());
    painter.setFont(font);
    painter.setPen(in.theme.primaryText);
    painter.drawText(in.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void paintSecret(QPainter &painter, const CardContent::Input &in)
{
    const CardTier tier = in.tier;
    const QRectF area =
        in.rect.adjusted(byTier(tier, 10.0, 10.0, 8.0), byTier(tier, 7.0, 7.0, 5.0),
                         -byTier(tier, 10.0, 10.0, 8.0), -byTier(tier, 7.0, 7.0, 5.0));
    const qreal spacing = byTier(tier, 6.0, 6.0, 3.0);
    qreal y = area.top();
    if (tier != CardTier::Compact) {
        const qreal symbolSize = byTier(tier, 11.0, 11.0, 9.5);
        const QFont font = ViewFonts::ui(byTier(tier, 10.5, 10.5, 9.5), QFont::DemiBold);
        const qreal rowHeight = std::max(symbolSize, lineHeight(font));
        Symbols::draw(painter, u"lock.shield.fill", QRectF(area.left(), y, symbolSize, rowHeight),
                      symbolSize, in.theme.green);
        drawLine(painter, CardContent::tr("AES-256 Encrypted Secret"), font, in.theme.green,
                 QPointF(area.left() + symbolSize + 4, y + (rowHeight - lineHeight(font)) / 2),
                 area.width() - symbolSize - 4);
        y += rowHeight + spacing;
    }
    QFont dots = ViewFonts::monospaced(byTier(tier, 12.0, 12.0, 10.5), QFont::Bold);
    dots.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    const qreal vPadding = byTier(tier, 5.0, 5.0, 3.0);
    const QRectF field(area.left(), y, area.width(), lineHeight(dots) + 2 * vPadding);
    fillRounded(painter, field, 6, in.theme.secretFieldBackground);
    drawLine(painter, ClippingFacts::of(in.item).obfuscatedText, dots, in.theme.primaryText,
             QPointF(field.left() + 7, field.top() + vPadding), field.width() - 14);
    y = field.bottom() + spacing;
    if (tier == CardTier::Roomy) {
        const QString hint = CardContent::tr("Hold %1 or click %2 above to show")
                                 .arg(KeyLabels::alt(), QStringLiteral("👁"));
        drawLine(painter, hint, ViewFonts::ui(9.5), in.theme.secondaryText, QPointF(area.left(), y),
                 area.width());
    }
}

void paintHeadline(QPainter &painter, const CardContent::Input &in)
{
    const QFont font = ViewFonts::ui(in.tier == CardTier::Compact ? 15 : 17.5);
    const QString first = CardContent::tr("The most flexible ");
    const QString bold = CardContent::tr("clipboard manager");
    TextBlock block{CardContent::headlineText(), font, in.theme.headline, 1};
    QTextLayout::FormatRange range;
    range.start = int(first.size());
    range.length = int(bold.size());
    range.format.setFontWeight(QFont::Bold);
    block.formats = {range};
    block.paint(painter, in.rect.adjusted(10, 7, -10, -7));
}

void paintCode(QPainter &painter, const CardContent::Input &in)
{
    const Theme &theme = in.theme;
    const QString kept = CardContent::keptCode(in.item.resolvedText(), in.tier);
    const qsizetype total = CardContent::lineCount(kept);
    const qreal vPadding = in.tier == CardTier::Compact ? 5 : 7;
    const QRectF area = in.rect.adjusted(10, vPadding, -10, -vPadding);
    const QFont numberFont = ViewFonts::monospaced(9.5);
    const QFont codeFont = ViewFonts::monospaced(10.2);
    const qreal numberStep = lineHeight(numberFont) + 1.2;
    const qreal codeStep = lineHeight(codeFont) + 1.2;

    // Only the lines that can be seen are numbered, cut out and coloured.
    const qsizetype visible =
        std::min<qsizetype>(total, qsizetype(std::ceil(area.height() / codeStep)) + 1);
    const QFontMetricsF numberMetrics(numberFont);
    const qreal gutterWidth = numberMetrics.horizontalAdvance(QString::number(total));
    painter.setFont(numberFont);
    painter.setPen(theme.lineNumber);
    const qsizetype numbers =
        std::min<qsizetype>(total, qsizetype(std::ceil(area.height() / numberStep)) + 1);
    for (qsizetype i = 0; i < numbers; ++i) {
        const QRectF cell(area.left(), area.top() + 0.5 + i * numberStep, gutterWidth,
                          lineHeight(numberFont));
        painter.drawText(cell, Qt::AlignRight | Qt::AlignTop, QString::number(i + 1));
    }
    const qreal separatorX = area.left() + gutterWidth + 8;
    painter.fillRect(QRectF(separatorX, area.top(), 1, area.height()), theme.gutterSeparator);

    qsizetype end = -1;
    for (qsizetype line = 0, from = 0; line < visible; ++line) {
        end = kept.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            break;
        from = end + 1;
    }
    const qsizetype shownLength = end < 0 ? kept.size() : end;
    // A very long line is cut where it leaves the card; what is cut off is not seen.
    const QRectF codeRect(separatorX + 9, area.top(), area.right() - separatorX - 9, area.height());
    const qsizetype cap = std::max<qsizetype>(
        TextBlock::visiblePrefix(kept, codeFont, codeRect.width(), codeStep).size() * visible, 256);
    const qsizetype length = std::min(shownLength, cap);
    TextBlock block{kept.left(length), codeFont, theme.codeBase, 1.2};
    block.wrap = false;
    block.formats = SyntaxHighlighter::formats(kept, length, theme);
    block.paint(painter, codeRect);
}

void paintCalendar(QPainter &painter, const CardContent::Input &in)
{
    const QRectF area = in.rect.adjusted(10, 10, -10, -10);
    const QFont title = ViewFonts::ui(12.5, QFont::Bold);
    const qreal rowHeight = std::max<qreal>(12, lineHeight(title));
    Symbols::draw(painter, u"calendar", QRectF(area.left(), area.top(), 12, rowHeight), 12,
                  in.theme.cyan);
    drawLine(painter, in.item.textContent, title, in.theme.primaryText,
             QPointF(area.left() + 17, area.top() + (rowHeight - lineHeight(title)) / 2),
             area.width() - 17);
    if (in.item.calendarSchedule)
        drawLine(painter, *in.item.calendarSchedule, ViewFonts::ui(11), in.theme.secondaryText,
                 QPointF(area.left(), area.top() + rowHeight + 4), area.width());
}

void paintLink(QPainter &painter, const CardContent::Input &in)
{
    const CardTier tier = in.tier;
    const Theme &theme = in.theme;
    const qreal h = byTier(tier, 10.0, 10.0, 8.0);
    const qreal v = byTier(tier, 8.0, 8.0, 5.0);
    const QRectF area = in.rect.adjusted(h, v, -h, -v);
    const qreal spacing = byTier(tier, 6.0, 6.0, 3.0);
    qreal y = area.top();
    if (tier != CardTier::Compact) {
        const qreal size = byTier(tier, 9.5, 10.5, 9.5);
        const QFont font = ViewFonts::ui(size, QFont::DemiBold);
        const qreal vPad = byTier(tier, 1.5, 2.5, 1.5);
        const QString host = CardContent::hostLabel(in.item.textContent);
        const qreal textWidth =
            std::min(QFontMetricsF(font).horizontalAdvance(host), area.width() - 12 - size - 4);
        const qreal rowHeight = std::max(size, lineHeight(font));
        const QRectF pill(area.left(), y, 12 + size + 4 + std::max<qreal>(0, textWidth),
                          rowHeight + 2 * vPad);
        fillRounded(painter, pill, pill.height() / 2, theme.hostPillBackground);
        Symbols::draw(painter, u"globe",
                      QRectF(pill.left() + 6, pill.top() + vPad, size, rowHeight), size,
                      theme.blue);
        drawLine(painter, host, font, theme.blue,
                 QPointF(pill.left() + 6 + size + 4,
                         pill.top() + vPad + (rowHeight - lineHeight(font)) / 2),
                 textWidth);
        y = pill.bottom() + spacing;
        if (in.item.urlTitle && !in.item.urlTitle->isEmpty()) {
            TextBlock title{*in.item.urlTitle,
                            ViewFonts::ui(byTier(tier, 11.0, 12.0, 11.0), QFont::DemiBold),
                            theme.primaryText};
            title.maxLines = byTier(tier, 1, 2, 1);
            y += title.paint(painter, QRectF(area.left(), y, area.width(), area.bottom() - y)) +
                 spacing;
        }
    }
    TextBlock address{in.item.textContent, ViewFonts::monospaced(byTier(tier, 11.0, 11.0, 10.0)),
                      theme.linkText};
    address.maxLines = byTier(tier, 1, 2, 1);
    address.paint(painter,
                  QRectF(area.left(), y, area.width(), std::max<qreal>(0, area.bottom() - y)));
}

void paintColor(QPainter &painter, const CardContent::Input &in)
{
    const Theme &theme = in.theme;
    const QString source = in.item.colorHex.value_or(in.item.textContent);
    const QString hex = source.toUpper();
    const ColorHex colour = ColorHex::parse(source);
    const QString rgb = colour.rgbString();
    if (in.tier == CardTier::Compact) {
        const QRectF area = in.rect.adjusted(10, 0, -10, 0);
        const QFont hexFont = ViewFonts::monospaced(12.5, QFont::Bold);
        const QFont rgbFont = ViewFonts::monospaced(11);
        const qreal textHeight = lineHeight(hexFont) + lineHeight(rgbFont);
        const qreal rowHeight = std::max<qreal>(24, textHeight);
        const QRectF swatch(area.left(), area.top() + (rowHeight - 24) / 2, 44, 24);
        fillRounded(painter, swatch, 6, colour.color(), theme.compactSwatchOutline);
        const qreal x = swatch.right() + 10;
        const qreal top = area.top() + (rowHeight - textHeight) / 2;
        drawLine(painter, hex, hexFont, theme.primaryText, QPointF(x, top), area.right() - x);
        drawLine(painter, rgb, rgbFont, theme.secondaryText, QPointF(x, top + lineHeight(hexFont)),
                 area.right() - x);
        return;
    }
    const bool roomy = in.tier == CardTier::Roomy;
    const qreal pad = roomy ? 10 : 7;
    const QRectF area = in.rect.adjusted(pad, pad, -pad, -pad);
    const QRectF swatch(area.left(), area.top(), area.width(), roomy ? 52 : 30);
    fillRounded(painter, swatch, 7, colour.color(), theme.swatchOutline);
    const QFont hexFont = ViewFonts::monospaced(roomy ? 13.5 : 11.5, QFont::Bold);
    const QFont rgbFont = ViewFonts::monospaced(roomy ? 10 : 9, QFont::Medium);
    const qreal baseline = swatch.bottom() + (roomy ? 8 : 4) + QFontMetricsF(hexFont).ascent();
    const qreal hexWidth =
        drawLine(painter, hex, hexFont, theme.primaryText,
                 QPointF(area.left(), baseline - QFontMetricsF(hexFont).ascent()), area.width());
    const qreal x = area.left() + hexWidth + 4;
    drawLine(painter, rgb, rgbFont, theme.secondaryText,
             QPointF(x, baseline - QFontMetricsF(rgbFont).ascent()), area.right() - x);
}

void paintImage(QPainter &painter, const CardContent::Input &in)
{
    Checkerboard::paint(painter, in.rect, in.theme);
    if (!in.item.imageData)
        return;
    CardImageCache &cache = in.images ? *in.images : CardImageCache::shared();
    const QSize natural = cache.imageSize(in.item.id, *in.item.imageData);
    if (natural.isEmpty())
        return;
    const QRectF target = CardContent::imageRect(in.rect, natural);
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QSize pixels = (target.size() * scale).toSize().expandedTo(QSize(1, 1));
    const QImage image = cache.image(in.item.id, *in.item.imageData, pixels);
    if (image.isNull())
        return;
    if (painter.transform().type() > QTransform::TxTranslate) {
        painter.drawImage(target, image);
        return;
    }
    // The image has the target's pixel size: copied to whole device pixels it needs no scaling.
    const QPointF device = painter.transform().map(target.topLeft()) * scale;
    QImage aligned = image;
    aligned.setDevicePixelRatio(scale);
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(std::round(device.x()), std::round(device.y())) / scale, aligned);
    painter.restore();
}

void paintFile(QPainter &painter, const CardContent::Input &in)
{
    const CardTier tier = in.tier;
    const Theme &theme = in.theme;
    const QString name = in.item.fileName.value_or(in.item.textContent);
    const qreal pad = byTier(tier, 10.0, 12.0, 8.0);
    const QRectF area = in.rect.adjusted(pad, pad, -pad, -pad);
    const QSizeF pictureSize = byTier(tier, QSizeF(24, 28), QSizeF(46, 54), QSizeF(32, 38));
    const qreal spacing = byTier(tier, 10.0, 12.0, 8.0);
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QImage picture = FilePicture::picture(in.item, (pictureSize * scale).toSize());

    const QFont nameFont = ViewFonts::ui(byTier(tier, 12.0, 12.0, 11.0), QFont::DemiBold);
    const qreal textX = area.left() + pictureSize.width() + spacing;
    const qreal textWidth = area.right() - textX;
    if (tier == CardTier::Compact) {
        const qreal rowHeight = std::max(pictureSize.height(), lineHeight(nameFont));
        painter.drawImage(
            QRectF(QPointF(area.left(), area.top() + (rowHeight - 28) / 2), pictureSize), picture);
        drawLine(painter, name, nameFont, theme.primaryText,
                 QPointF(textX, area.top() + (rowHeight - lineHeight(nameFont)) / 2), textWidth);
        return;
    }
    TextBlock metadata{ClippingFacts::of(in.item).footerMetadataText, ViewFonts::monospaced(9.5),
                       theme.secondaryText};
    metadata.maxLines = 2;
    const qreal stackSpacing = tier == CardTier::Roomy ? 4 : 2;
    const qreal metadataHeight = metadata.height(std::max<qreal>(1, textWidth), 1e4);
    const qreal stackHeight = lineHeight(nameFont) + stackSpacing + metadataHeight;
    const qreal rowHeight = std::max(pictureSize.height(), stackHeight);
    const QRectF pictureRect(
        QPointF(area.left(), area.top() + (rowHeight - pictureSize.height()) / 2), pictureSize);
    CachedShadow::paint(painter, pictureRect, 2, theme.fileIconShadow, QPointF(0, 1), 2);
    painter.drawImage(pictureRect, picture);
    const qreal top = area.top() + (rowHeight - stackHeight) / 2;
    drawLine(painter, name, nameFont, theme.primaryText, QPointF(textX, top), textWidth);
    metadata.paint(painter, QRectF(textX, top + lineHeight(nameFont) + stackSpacing, textWidth,
                                   metadataHeight));
}

} // namespace

CardContent::Layout CardContent::layoutFor(const ClippingItem &item, bool isMasked)
{
    switch (item.type) {
    case ClippingType::Image:
        return Layout::Image;
    case ClippingType::Color:
        return Layout::Color;
    case ClippingType::File:
        return Layout::File;
    case ClippingType::Url:
        return Layout::Link;
    case ClippingType::Text:
        break;
    }
    if (isMasked)
        return Layout::Secret;
    switch (item.richKind) {
    case RichContentKind::CoralHeadline:
        return Layout::Headline;
    case RichContentKind::CodeSnippet:
        return Layout::Code;
    case RichContentKind::CalendarEvent:
        return Layout::Calendar;
    case RichContentKind::PlainText:
        break;
    }
    return ClippingFacts::of(item).isLargeEmojiOnly ? Layout::Emoji : Layout::Text;
}

namespace
{

struct PictureKey {
    QUuid id;
    quint64 revision;
    int layout;
    bool masked;
    bool dark;
    int tier;
    int width;
    int height;
    int fractionX;
    int fractionY;
    int scale;
    bool operator==(const PictureKey &) const = default;
};

size_t qHash(const PictureKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.id, k.revision, k.layout, k.masked, k.dark, k.tier, k.width, k.height,
                      k.fractionX, k.fractionY, k.scale);
}

int eighths(qreal value)
{
    return int(std::lround(value * 8));
}

// A file's picture follows the disk.
bool keepsPicture(CardContent::Layout layout)
{
    return layout != CardContent::Layout::File;
}

} // namespace

void CardContent::paint(QPainter &painter, const Input &input)
{
    if (input.rect.isEmpty())
        return;
    const Layout layout = layoutFor(input.item, input.isMasked);
    const QTransform transform = painter.transform();
    if (!keepsPicture(layout) || transform.type() > QTransform::TxTranslate) {
        paintDirect(painter, input);
        return;
    }
    // The band is drawn once into a picture aligned to the device's pixels, and copied after.
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QPointF device = transform.map(input.rect.topLeft()) * scale;
    const QPoint whole(int(std::floor(device.x())), int(std::floor(device.y())));
    const QPointF fraction = device - whole;
    const PictureKey key{input.item.id,
                         ClippingFacts::of(input.item).revision,
                         int(layout),
                         input.isMasked,
                         input.theme.isDark,
                         int(input.tier),
                         eighths(input.rect.width()),
                         eighths(input.rect.height()),
                         eighths(fraction.x()),
                         eighths(fraction.y()),
                         eighths(scale)};
    // The cards on screen and as many again.
    static QCache<PictureKey, QImage> pictures;
    budgetScreenfuls(pictures, 2 * screenfulBytes());
    QImage *picture = pictures.object(key);
    if (!picture) {
        auto made = std::make_unique<QImage>((input.rect.size() * scale).toSize() + QSize(1, 1),
                                             QImage::Format_ARGB32_Premultiplied);
        made->fill(Qt::transparent);
        {
            QPainter bandPainter(made.get());
            bandPainter.setRenderHints(painter.renderHints());
            bandPainter.translate(fraction);
            bandPainter.scale(scale, scale);
            Input local = input;
            local.rect = QRectF(QPointF(), input.rect.size());
            if (!input.cardRect.isEmpty()) {
                QPainterPath frame;
                frame.addRoundedRect(input.cardRect.translated(-input.rect.topLeft()),
                                     input.cornerRadius, input.cornerRadius);
                bandPainter.setRenderHint(QPainter::Antialiasing);
                bandPainter.setClipPath(frame);
            }
            paintDirect(bandPainter, local);
        }
        made->setDevicePixelRatio(scale);
        picture = made.get();
        if (!pictures.insert(key, made.release(), picture->sizeInBytes())) {
            paintDirect(painter, input);
            return;
        }
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(whole) / scale, *picture);
    painter.restore();
}

void CardContent::paintDirect(QPainter &painter, const Input &input)
{
    if (input.rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(input.rect, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (layoutFor(input.item, input.isMasked)) {
    case Layout::Secret:
        paintSecret(painter, input);
        break;
    case Layout::Headline:
        paintHeadline(painter, input);
        break;
    case Layout::Code:
        paintCode(painter, input);
        break;
    case Layout::Calendar:
        paintCalendar(painter, input);
        break;
    case Layout::Emoji:
        paintEmoji(painter, input);
        break;
    case Layout::Text:
        paintText(painter, input);
        break;
    case Layout::Link:
        paintLink(painter, input);
        break;
    case Layout::Color:
        paintColor(painter, input);
        break;
    case Layout::Image:
        paintImage(painter, input);
        break;
    case Layout::File:
        paintFile(painter, input);
        break;
    }
    painter.restore();
}

QRectF CardContent::imageRect(const QRectF &band, QSize imageSize)
{
    const QRectF area = band.adjusted(6, 6, -6, -6);
    if (area.isEmpty() || imageSize.isEmpty())
        return QRectF();
    const qreal scale =
        std::min(area.width() / imageSize.width(), area.height() / imageSize.height());
    const QSizeF fitted(imageSize.width() * scale, imageSize.height() * scale);
    return QRectF(area.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

QString CardContent::hostLabel(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString host = url.isValid() ? url.host() : QString();
    return host.isEmpty() ? tr("Link") : host;
}

QString CardContent::keptCode(const QString &code, CardTier tier)
{
    if (tier != CardTier::Compact)
        return code;
    qsizetype end = code.indexOf(QLatin1Char('\n'));
    if (end >= 0)
        end = code.indexOf(QLatin1Char('\n'), end + 1);
    return end < 0 ? code : code.left(end);
}

qsizetype CardContent::lineCount(const QString &code)
{
    return code.count(QLatin1Char('\n')) + 1;
}

QString CardContent::headlineText()
{
    return tr("The most flexible ") + tr("clipboard manager") + tr(" for Linux");
}
