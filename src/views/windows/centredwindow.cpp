#include "centredwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace CentredWindow
{

void present(QWidget &window)
{
    // The frame is not known before the first show; centring the contents is close enough.
    if (const QScreen *screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                               screen->availableGeometry()));
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace CentredWindow
