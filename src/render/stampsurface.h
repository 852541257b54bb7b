// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

namespace pellimo {

inline constexpr int kPicBaseSize = 200; // drawing area of PicBase, in pixels

// A persistent RGB32 raster at 96 dpi, white when created: what PicBase and PicTemp draw on.
// It keeps its pixels while no window is shown. Null when the size is empty or cannot be allocated.
QImage makeSurface(int width, int height);

// The stamp colour as stored (0x00BBGGRR: 255 is red, 16711680 blue). The top byte is ignored.
QColor stampColour(int32_t colour);

} // namespace pellimo
