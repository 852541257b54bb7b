// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>
#include <QRegion>

namespace pellimo {

// The pixels of the disk inscribed in the square, widened (or narrowed) by radiusChange: those
// whose centres lie inside the circle, or on it. Symmetric about the square's centre; one span per
// row; limited to `area` (the surface), so that a circle far larger than the surface costs no more
// than the surface.
QRegion diskRegion(const QRect &square, int radiusChange, const QRect &area);

// The outline of the circle inscribed in the square, lineWidth pixels wide and centred on the
// circle, as one-row rectangles: the disk widened by lineWidth / 2 less the disk narrowed by the
// rest. At width 1 it is the outermost pixels of the inscribed disk, so it spans exactly the
// square and every chord of that disk ends on it.
QList<QRect> outlineRects(const QRect &square, int lineWidth, const QRect &area);

} // namespace pellimo
