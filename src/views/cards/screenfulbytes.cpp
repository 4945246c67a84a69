#include "screenfulbytes.h"

#include <QGuiApplication>
#include <QScreen>

qsizetype screenfulBytes()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSizeF pixels =
        screen ? QSizeF(screen->size()) * screen->devicePixelRatio() : QSizeF(1920, 1080);
    return qsizetype(pixels.width()) * qsizetype(pixels.height()) * 4;
}
