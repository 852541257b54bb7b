// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the render tests: reading the raster.

#include "model/stampprofile.h"

#include <QImage>
#include <QRect>
#include <QStringList>

namespace pellimo::testing {

// The default profile with a date text, as the main window draws it.
StampProfile defaultStamp();

// The default profile with all four texts empty: only the frame.
StampProfile frameOnly(StampProfile profile = defaultStamp());

// A fresh 200 x 200 PicBase with the profile drawn on it.
QImage drawn(const StampProfile &profile, int width = 200, int height = 200);

// The smallest rectangle holding every pixel that is not white; empty when there is none.
QRect inkBounds(const QImage &image);

// Black where the two images differ, white elsewhere.
QImage differenceImage(const QImage &a, const QImage &b);

// Pixels that are neither white nor the given colour.
int strayPixels(const QImage &image, QRgb colour);

// The largest distance from (cx, cy) of the centre of any pixel that is not white; -1 when none.
double farthestInk(const QImage &image, double cx, double cy);

} // namespace pellimo::testing
