#pragma once

#include <QImage>
#include <QSize>

struct ClippingItem;

// The picture of a file clipping: the desktop's icon for the file's type when the file is
// there, else the drawn document icon.
namespace FilePicture
{

bool usesInstalledIcon(const ClippingItem &item);
QImage picture(const ClippingItem &item, QSize pixelSize);

} // namespace FilePicture
