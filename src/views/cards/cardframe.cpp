#include "cardframe.h"

#include "cachedshadow.h"
#include "cardlayout.h"
#include "screenfulbytes.h"
#include "views/foundation/theme.h"

#include <QCache>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <memory>

namespace
{

constexpr qreal shadowMargin = 16;

struct Key {
    int width;
    int height;
    int fractionX;
    int fractionY;
    int scale;
    int tier;
    QRgb base;
    bool selected;
    bool code;
    bool dark;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &k, size_t seed = 0)
{
    return qHashMulti(seed, k.width, k.height, k.fractionX, k.fractionY, k.scale, k.tier, k.base,
                      k.selected, k.code, k.dark);
}

int eighths(qreal value)
{
    return int(std::lround(value * 8));
}

} // namespace

void CardFrame::paintDirect(QPainter &painter, const Theme &theme) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    CachedShadow::paint(painter, rect, cornerRadius,
                        isSelected ? theme.cardSelectedShadow : theme.cardShadow, QPointF(0, 2),
                        isSelected ? 7 : 3);
    QPainterPath frame;
    frame.addRoundedRect(rect, cornerRadius, cornerRadius);
    painter.fillPath(frame, base);

    painter.save();
    painter.setClipPath(frame, Qt::IntersectClip);
    const qreal header = CardLayout::headerHeight(tier);
    painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), header),
                     theme.cardHeaderBackground);
    // On whole device pixels: a line between two is smeared over both.
    const QTransform toDevice = painter.deviceTransform();
    const auto snapped = [&toDevice](qreal y) {
        return (std::round(y * toDevice.m22() + toDevice.dy()) - toDevice.dy()) / toDevice.m22();
    };
    painter.fillRect(QRectF(rect.left(), snapped(rect.top() + header), rect.width(), 1),
                     theme.cardHeaderDivider);
    const qreal footer = CardLayout::footerHeight(tier);
    const qreal contentTop = rect.top() + header + 1;
    const qreal contentBottom = rect.bottom() - (footer > 0 ? footer + 1 : 0);
    if (hasCodeBody && theme.codeBodyBackground.isValid())
        painter.fillRect(QRectF(rect.left(), contentTop, rect.width(),
                                std::max<qreal>(0, contentBottom - contentTop)),
                         theme.codeBodyBackground);
    if (footer > 0) {
        painter.fillRect(QRectF(rect.left(), snapped(contentBottom), rect.width(), 1),
                         theme.cardFooterDivider);
        painter.fillRect(QRectF(rect.left(), contentBottom + 1, rect.width(), footer),
                         theme.cardFooterBackground);
    }
    painter.restore();

    const qreal border = isSelected ? 2 : 1;
    painter.setPen(QPen(isSelected ? theme.selectionBlue : theme.cardBorder, border));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = border / 2;
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), cornerRadius - inset,
                            cornerRadius - inset);
    painter.restore();
}

void CardFrame::paint(QPainter &painter, const Theme &theme) const
{
    if (rect.isEmpty())
        return;
    const QTransform transform = painter.transform();
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    // Only plain translations can take the copy; anything else draws afresh.
    if (transform.type() > QTransform::TxTranslate) {
        paintDirect(painter, theme);
        return;
    }
    const QPointF origin = transform.map(rect.topLeft() - QPointF(shadowMargin, shadowMargin));
    const QPointF device = origin * scale;
    const QPoint whole(int(std::floor(device.x())), int(std::floor(device.y())));
    const QPointF fraction = device - whole;
    const Key key{eighths(rect.width()), eighths(rect.height()),
                  eighths(fraction.x()), eighths(fraction.y()),
                  eighths(scale),        int(tier),
                  base.rgba(),           isSelected,
                  hasCodeBody,           theme.isDark};

    // Cards of one grid share frames; a scroll adds only its sub-pixel offsets. Budgeted from
    // the screen rather than the grid: card colours and the selection still make most shown
    // cards' frames their own, and a grid's worth of them would not hold a search and its undo.
    static QCache<Key, QImage> cache(screenBytes() / 2);
    QImage *image = cache.object(key);
    if (!image) {
        const QSizeF logical = rect.size() + QSizeF(2 * shadowMargin, 2 * shadowMargin);
        auto made = std::make_unique<QImage>((logical * scale).toSize() + QSize(1, 1),
                                             QImage::Format_ARGB32_Premultiplied);
        made->fill(Qt::transparent);
        {
            QPainter framePainter(made.get());
            framePainter.translate(fraction);
            framePainter.scale(scale, scale);
            CardFrame local = *this;
            local.rect = QRectF(QPointF(shadowMargin, shadowMargin), rect.size());
            local.paintDirect(framePainter, theme);
        }
        image = made.get();
        if (!cache.insert(key, made.release(), image->sizeInBytes())) {
            paintDirect(painter, theme);
            return;
        }
    }
    // Device pixels one to one: the fastest copy the raster engine has.
    image->setDevicePixelRatio(scale);
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(whole) / scale, *image);
    painter.restore();
}
