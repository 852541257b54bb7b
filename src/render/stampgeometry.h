// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <stdexcept>

namespace pellimo {

// One text of the stamp where the raster drawing puts it: the left end of its baseline.
struct PlacedText {
    QString text;
    QFont font; // pixel size in stamp pixels
    QPointF baseline;
};

// The stamp as the 200 x 200 PicBase draws it, measured in its pixels (96 dpi) from the top-left
// corner of the clipboard cut-out: the circle's bounding square widened by kCropMargin each side.
// Computed once from a profile, with the raster's font metrics and rounding, and then drawn on any
// surface at any size.
struct StampGeometry {
    int diameter = 0; // the circle's bounding square, D = 2 x radius
    int margin = 0;   // blank border around the square (kCropMargin)
    int lineWidth = 1;
    QColor colour;
    double band1 = 0; // y of the middle of the two band lines as the raster draws them
    double band2 = 0;
    QList<PlacedText> texts; // organisation, date, name 1, name 2; empty texts left out

    int side() const { return diameter + 2 * margin; } // the whole picture, in stamp pixels
    QRectF square() const { return QRectF(margin, margin, diameter, diameter); }
};

struct StampGeometryError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws what drawStamp would refuse (checked::OverflowError, a line width below 1, a font size out
// of range) as std::runtime_error, and StampGeometryError for a radius below 1.
StampGeometry stampGeometry(const StampProfile &profile);

// The circle's diameter in millimetres when the stamp is shown at 96 dpi (radius 35: 18.52 mm).
double naturalDiameterMm(const StampGeometry &geometry);

} // namespace pellimo
