#include "appiconprovider.h"

#include "applicationiconlookup.h"
#include "apppicture.h"
#include "brandlogo.h"
#include "designcanvas.h"
#include "pngencoding.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

using namespace DesignCanvas;

namespace
{

constexpr QSizeF appIconSize(32, 32);
constexpr QSizeF statusIconSize(18, 18);
constexpr QSizeF documentIconSize(72, 84);

qreal screenPixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// Draws `paint` on a design canvas of `design` units filling an image of `size` points.
template <typename Paint>
QImage render(QSizeF size, qreal devicePixelRatio, QSizeF design, Paint paint)
{
    QImage image = transparentImage(size, devicePixelRatio);
    {
        QPainter painter(&image);
        begin(painter, design);
        paint(painter);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

void paintStatusIcon(QPainter &p)
{
    const QPen line(Qt::black, 1.45, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.strokePath(roundedRect({3, 2, 12, 13}, 2.6), line);

    // The clip cuts a gap into the board's top edge so it reads as a separate part.
    const QPainterPath clip = roundedRect({6.2, 13.6, 5.6, 2.8}, 1.2);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.strokePath(clip, QPen(Qt::black, 1.5));
    p.restore();
    p.fillPath(clip, Qt::black);

    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.9, 10.6), QPointF(12.1, 10.6));
    p.drawLine(QPointF(5.9, 7.9), QPointF(10.9, 7.9));
    p.drawLine(QPointF(5.9, 5.2), QPointF(9.4, 5.2));

    QPainterPath hook;
    hook.moveTo(14.5, 13);
    // Angles run as in y-down space, so the top of the arc is at -90 degrees here.
    hook.arcTo(QRectF(13, 10, 3, 3), -90, 90);
    hook.lineTo(16, 4);
    p.strokePath(hook, line);
}

void paintPage(QPainter &p)
{
    constexpr qreal fold = 15;
    const QRectF page(7, 2, 58, 80);
    QPainterPath sheet;
    sheet.moveTo(page.left(), page.top());
    sheet.lineTo(page.right(), page.top());
    sheet.lineTo(page.right(), page.bottom() - fold);
    sheet.lineTo(page.right() - fold, page.bottom());
    sheet.lineTo(page.left(), page.bottom());
    sheet.closeSubpath();
    p.fillPath(sheet, Qt::white);
    p.strokePath(sheet, QPen(grey(0.8), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));

    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.bottom());
    corner.lineTo(page.right() - fold, page.bottom() - fold);
    corner.lineTo(page.right(), page.bottom() - fold);
    corner.closeSubpath();
    p.fillPath(corner, grey(0.92));
    p.strokePath(corner, QPen(grey(0.8), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

// A page of grey lines: any document, naming no format.
void paintPlainDocument(QPainter &p)
{
    paintPage(p);
    for (int line = 0; line < 6; ++line)
        p.fillRect(QRectF(16, 16 + line * 9, line == 5 ? 24 : 40, 3), grey(0.82));
}

void paintDocument(QPainter &p)
{
    paintPage(p);
    p.save();
    p.translate(18, 24);
    p.scale(36.0 / appIconSize.width(), 36.0 / appIconSize.height());
    paintAppPicture(p, appPictureForName(QStringLiteral("Sketch")));
    p.restore();

    const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    constexpr qreal points = 9.5;
    const QString caption = QStringLiteral("SKETCH");
    const QRectF box(10, 7, 52, 14);
    const qreal baseline = box.center().y() - points * 0.36;
    p.fillPath(textPath(caption, font, points,
                        {box.center().x() - textWidth(caption, font, points) / 2, baseline}),
               grey(0.45));
}

} // namespace

AppIconProvider::AppIconProvider(const ApplicationIconLookup *installedApplications)
    : m_installedApplications(installedApplications)
{
}

AppIconProvider &AppIconProvider::shared()
{
    static AppIconProvider provider;
    return provider;
}

void AppIconProvider::setInstalledApplications(const ApplicationIconLookup *installedApplications)
{
    m_installedApplications = installedApplications;
}

QImage AppIconProvider::icon(const QString &appName, const QString &bundleID)
{
    const QString key = appName + u'|' + bundleID;
    if (const auto cached = m_cache.constFind(key); cached != m_cache.constEnd())
        return *cached;

    const qreal ratio = screenPixelRatio();
    QImage image = bundleID.isEmpty() ? QImage() : installedIcon(bundleID, ratio);
    if (image.isNull())
        image = drawVectorAppIcon(appName, ratio);
    m_cache.insert(key, image);
    return image;
}

QImage AppIconProvider::installedIcon(const QString &bundleID, qreal devicePixelRatio) const
{
    const QString name =
        m_installedApplications ? m_installedApplications->iconName(bundleID) : QString();
    if (name.isEmpty())
        return QImage();
    const QIcon icon = QDir::isAbsolutePath(name) ? QIcon(name) : QIcon::fromTheme(name);
    if (icon.isNull())
        return QImage();
    const QSize pixels = (appIconSize * devicePixelRatio).toSize();
    QImage image = icon.pixmap(appIconSize.toSize(), devicePixelRatio).toImage();
    if (image.isNull())
        return image;
    // Themes may offer only smaller or larger sizes; every source icon has the same extent.
    if (image.size() != pixels)
        image = image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QImage AppIconProvider::drawVectorAppIcon(const QString &appName, qreal devicePixelRatio)
{
    const AppPicture picture = appPictureForName(appName);
    return render(appIconSize, devicePixelRatio, appIconSize,
                  [picture](QPainter &painter) { paintAppPicture(painter, picture); });
}

QImage AppIconProvider::drawMenuBarStatusIcon(qreal devicePixelRatio)
{
    return render(statusIconSize, devicePixelRatio, statusIconSize, paintStatusIcon);
}

QIcon AppIconProvider::menuBarStatusIcon(const QColor &ink)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0, 3.0}) {
        QImage image = drawMenuBarStatusIcon(ratio);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), ink);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    // X11 tray hosts ignore this and show the ink; others tint the mask themselves.
    icon.setIsMask(true);
    return icon;
}

QImage AppIconProvider::drawBrandLogoImage(qreal size, qreal devicePixelRatio)
{
    return render({size, size}, devicePixelRatio, {brandLogoDesignSize, brandLogoDesignSize},
                  [](QPainter &painter) { paintBrandLogo(painter, painter.device()->width()); });
}

QImage AppIconProvider::drawSketchDocumentIcon(qreal devicePixelRatio)
{
    return render(documentIconSize, devicePixelRatio, documentIconSize, paintDocument);
}

QImage AppIconProvider::drawPlainDocumentIcon(qreal devicePixelRatio)
{
    return render(documentIconSize, devicePixelRatio, documentIconSize, paintPlainDocument);
}

std::optional<QByteArray> AppIconProvider::generateShowcaseArtwork()
{
    return PngEncoding::encode(drawBrandLogoImage(512));
}
