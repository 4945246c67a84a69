#pragma once

#include <QSize>
#include <QtGlobal>

// Largest content the watcher takes, in bytes; a value equal to a limit is taken.
namespace CaptureLimits
{

inline constexpr qint64 png = 10'485'760;
inline constexpr qint64 text = 10'485'760;
inline constexpr qint64 rtf = 10'485'760;
// TIFF is uncompressed, so it gets four times the room.
inline constexpr qint64 tiff = 41'943'040;
// All one change may read, so that an owner answering every request with the most it may
// still cannot make one change cost more.
inline constexpr qint64 perChange = png + tiff + text + rtf;

// The size of an image's uncompressed 32-bit form (what a TIFF of it holds).
inline qint64 tiffFormSize(QSize size)
{
    return qint64(size.width()) * size.height() * 4;
}

} // namespace CaptureLimits
