// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <cstdint>
#include <stdexcept>

namespace pellimo {

// The largest cut-out side, in pixels. A radius beyond it (over 2044 on the 200-pixel PicBase) can
// only come from a damaged profile and would ask for a bitmap of gigabytes; it is refused instead.
inline constexpr int kMaxCutOutSide = 4096;

// A cut-out that cannot be made: an empty or oversized crop, or no memory for it.
struct CutOutError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Copies the crop of picBase into picTemp (resized to the crop), pixel for pixel; pixels outside
// picBase come out white. Throws checked::OverflowError on overflow, CutOutError for a crop that is
// empty (a negative radius) or larger than kMaxCutOutSide.
void cutOutStamp(const QImage &picBase, int16_t radius, QImage &picTemp);

} // namespace pellimo
