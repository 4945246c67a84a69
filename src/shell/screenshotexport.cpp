#include "screenshotexport.h"

#include "board/clipboardmanagerstate.h"

#include <QDir>
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace
{

// Time for a window to lay out and paint what the state now says.
constexpr int settleMilliseconds = 250;

} // namespace

ScreenshotExport::ScreenshotExport(ClipboardManagerState &state, Windows windows, QString folder,
                                   QObject *parent)
    : QObject(parent), m_state(state), m_windows(std::move(windows)), m_folder(std::move(folder))
{
}

QStringList ScreenshotExport::fileNames()
{
    return {QStringLiteral("verify_dark_3x3.png"), QStringLiteral("verify_light_3x3.png"),
            QStringLiteral("verify_light_6x1.png"), QStringLiteral("verify_filter_sketch.png"),
            QStringLiteral("verify_preferences.png")};
}

QList<ScreenshotExport::Shot> ScreenshotExport::shots()
{
    const QStringList names = fileNames();
    const auto grid = [this](int rows, int columns) {
        m_state.setGridRows(rows);
        m_state.setGridColumns(columns);
    };
    return {
        {names[0],
         [this, grid] {
             // The export's profile is a throw-away one.
             m_state.resetToShowcaseData(ClipboardManagerState::ReplacedHistory::Discarded);
             m_state.setAppearancePreference(AppearancePreference::Dark);
             grid(3, 3);
             m_state.setSidebarSelection(SidebarSelection::history());
             return m_windows.showBoard();
         }},
        {names[1],
         [this] {
             m_state.setAppearancePreference(AppearancePreference::Light);
             return m_windows.showBoard();
         }},
        {names[2],
         [this, grid] {
             grid(6, 1);
             return m_windows.showBoard();
         }},
        {names[3],
         [this, grid] {
             grid(3, 3);
             m_state.setSidebarSelection(SidebarSelection::app(QStringLiteral("Sketch")));
             return m_windows.showBoard();
         }},
        {names[4], [this] { return m_windows.openPreferences(); }},
    };
}

void ScreenshotExport::start(int initialWaitMilliseconds)
{
    // A folder that cannot be made shows up as files that cannot be written.
    QDir().mkpath(m_folder);
    m_shots = shots();
    QTimer::singleShot(initialWaitMilliseconds, this, &ScreenshotExport::takeNext);
}

namespace
{

// On a transparent ground, unlike grab(): the board's rounded corners stay clear instead of
// black where the window is masked rather than composited.
QImage transparentPicture(QWidget &window)
{
    const qreal ratio = window.devicePixelRatioF();
    QImage image(window.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    window.render(&image, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

} // namespace

void ScreenshotExport::takeNext()
{
    if (m_shots.isEmpty()) {
        m_state.setAppearancePreference(AppearancePreference::Dark);
        m_state.setSidebarSelection(SidebarSelection::history());
        m_state.setGridRows(3);
        m_state.setGridColumns(3);
        emit finished(m_failures);
        return;
    }
    const Shot shot = m_shots.takeFirst();
    QWidget *window = shot.prepare();
    QTimer::singleShot(settleMilliseconds, this, [this, window, name = shot.fileName] {
        const QImage picture = window ? transparentPicture(*window) : QImage();
        if (picture.isNull() || !picture.save(QDir(m_folder).filePath(name), "PNG"))
            m_failures.append(name);
        takeNext();
    });
}
