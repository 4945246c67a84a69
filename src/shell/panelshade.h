#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <optional>

// Whether the tray's panel is dark, which decides the status icon's ink where the tray host
// shows the icon as drawn instead of tinting it.
namespace PanelShade
{

// From the panel's picture behind the icon: its edge pixels, which the icon leaves clear.
// Nothing when the picture is empty.
std::optional<bool> isDark(const QImage &aroundIcon);
// From the desktop theme's palette, where the panel is not seen.
bool isDark(const QPalette &palette);
// Light ink on a dark panel, black on a light one.
QColor ink(bool darkPanel);

} // namespace PanelShade
