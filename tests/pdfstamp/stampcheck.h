// SPDX-License-Identifier: MIT
#pragma once

// The checks every stamped file gets: IN is OUT's prefix (cmp), qpdf --check passes, and pdftoppm
// and mutool draw show the stamp's red ink filling the square where it was placed while every
// other pixel of every page is as in IN.

#include "pdftesttools.h"

#include <QRectF>

namespace pellimo::testing {

constexpr int kDpi = 127; // 5 pixels a millimetre
constexpr int kPxPerMm = 5;

// Empty when OUT starts with every byte of IN; else what cmp said.
QString prefixProblem(const QString &in, const QString &out);
// Empty when qpdf --check finds nothing; else its words.
QString qpdfProblem(const QString &pdf);

// Empty when, on `page` as `renderer` shows it, the pixels that changed from IN to OUT are the
// stamp's, its red ink fills `squareMm` (the circle's square, mm from the top-left corner as
// shown) to within two pixels, and the other pages are unchanged; else what differs.
QString stampProblem(Renderer renderer, const QString &in, const QString &out, int page,
                     const QRectF &squareMm, int pageCount);

// pikepdf's reading of the last annotation on `page` (1-based), as JSON text: its keys with text
// values decoded, the appearance's /Subtype and /Matrix, and how many annotations the page has.
Ran readLastAnnotation(const QString &pdf, int page);

} // namespace pellimo::testing
