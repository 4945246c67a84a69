#include "screenfulbytes.h"

#include <QGuiApplication>
#include <QScreen>
#include <atomic>

namespace
{

std::atomic<qsizetype> laidOutBytes = 0;

} // namespace

qsizetype screenfulBytes()
{
    const qsizetype bytes = laidOutBytes.load(std::memory_order_relaxed);
    return bytes ? bytes : screenBytes();
}

qsizetype screenBytes()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSizeF pixels =
        screen ? QSizeF(screen->size()) * screen->devicePixelRatio() : QSizeF(1920, 1080);
    return qsizetype(pixels.width()) * qsizetype(pixels.height()) * 4;
}

void setScreenfulPixels(QSize pixels)
{
    if (!pixels.isEmpty())
        laidOutBytes.store(qsizetype(pixels.width()) * qsizetype(pixels.height()) * 4,
                           std::memory_order_relaxed);
}
