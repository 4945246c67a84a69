#pragma once

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QString>
#include <optional>

class ApplicationIconLookup;

// Every picture the program draws itself: source-application icons, the tray icon, the logo,
// the design-document icon and the showcase artwork. All are vector drawings made at run time
// onto transparent images; sizes are in points, rendered at the given device pixel ratio.
class AppIconProvider
{
public:
    // Without a lookup every source gets a drawn picture.
    explicit AppIconProvider(const ApplicationIconLookup *installedApplications = nullptr);

    // The instance the views use; the shell gives it the installed applications at launch.
    static AppIconProvider &shared();
    void setInstalledApplications(const ApplicationIconLookup *installedApplications);

    // The icon of a clipping's source application, 32 × 32 points: the installed application's
    // own icon when its bundle id is known, else a drawn picture for the name. Cached under
    // "name|bundleID" for the life of the provider.
    QImage icon(const QString &appName, const QString &bundleID);

    // The drawn picture for an application name, 32 × 32 points.
    static QImage drawVectorAppIcon(const QString &appName, qreal devicePixelRatio = 1);
    // 18 × 18 points, black on transparent: a mask for the tray to tint.
    static QImage drawMenuBarStatusIcon(qreal devicePixelRatio = 1);
    // The status icon at the usual screen ratios in this ink, marked as a mask.
    static QIcon menuBarStatusIcon(const QColor &ink = Qt::black);
    // The product logo, size × size points.
    static QImage drawBrandLogoImage(qreal size, qreal devicePixelRatio = 1);
    // 72 × 84 points: a page with a folded corner, the design gem and a caption.
    static QImage drawSketchDocumentIcon(qreal devicePixelRatio = 1);
    // The same page with lines of text instead of the gem and caption, for any other file.
    static QImage drawPlainDocumentIcon(qreal devicePixelRatio = 1);
    // PNG bytes of the logo at 512 × 512 pixels, or nothing if encoding fails.
    static std::optional<QByteArray> generateShowcaseArtwork();

private:
    QImage installedIcon(const QString &bundleID, qreal devicePixelRatio) const;

    const ApplicationIconLookup *m_installedApplications;
    QHash<QString, QImage> m_cache;
};
