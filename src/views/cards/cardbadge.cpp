#include "cardbadge.h"

#include "clippingfacts.h"
#include "model/clippingitem.h"
#include "views/foundation/theme.h"

CardBadge CardBadge::forItem(const ClippingItem &item, const Theme &theme)
{
    if (item.isSecret())
        return {tr("SECRET"), theme.green};
    if (item.richKind == RichContentKind::CodeSnippet)
        return {tr("CODE"), theme.codeBadgeAccent};
    if (item.richKind == RichContentKind::CalendarEvent)
        return {tr("EVENT"), theme.cyan};
    switch (item.type) {
    case ClippingType::Image:
        return {tr("IMAGE"), theme.purple};
    case ClippingType::Color:
        return {tr("COLOR"), theme.orange};
    case ClippingType::File:
        return {tr("FILE"), theme.teal};
    case ClippingType::Url:
        return {tr("LINK"), theme.blue};
    case ClippingType::Text:
        break;
    }
    return {ClippingFacts::of(item).isLargeEmojiOnly ? tr("EMOJI") : tr("TEXT"),
            theme.textBadgeAccent};
}
