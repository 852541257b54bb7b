// SPDX-License-Identifier: MIT
#pragma once

#include "framegeometry.h"
#include "model/stampprofile.h"
#include "stampsurface.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <stdexcept>

namespace pellimo {

// One text of the stamp where the drawing puts it: the left end of its baseline on the drawing
// area.
struct PlacedText {
    QString text;
    QFont font; // pixel size in stamp pixels
    QPointF baseline;
};

// The one model of a drawn stamp: the circle's square, the band lines and the four texts with
// their fonts and places, laid out once on a drawing area of 96-dpi stamp pixels (PicBase's
// 200 x 200) with the raster's own font metrics and rounding. drawStamp paints it on PicBase,
// paintStamp on any other surface at any size.
//
// The layout goes in the drawing's order and stops at the first value it cannot honour (an
// overflow, a pen narrower than one pixel, a font size out of range); what was laid out before
// stays, as a failed drawing keeps what it drew. `failure` then says why, in English for a log.
struct StampGeometry {
    QSize area;               // the drawing area laid out on
    int left = 0;             // the circle's bounding square on the area: left and top edge
    int top = 0;              //
    int diameter = 0;         // and its side, D = 2 x radius
    int margin = kCropMargin; // blank border of the picture around the square
    int lineWidth = 1;
    QColor colour;
    int band1 = 0; // rows of the two band lines on the area
    int band2 = 0;
    QList<PlacedText> texts; // organisation, date, name 1, name 2; empty texts left out
    bool hasCircle = false;  // the square, the pen and the colour were laid out
    bool hasBands = false;   // and the band lines
    QString failure;         // empty when the whole stamp was laid out and its circle fits

    bool complete() const { return failure.isEmpty(); }
    int side() const { return diameter + 2 * margin; } // the whole picture, in stamp pixels
    QRect squareOnArea() const { return QRect(left, top, diameter, diameter).normalized(); }
    // Where the picture (the cut-out: the square widened by the margin) starts on the area.
    QPointF pictureOrigin() const { return QPointF(left - margin, top - margin); }
};

struct StampGeometryError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Lays the profile out on an area of the given size; never throws.
StampGeometry layOutStamp(const StampProfile &profile, QSize area = {kPicBaseSize, kPicBaseSize});

// The whole stamp laid out on PicBase, for pictures and PDF pages: throws StampGeometryError with
// the failure when the layout is not complete (what drawStamp refuses, including a circle that
// does not fit PicBase).
StampGeometry stampGeometry(const StampProfile &profile);

// The circle's diameter in millimetres when the stamp is shown at 96 dpi (radius 35: 18.52 mm).
double naturalDiameterMm(const StampGeometry &geometry);

} // namespace pellimo
