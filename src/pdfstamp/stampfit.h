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

struct OpenedPdf;

// Page `place.page` of `o`, checked, its frame, and the stamp's rectangle on it: a refusal when
// the page does not exist, its frame cannot be read or the stamp does not fit.
PdfResult placeStamp(const OpenedPdf &o, const PdfStampPlace &place, const StampGeometry &geometry,
                     PageFrame &frame, QRectF &picture);

} // namespace pellimo
