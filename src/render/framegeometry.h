// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"

#include <cstdint>

namespace pellimo {

// The circle's bounding square and the two band lines on a W x H drawing area. 16-bit and 32-bit
// arithmetic as the stamp defines it; throws checked::OverflowError where a value leaves its range.
struct FrameGeometry {
    int16_t W = 0, H = 0, D = 0, L = 0, T = 0;
    int32_t R = 0, B = 0, Y1 = 0, Y2 = 0;
};

// Computed in two halves, in the order the drawing needs them: the square (W, H, D, L, T, R, B)
// before the circle is stroked, the band lines (Y1, Y2) only after it, so that an overflow in the
// band lines leaves the circle drawn.
FrameGeometry frameSquare(int W, int H, int16_t radius);
void addBandLines(FrameGeometry &geometry, int16_t topAreaPercent, int16_t bottomAreaPercent);

// The Set command's cut-out: the bounding square widened by 4 pixels each side; right and bottom
// exclusive, mirrored from left and top about the centre.
struct CropRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

inline constexpr int kCropMargin = 4; // white pixels around the circle's bounding square

CropRect cropRect(int W, int H, int16_t radius);

} // namespace pellimo
