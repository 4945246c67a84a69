#include "cardlayout.h"

#include "views/foundation/keylabels.h"
#include "views/foundation/viewfonts.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <algorithm>
#include <array>

namespace
{

constexpr qreal iconSize = 14;
constexpr qreal dividerWidth = 1;

QFont withTracking(QFont font, qreal spacing)
{
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return font;
}

CardLayout::Fonts makeFonts(CardTier tier)
{
    CardLayout::Fonts f;
    f.name = ViewFonts::ui(byTier(tier, 11.0, 11.0, 10.5), QFont::DemiBold);
    f.badge = withTracking(ViewFonts::ui(byTier(tier, 8.5, 8.5, 8.0), QFont::Bold), 0.2);
    f.headerMetadata = ViewFonts::ui(10);
    f.headerChip = ViewFonts::ui(9, QFont::Medium);
    f.shortcut = ViewFonts::monospaced(10, QFont::Bold);
    f.relativeTime = ViewFonts::ui(byTier(tier, 10.0, 10.0, 9.5), QFont::Medium);
    f.footerMetadata = ViewFonts::ui(byTier(tier, 9.5, 10.5, 9.5));
    f.footerChip = ViewFonts::ui(byTier(tier, 8.5, 9.5, 8.5), QFont::Medium);
    f.pasteHint = ViewFonts::ui(byTier(tier, 9.0, 9.5, 9.0), QFont::DemiBold);
    f.maskSymbolSize = byTier(tier, 10.5, 10.5, 9.5);
    f.copySymbolSize = byTier(tier, 10.0, 10.0, 9.0);
    f.favoriteSymbolSize = f.maskSymbolSize;
    return f;
}

qreal textWidth(const QFont &font, const QString &text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

qreal textHeight(const QFont &font)
{
    return QFontMetricsF(font).height();
}

QRectF centredRow(qreal x, qreal width, qreal height, const QRectF &band)
{
    return QRectF(x, band.center().y() - height / 2, width, height);
}

// A capsule of a text with its paddings, vertically centred in the band.
CardLayout::Label capsule(const QString &text, const QFont &font, qreal x, qreal hPadding,
                          qreal vPadding, const QRectF &band)
{
    const qreal width = textWidth(font, text) + 2 * hPadding;
    return {centredRow(x, width, textHeight(font) + 2 * vPadding, band), text};
}

// Chips from x onwards while they fit before limit; the rest are left out.
QList<CardLayout::Label> layChips(const QStringList &names, const QFont &font, qreal x, qreal limit,
                                  qreal spacing, qreal hPadding, qreal vPadding, const QRectF &band)
{
    QList<CardLayout::Label> chips;
    for (const QString &name : names) {
        CardLayout::Label chip = capsule(name, font, x, hPadding, vPadding, band);
        if (chip.rect.right() > limit)
            break;
        chips.append(chip);
        x = chip.rect.right() + spacing;
    }
    return chips;
}

CardLayout::Label elidedLabel(const QString &text, const QFont &font, qreal x, qreal width,
                              const QRectF &band)
{
    width = std::max<qreal>(0, width);
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, width);
    const qreal shownWidth = std::min(width, metrics.horizontalAdvance(shown));
    return {centredRow(x, shownWidth, metrics.height(), band), shown};
}

} // namespace

const CardLayout::Fonts &CardLayout::Fonts::forTier(CardTier tier)
{
    static const std::array<Fonts, 3> fonts{
        makeFonts(CardTier::Compact), makeFonts(CardTier::Roomy), makeFonts(CardTier::Standard)};
    return fonts[size_t(tier)];
}

qreal CardLayout::headerHeight(CardTier tier)
{
    return byTier(tier, 24.0, 30.0, 26.0);
}

qreal CardLayout::footerHeight(CardTier tier)
{
    return byTier(tier, 0.0, 24.0, 20.0);
}

qreal CardLayout::buttonSize(CardTier tier)
{
    return byTier(tier, 18.0, 18.0, 15.0);
}

CardLayout CardLayout::compute(const Input &input)
{
    const CardTier tier = input.tier;
    const Fonts &fonts = Fonts::forTier(tier);
    CardLayout l;
    l.tier = tier;
    l.card = input.rect;

    const QRectF &r = input.rect;
    l.header = QRectF(r.left(), r.top(), r.width(), headerHeight(tier));
    l.headerDividerY = l.header.bottom();
    const bool hasFooter = tier != CardTier::Compact;
    const qreal footerTotal = hasFooter ? footerHeight(tier) + dividerWidth : 0;
    const qreal contentTop = l.headerDividerY + dividerWidth;
    const qreal contentHeight = std::max<qreal>(0, r.bottom() - footerTotal - contentTop);
    l.content = QRectF(r.left(), contentTop, r.width(), contentHeight);
    if (hasFooter) {
        l.footerDividerY = l.content.bottom();
        l.footer = QRectF(r.left(), l.footerDividerY + dividerWidth, r.width(), footerHeight(tier));
    }

    // Header, right to left first: what sits at the trailing edge keeps its size.
    const qreal padding = byTier(tier, 8.0, 8.0, 6.0);
    const qreal spacing = byTier(tier, 5.0, 5.0, 4.0);
    const qreal left = l.header.left() + padding;
    qreal right = l.header.right() - padding;

    if (input.shortcutLabel) {
        l.trailingIsShortcut = true;
        const qreal width = textWidth(fonts.shortcut, *input.shortcutLabel) + 10;
        l.trailing = {centredRow(right - width, width, textHeight(fonts.shortcut) + 3, l.header),
                      *input.shortcutLabel};
    } else {
        const qreal width = textWidth(fonts.relativeTime, input.relativeTime);
        l.trailing = {centredRow(right - width, width, textHeight(fonts.relativeTime), l.header),
                      input.relativeTime};
    }
    right = l.trailing.rect.left() - spacing;

    const qreal button = buttonSize(tier);
    const qreal buttonSpacing = byTier(tier, 2.0, 2.0, 1.0);
    l.favoriteButton = centredRow(right - button, button, button, l.header);
    l.copyButton =
        centredRow(l.favoriteButton.left() - buttonSpacing - button, button, button, l.header);
    right = l.copyButton.left();
    if (input.hasMaskButton) {
        l.maskButton = centredRow(right - buttonSpacing - button, button, button, l.header);
        right = l.maskButton->left();
    }
    right -= spacing;

    l.sourceIcon = centredRow(left, iconSize, iconSize, l.header);
    qreal x = l.sourceIcon.right() + spacing;

    const qreal badgePadding = byTier(tier, 5.0, 5.0, 4.0);
    const qreal badgeWidth = textWidth(fonts.badge, input.badgeLabel) + 2 * badgePadding;
    // The name keeps its width ahead of the badge: it shrinks, then elides, only when the
    // badge alone no longer fits.
    const qreal nameRoom = std::max<qreal>(0, right - x - spacing - badgeWidth);
    const qreal nameWidth = textWidth(fonts.name, input.sourceAppName);
    QFont nameFont = fonts.name;
    if (nameWidth > nameRoom && nameWidth > 0) {
        l.nameScale = std::max(0.8, nameRoom / nameWidth);
        ViewFonts::setPixelSize(nameFont, byTier(tier, 11.0, 11.0, 10.5) * l.nameScale);
    }
    l.nameFont = nameFont;
    l.name = elidedLabel(input.sourceAppName, nameFont, x,
                         std::min(textWidth(nameFont, input.sourceAppName), nameRoom), l.header);
    x = l.name.rect.right() + spacing;

    l.badge = capsule(input.badgeLabel, fonts.badge, x, badgePadding, 1.5, l.header);
    if (l.badge.rect.right() > right)
        l.badge.rect.setWidth(std::max<qreal>(0, right - x));
    x = l.badge.rect.right() + spacing;

    if (tier == CardTier::Compact) {
        const QString metadata = QStringLiteral("• ") + input.metadataText;
        l.headerMetadata =
            elidedLabel(metadata, fonts.headerMetadata, x,
                        std::min(textWidth(fonts.headerMetadata, metadata), right - x), l.header);
        x = l.headerMetadata.rect.right() + spacing;
        l.headerChips = layChips(input.collectionNames, fonts.headerChip, x, right, spacing, 4.5,
                                 0.5, l.header);
        return l;
    }

    // Footer: the paste hint at the trailing edge, the metadata and chips from the leading one.
    const qreal footerPadding = byTier(tier, 7.0, 10.0, 7.0);
    const qreal footerSpacing = byTier(tier, 4.0, 6.0, 4.0);
    qreal footerRight = l.footer.right() - footerPadding;
    if (input.isSelected) {
        const QString hint = QCoreApplication::translate("ClippingCard", "%1 Paste")
                                 .arg(KeyLabels::label(KeyLabels::enter()));
        const qreal width = textWidth(fonts.pasteHint, hint);
        l.pasteHint = Label{
            centredRow(footerRight - width, width, textHeight(fonts.pasteHint), l.footer), hint};
        footerRight = l.pasteHint->rect.left() - footerSpacing;
    }
    const qreal footerLeft = l.footer.left() + footerPadding;
    const qreal chipPadding = byTier(tier, 4.0, 5.0, 4.0);
    qreal chipsWidth = 0;
    for (const QString &name : input.collectionNames)
        chipsWidth += textWidth(fonts.footerChip, name) + 2 * chipPadding + footerSpacing;
    const qreal metadataWidth = std::min(textWidth(fonts.footerMetadata, input.metadataText),
                                         std::max<qreal>(0, footerRight - footerLeft - chipsWidth));
    l.footerMetadata =
        elidedLabel(input.metadataText, fonts.footerMetadata, footerLeft, metadataWidth, l.footer);
    l.footerChips = layChips(input.collectionNames, fonts.footerChip,
                             l.footerMetadata.rect.right() + footerSpacing, footerRight,
                             footerSpacing, chipPadding, 1, l.footer);
    return l;
}

CardLayout::Part CardLayout::hitTest(QPointF point) const
{
    if (!card.contains(point))
        return Part::Outside;
    if (maskButton && maskButton->contains(point))
        return Part::MaskButton;
    if (copyButton.contains(point))
        return Part::CopyButton;
    if (favoriteButton.contains(point))
        return Part::FavoriteButton;
    if (point.y() < content.top())
        return Part::Header;
    if (!footer.isEmpty() && point.y() >= footer.top() - dividerWidth)
        return Part::Footer;
    return Part::Content;
}
