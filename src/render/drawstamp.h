// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"
#include "stampgeometry.h"

#include <QImage>

namespace pellimo {

// Redraws the whole stamp from the profile onto picBase: clear to white, the circle, the clip to
// its inside, the two band lines, the four texts, as layOutStamp places them on a surface of
// picBase's size. A failure (overflow, a refused pen width or font size) keeps what was drawn
// before it; a circle that is empty or does not fit picBase is drawn as far as it goes and then
// fails the same way. True when the whole stamp was drawn; a failed drawing is no stamp to set.
// Shows nothing: the caller tells the user.
bool drawStamp(QImage &picBase, const StampProfile &profile);

// Paints a layout onto a 96-dpi raster of the area's size, pixel for pixel as drawStamp does.
// False when the layout was not complete or the raster cannot be painted.
bool paintStampBitmap(QImage &picBase, const StampGeometry &geometry);

} // namespace pellimo
