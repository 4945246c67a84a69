#pragma once

#include <QString>

struct Theme;

// Style sheets that draw the stock controls in the board's own look, so a window's buttons,
// boxes and menus match its custom-drawn parts.
namespace ControlStyles
{

// A push button: the accent-filled prominent style or the standard tinted one.
QString button(const Theme &theme, bool prominent, int verticalPadding, int sidePadding);
// A whole window's push and tool buttons and pop-up pickers, whoever adds them; check boxes
// take the window's palette.
QString controls(const Theme &theme);

} // namespace ControlStyles
