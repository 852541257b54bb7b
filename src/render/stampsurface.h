#pragma once

#include <QImage>

namespace pellimo {

inline constexpr int kPicBaseSize = 200; // drawing area of PicBase, in pixels

// A persistent RGB32 raster at 96 dpi, white when created: what PicBase and PicTemp draw on.
// It keeps its pixels while no window is shown.
QImage makeSurface(int width, int height);

} // namespace pellimo
