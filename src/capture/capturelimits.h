#pragma once

#include <QtGlobal>

// Largest content the watcher takes, in bytes; a value equal to a limit is taken.
namespace CaptureLimits
{

inline constexpr qint64 png = 10'485'760;
inline constexpr qint64 text = 10'485'760;
inline constexpr qint64 rtf = 10'485'760;
// TIFF is uncompressed, so it gets four times the room.
inline constexpr qint64 tiff = 41'943'040;

} // namespace CaptureLimits
