#pragma once

class QWidget;

// Shows a top-level window centred on its screen's available area, raised and active.
namespace CentredWindow
{

void present(QWidget &window);

} // namespace CentredWindow
