#include "clippingcard.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "cardbadge.h"
#include "cardcontent.h"
#include "cardframe.h"
#include "clippingfacts.h"
#include "model/clippingitem.h"
#include "model/colorhex.h"
#include "views/foundation/cachedtext.h"
#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"

#include <QCache>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace
{

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(float(opacity));
    return colour;
}

void drawText(QPainter &painter, const CardLayout::Label &label, const QFont &font,
              const QColor &colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    if (label.rect.width() <= 0 || label.text.isEmpty())
        return;
    CachedText::draw(painter, label.rect, label.text, font, colour, alignment);
}

// The source icon at the size it is shown, scaled once with good interpolation.
QImage sourceIcon(const ClippingItem &item, QSizeF size, qreal scale)
{
    static QCache<QString, QImage> icons(256);
    const QString key =
        item.sourceAppName + QChar(0) + item.sourceAppBundleID + QChar(0) + QString::number(scale);
    if (const QImage *cached = icons.object(key))
        return *cached;
    const QImage full = AppIconProvider::shared().icon(item.sourceAppName, item.sourceAppBundleID);
    QImage scaled =
        full.scaled((size * scale).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(scale);
    icons.insert(key, new QImage(scaled));
    return scaled;
}

void drawCapsule(QPainter &painter, const QRectF &rect, const QColor &fill, qreal radius = -1)
{
    if (rect.width() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const qreal r = radius < 0 ? rect.height() / 2 : radius;
    painter.drawRoundedRect(rect, r, r);
    painter.restore();
}

void drawChips(QPainter &painter, const QList<CardLayout::Label> &chips, const QFont &font,
               const Theme &theme)
{
    for (const CardLayout::Label &chip : chips) {
        drawCapsule(painter, chip.rect, theme.chipBackground);
        drawText(painter, chip, font, theme.accent, Qt::AlignCenter);
    }
}

void paintHeader(QPainter &painter, const ClippingCard::Input &in, const CardLayout &l,
                 const CardLayout::Fonts &fonts)
{
    const Theme &theme = in.theme;
    const ClippingItem &item = in.item;
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    painter.drawImage(l.sourceIcon, sourceIcon(item, l.sourceIcon.size(), scale));

    drawText(painter, l.name, l.nameFont, theme.primaryText);

    const CardBadge badge = CardBadge::forItem(item, theme);
    if (l.badge.rect.width() > 0) {
        drawCapsule(painter, l.badge.rect, withOpacity(badge.colour, theme.badgeFillOpacity));
        painter.save();
        painter.setClipRect(l.badge.rect, Qt::IntersectClip);
        drawText(painter, l.badge, fonts.badge, badge.colour, Qt::AlignCenter);
        painter.restore();
    }

    if (l.tier == CardTier::Compact) {
        drawText(painter, l.headerMetadata, fonts.headerMetadata, theme.secondaryText);
        drawChips(painter, l.headerChips, fonts.headerChip, theme);
    }

    if (l.maskButton) {
        if (in.isMasked)
            Symbols::draw(painter, u"eye.slash.fill", *l.maskButton, fonts.maskSymbolSize,
                          theme.orange);
        else
            Symbols::draw(painter, u"eye.fill", *l.maskButton, fonts.maskSymbolSize,
                          theme.secondaryText);
    }
    Symbols::draw(painter, u"doc.on.doc", l.copyButton, fonts.copySymbolSize, theme.secondaryText);
    if (item.isFavorite)
        Symbols::draw(painter, u"heart.fill", l.favoriteButton, fonts.favoriteSymbolSize,
                      theme.favoriteHeart);
    else
        Symbols::draw(painter, u"heart", l.favoriteButton, fonts.favoriteSymbolSize,
                      theme.secondaryText);

    if (l.trailingIsShortcut) {
        drawCapsule(painter, l.trailing.rect, theme.accent, 4);
        drawText(painter, l.trailing, fonts.shortcut, QColor(Qt::white), Qt::AlignCenter);
    } else {
        drawText(painter, l.trailing, fonts.relativeTime, theme.secondaryText);
    }
}

void paintFooter(QPainter &painter, const ClippingCard::Input &in, const CardLayout &l,
                 const CardLayout::Fonts &fonts)
{
    const Theme &theme = in.theme;
    drawText(painter, l.footerMetadata, fonts.footerMetadata, theme.secondaryText);
    drawChips(painter, l.footerChips, fonts.footerChip, theme);
    if (l.pasteHint)
        drawText(painter, *l.pasteHint, fonts.pasteHint, theme.accent);
}

} // namespace

ClippingCard::Input ClippingCard::input(const ClipboardManagerState &state,
                                        const ClippingItem &item, const QRectF &rect,
                                        const Theme &theme, std::optional<int> shortcutNumber,
                                        Timestamp now)
{
    return Input{item,
                 rect,
                 cardTier(state.gridRows(), state.gridColumns()),
                 theme,
                 state.selectedItemID() == item.id,
                 state.isTextMasked(item),
                 state.isHoldingCommandKey(),
                 state.fullCardColorPreview(),
                 shortcutNumber,
                 collectionNames(state, item),
                 now};
}

QStringList ClippingCard::collectionNames(const ClipboardManagerState &state,
                                          const ClippingItem &item)
{
    QStringList names;
    for (const ClippingCollection &collection : state.collections())
        if (item.collectionIDs.contains(collection.id))
            names.append(collection.name);
    return names;
}

bool ClippingCard::hasMaskButton(const ClippingItem &item)
{
    return item.type == ClippingType::Text || item.isPassword;
}

bool ClippingCard::showsShortcutBadge(const Input &input)
{
    return input.isHoldingCommandKey && input.shortcutNumber && *input.shortcutNumber >= 1 &&
           *input.shortcutNumber <= 9;
}

QColor ClippingCard::baseColour(const Input &input)
{
    if (input.item.type == ClippingType::Color && input.fullCardColorPreview && input.item.colorHex)
        return colorFromHex(*input.item.colorHex);
    return input.theme.cardBase;
}

CardLayout ClippingCard::layout(const Input &input)
{
    CardLayout::Input layoutInput;
    layoutInput.rect = input.rect;
    layoutInput.tier = input.tier;
    layoutInput.sourceAppName = input.item.sourceAppName;
    layoutInput.badgeLabel = CardBadge::forItem(input.item, input.theme).label;
    layoutInput.metadataText = ClippingFacts::of(input.item).footerMetadataText;
    layoutInput.collectionNames = input.collectionNames;
    layoutInput.hasMaskButton = hasMaskButton(input.item);
    if (showsShortcutBadge(input))
        layoutInput.shortcutLabel = KeyLabels::quickPasteLabel(*input.shortcutNumber);
    else
        layoutInput.relativeTime = input.item.relativeTimeString(input.now);
    layoutInput.isSelected = input.isSelected;
    return CardLayout::compute(layoutInput);
}

void ClippingCard::paint(QPainter &painter, const Input &input)
{
    paint(painter, input, layout(input));
}

void ClippingCard::paint(QPainter &painter, const Input &input, const CardLayout &l)
{
    if (input.rect.isEmpty())
        return;
    const Theme &theme = input.theme;
    const CardLayout::Fonts &fonts = CardLayout::Fonts::forTier(input.tier);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const bool codeBody = input.item.type == ClippingType::Text &&
                          input.item.richKind == RichContentKind::CodeSnippet;
    CardFrame{input.rect, input.tier, baseColour(input), input.isSelected, codeBody}.paint(painter,
                                                                                           theme);
    painter.setClipRect(input.rect, Qt::IntersectClip);
    paintHeader(painter, input, l, fonts);
    CardContent::paint(painter, {input.item, l.content, input.tier, theme, input.isMasked,
                                 input.images, input.rect, cornerRadius});
    if (input.tier != CardTier::Compact)
        paintFooter(painter, input, l, fonts);
    painter.restore();
}

QString ClippingCard::toolTip(CardLayout::Part part, const ClippingItem &item, bool isMasked)
{
    switch (part) {
    case CardLayout::Part::MaskButton:
        return isMasked ? tr("Show Text (or hold %1)").arg(KeyLabels::alt())
                        : tr("Hide / Mask Text");
    case CardLayout::Part::CopyButton:
        return tr("Copy to Clipboard (%1)").arg(KeyLabels::label(KeyLabels::copy()));
    case CardLayout::Part::FavoriteButton:
        return item.isFavorite ? tr("Remove from Favorites") : tr("Add to Favorites");
    case CardLayout::Part::Outside:
    case CardLayout::Part::Header:
    case CardLayout::Part::Content:
    case CardLayout::Part::Footer:
        break;
    }
    return QString();
}

QString ClippingCard::accessibleName(const ClippingItem &item, bool isMasked)
{
    const QString badge = CardBadge::forItem(item, Theme::dark()).label;
    const QString shown = isMasked ? ClippingFacts::of(item).obfuscatedText
                          : item.type == ClippingType::Image
                              ? ClippingFacts::of(item).footerMetadataText
                              : item.fileName.value_or(item.resolvedText());
    const QStringView firstLine = QStringView(shown).left(200).split(QLatin1Char('\n')).first();
    return tr("%1 from %2: %3").arg(badge, item.sourceAppName, firstLine.toString());
}

QString ClippingCard::dragText(const ClippingItem &item)
{
    return item.id.toString(QUuid::WithoutBraces).toUpper();
}

void ClippingCard::click(ClipboardManagerState &state, const ClippingItem &item,
                         CardLayout::Part part)
{
    switch (part) {
    case CardLayout::Part::MaskButton:
        state.toggleTextMask(item);
        return;
    case CardLayout::Part::CopyButton:
        state.copyToSystemPasteboard(item, false);
        return;
    case CardLayout::Part::FavoriteButton:
        state.toggleFavorite(item);
        return;
    case CardLayout::Part::Header:
    case CardLayout::Part::Content:
    case CardLayout::Part::Footer:
        state.setSelectedItemID(item.id);
        return;
    case CardLayout::Part::Outside:
        return;
    }
}

void ClippingCard::doubleClick(ClipboardManagerState &state, const ClippingItem &item)
{
    state.setSelectedItemID(item.id);
    state.activateClipping(item, false);
}
