#include "apppicture.h"

#include "designcanvas.h"

#include <QFontDatabase>
#include <QPainter>
#include <array>
#include <utility>

using namespace DesignCanvas;

namespace
{

const QRectF tile(4, 4, 24, 24);
constexpr qreal tileRadius = 5;

QPen roundPen(const QColor &color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

void paintGem(QPainter &p)
{
    p.fillPath(polygon({{16, 29}, {26, 24}, {30, 18}, {16, 3}, {2, 18}, {6, 24}}),
               srgb(0.99, 0.68, 0.0));
    p.fillPath(polygon({{8, 18}, {24, 18}, {16, 3}}), srgb(0.98, 0.52, 0.0));
    p.fillPath(polygon({{16, 29}, {24, 18}, {8, 18}}), srgb(1.0, 0.85, 0.25));
}

void paintChrome(QPainter &p)
{
    p.save();
    p.setClipPath(ellipse({3, 3, 26, 26}));
    p.fillRect(QRectF(3, 16, 26, 13), srgb(0.92, 0.26, 0.21));
    p.fillRect(QRectF(3, 3, 13, 15), srgb(0.2, 0.66, 0.33));
    p.fillRect(QRectF(16, 3, 13, 15), srgb(0.98, 0.74, 0.02));
    p.restore();
    p.fillPath(ellipse({9.5, 9.5, 13, 13}), Qt::white);
    p.fillPath(ellipse({11, 11, 10, 10}), srgb(0.26, 0.52, 0.96));
}

void paintFinder(QPainter &p)
{
    const QPainterPath square = roundedRect(tile, tileRadius);
    p.fillPath(square, srgb(0.14, 0.56, 0.97));
    // The light half ends along the profile of the face, not along a straight middle line.
    p.save();
    p.setClipPath(square);
    p.fillPath(polygon({{17.2, 28}, {14.2, 16.2}, {17.4, 16.2}, {16.6, 4}, {28, 4}, {28, 28}}),
               srgb(0.68, 0.86, 0.99));
    p.restore();

    const QColor ink = srgb(0.1, 0.2, 0.35);
    p.setPen(roundPen(ink, 1.6));
    p.drawLine(QPointF(10.6, 19.4), QPointF(10.6, 22.6));
    p.drawLine(QPointF(21.4, 19.4), QPointF(21.4, 22.6));
    p.setPen(roundPen(ink, 1.2));
    QPainterPath profile;
    profile.moveTo(17.2, 27.6);
    profile.lineTo(14.2, 16.2);
    profile.lineTo(17.4, 16.2);
    profile.lineTo(16.8, 4.4);
    p.drawPath(profile);
    p.setPen(roundPen(ink, 1.5));
    QPainterPath smile;
    smile.moveTo(9.2, 11.8);
    smile.cubicTo(12.5, 8.4, 19.5, 8.4, 22.8, 11.8);
    p.drawPath(smile);
}

void paintMail(QPainter &p)
{
    p.fillPath(roundedRect(tile, tileRadius), srgb(0.16, 0.58, 0.96));
    p.setPen(roundPen(Qt::white, 1.8));
    p.setBrush(Qt::NoBrush);
    // Edges on half units: at one pixel per unit the 1.8-wide lines then cover whole pixels.
    p.drawRoundedRect(QRectF(8.5, 10.5, 15, 11), 1.4, 1.4);
    QPainterPath flap;
    flap.moveTo(9, 20.8);
    flap.lineTo(16, 15.4);
    flap.lineTo(23, 20.8);
    p.drawPath(flap);
}

void paintXcode(QPainter &p)
{
    p.fillPath(roundedRect(tile, tileRadius), srgb(0.12, 0.58, 0.96));
    // A hammer at 45 degrees: the handle, the head across it, a flat face on one side and a
    // curved claw on the other.
    p.setPen(roundPen(Qt::white, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(9.4, 9.4), QPointF(18.6, 18.6));
    p.drawLine(QPointF(15.6, 22.4), QPointF(22.4, 15.6));
    p.drawLine(QPointF(21.5, 14.7), QPointF(23.8, 17.0));
    QPainterPath claw;
    claw.moveTo(15.6, 22.4);
    claw.quadTo(13.4, 22.6, 12.2, 20.6);
    p.drawPath(claw);
}

void paintSlack(QPainter &p)
{
    const QPainterPath square = roundedRect(tile, tileRadius);
    p.fillPath(square, Qt::white);
    // A hairline keeps the white tile visible on light cards.
    p.strokePath(roundedRect(tile.adjusted(0.25, 0.25, -0.25, -0.25), tileRadius - 0.25),
                 QPen(grey(0.82), 0.5));
    const std::array<std::pair<QPointF, QColor>, 4> squares{{
        {{7, 17}, srgb(0.21, 0.77, 0.94)},
        {{17, 17}, srgb(0.18, 0.71, 0.49)},
        {{17, 7}, srgb(0.93, 0.7, 0.18)},
        {{7, 7}, srgb(0.88, 0.12, 0.35)},
    }};
    for (const auto &[corner, color] : squares)
        p.fillPath(roundedRect({corner, QSizeF(8, 8)}, 2.5), color);
}

void paintKeyhole(QPainter &p)
{
    const QColor blue = srgb(0.11, 0.55, 0.95);
    p.fillPath(ellipse({3, 3, 26, 26}), Qt::white);
    p.fillPath(ellipse({5, 5, 22, 22}), blue);
    p.fillPath(ellipse({9, 9, 14, 14}), Qt::white);
    p.fillPath(roundedRect({14.5, 11, 3, 10}, 1), blue);
}

void paintPhotoshop(QPainter &p)
{
    const QColor blue = srgb(0.19, 0.66, 1.0);
    p.fillPath(roundedRect(tile, 3), srgb(0.0, 0.12, 0.21));
    p.strokePath(roundedRect(tile.adjusted(1.75, 1.75, -1.75, -1.75), 3), QPen(blue, 1.5));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    constexpr qreal points = 12;
    const QString text = QStringLiteral("Ps");
    // Centred on the tile rather than at a fixed origin, so any system font sits right.
    const qreal x = 16 - textWidth(text, font, points) / 2;
    p.fillPath(textPath(text, font, points, {x, 9 + descent(font, points)}), blue);
}

void paintPage(QPainter &p)
{
    const QPainterPath page = roundedRect({6, 4, 20, 24}, 2.5);
    p.fillPath(page, srgb(0.95, 0.95, 0.97));
    p.strokePath(roundedRect({6.6, 4.6, 18.8, 22.8}, 2.2), QPen(srgb(0.65, 0.65, 0.7), 1.2));
    p.setPen(roundPen(srgb(0.45, 0.45, 0.5), 1.4));
    const std::array<std::pair<qreal, qreal>, 5> lines{
        {{22.5, 21.5}, {19, 21.5}, {15.5, 19.5}, {12, 21.5}, {8.5, 16.5}}};
    for (const auto &[y, right] : lines)
        p.drawLine(QPointF(10.5, y), QPointF(right, y));
}

} // namespace

AppPicture appPictureForName(const QString &appName)
{
    const QString name = appName.toLower();
    const auto has = [&name](const char *word) { return name.contains(QLatin1String(word)); };
    if (has("sketch"))
        return AppPicture::Gem;
    if (has("chrome"))
        return AppPicture::Chrome;
    if (has("finder"))
        return AppPicture::Finder;
    if (has("mail"))
        return AppPicture::Mail;
    if (has("xcode"))
        return AppPicture::Xcode;
    if (has("slack"))
        return AppPicture::Slack;
    if (has("1password") || has("password") || has("keychain"))
        return AppPicture::Keyhole;
    if (has("photoshop"))
        return AppPicture::Photoshop;
    return AppPicture::Page;
}

void paintAppPicture(QPainter &painter, AppPicture picture)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    switch (picture) {
    case AppPicture::Gem:
        paintGem(painter);
        break;
    case AppPicture::Chrome:
        paintChrome(painter);
        break;
    case AppPicture::Finder:
        paintFinder(painter);
        break;
    case AppPicture::Mail:
        paintMail(painter);
        break;
    case AppPicture::Xcode:
        paintXcode(painter);
        break;
    case AppPicture::Slack:
        paintSlack(painter);
        break;
    case AppPicture::Keyhole:
        paintKeyhole(painter);
        break;
    case AppPicture::Photoshop:
        paintPhotoshop(painter);
        break;
    case AppPicture::Page:
        paintPage(painter);
        break;
    }
    painter.restore();
}
