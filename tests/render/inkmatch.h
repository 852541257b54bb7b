// SPDX-License-Identifier: MIT
#pragma once

// Comparing a stamp drawn at any size with the 96-dpi bitmap, pixel by pixel.

#include <QImage>
#include <QList>
#include <QPoint>

namespace pellimo::testing {

// The stamp pixels of a picture drawn `scale` times as large: those at least half covered by ink
// (on white, or on transparent).
QImage inkAtStampPixels(const QImage &large, int scale);

// The ink pixels of `a` with no ink pixel of `b` within `reach` pixels (in x and in y).
QList<QPoint> unmatchedInk(const QImage &a, const QImage &b, int reach = 1);

} // namespace pellimo::testing
