#include "panelshade.h"

namespace PanelShade
{

std::optional<bool> isDark(const QImage &aroundIcon)
{
    if (aroundIcon.isNull())
        return std::nullopt;
    const QImage image = aroundIcon.convertToFormat(QImage::Format_RGB32);
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    double lightness = 0;
    int count = 0;
    const auto add = [&](int x, int y) {
        lightness += image.pixelColor(x, y).lightnessF();
        ++count;
    };
    for (int x = 0; x <= right; ++x) {
        add(x, 0);
        add(x, bottom);
    }
    for (int y = 1; y < bottom; ++y) {
        add(0, y);
        add(right, y);
    }
    return lightness / count < 0.5;
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor ink(bool darkPanel)
{
    return darkPanel ? QColor(0xf2, 0xf2, 0xf2) : QColor(Qt::black);
}

} // namespace PanelShade
