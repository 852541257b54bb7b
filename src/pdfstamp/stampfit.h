// SPDX-License-Identifier: MIT
#pragma once

// Where the stamp's picture goes on a page, checked: at least kMinStampDiameterMm across, wholly
// on the page as shown.

#include "pdfplacement.h"
#include "pdfstamp.h"

namespace pellimo {

inline constexpr double kPointsPerMm = 72 / 25.4;

// A refusal for a stamp smaller than kMinStampDiameterMm (or not a number); empty when it is not.
PdfResult checkStampSize(double diameterMm);

// The picture's rectangle on the page as shown, in points from its top-left corner: the circle's
// square at the place, widened by the picture's margin. A refusal when it does not fit.
PdfResult fitStamp(const PageFrame &frame, const PdfStampPlace &place,
                   const StampGeometry &geometry, QRectF &picture);

} // namespace pellimo
