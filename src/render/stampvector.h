// SPDX-License-Identifier: MIT
#pragma once

#include "stampgeometry.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>

namespace pellimo {

// Draws the stamp onto any painter (a PDF page, an SVG, a high-resolution raster) with the stamp
// picture's side x side box mapped onto `box`: circle, band lines and texts, texts as text and no
// background, so that the paper shows through. Restores the painter's state.
void paintStamp(QPainter &painter, const StampGeometry &geometry, const QRectF &box);

// The stamp picture as a raster of scale x scale pixels per stamp pixel, smoothed: transparent, or
// on white. Null when it cannot be allocated.
QImage stampImage(const StampGeometry &geometry, int scale, bool transparent);

// A PDF document of one page holding only the stamp picture, the circle `diameterMm` across; texts
// stay text. Empty when Qt could not write it.
QByteArray stampPdf(const StampGeometry &geometry, double diameterMm);

// An SVG document of the stamp picture, the circle `diameterMm` across.
QByteArray stampSvg(const StampGeometry &geometry, double diameterMm);

// The page size in millimetres of the picture whose circle is `diameterMm` across.
QSizeF pictureSizeMm(const StampGeometry &geometry, double diameterMm);

} // namespace pellimo
