#pragma once

#include "startup/appstate.h"
#include "startup/savestatus.h"

#include <QImage>
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

// Clears the system clipboard and puts the image on it. False when the clipboard did not take it.
bool putStampOnClipboard(const QImage &image);

// The Set command's core: cut-out, clipboard, then saveProfile to the current user's file.
// On failure the status says which step failed and why; later steps do not run.
[[nodiscard]] SaveStatus runSetCommand(const AppState &state, const QImage &picBase,
                                       QImage &picTemp);

} // namespace pellimo
