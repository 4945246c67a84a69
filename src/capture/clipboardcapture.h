#pragma once

#include "capture/clippingsource.h"
#include "model/clippingitem.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

class Pasteboard;

// Reading one clipboard change into at most one clipping.
namespace ClipboardCapture
{

inline const QString imageTooLargeMessage = QStringLiteral("Skipped: Image exceeds 10 MB limit");
inline const QString textTooLargeMessage = QStringLiteral("Skipped: Text exceeds 10 MB limit");

// Content from a password manager: a concealment marker among the types, or a password
// manager's name in the application's name or id.
bool isSensitive(const QStringList &types, const QString &appName, const QString &bundleID);

// The size of the image's uncompressed 32-bit form (what a TIFF of it holds).
qint64 tiffFormSize(const QImage &image);

struct Outcome {
    std::optional<ClippingItem> item;
    // Set when the change was refused for its size.
    std::optional<QString> toast;
};

// File URLs first, then an image, then text; a sensitive text becomes a secret clipping.
// Raw image data is weighed before anything is decoded.
Outcome read(Pasteboard &pasteboard, bool isPassword, const ClippingSource &source);

} // namespace ClipboardCapture
