// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <cstdint>

namespace pellimo {

// Placement of the stamp texts from measured sizes, as a pure function so that it can be checked
// with exact numbers. Widths and heights are the unrounded measurements (advance width, line
// height with leading); rounding is to nearest with ties to even. Throws checked::OverflowError.
struct MeasuredText {
    double width = 0;
    double height = 0;
};

// One centred line (organisation or date) in the band from bandTop to bandBottom.
QPoint placeCentredLine(int W, int bandTop, int bandBottom, MeasuredText size, int16_t offsetX,
                        int16_t offsetY);

// The name row: name 1 then name 2 as one block centred on W, each centred vertically in the band
// by its own height. Placed in the two steps the drawing takes: name 1 is placed (and drawn) before
// name 2 is placed, so a failure placing name 2 leaves name 1 on the stamp.
struct Name1Placement {
    QPoint position;
    int32_t rowWidth = 0; // nearest(width of name 1 + nearest(width of name 2))
};

Name1Placement placeName1(int W, int bandTop, int bandBottom, MeasuredText name1, double name2Width,
                          int16_t offsetX1, int16_t offsetY1);

// Name 2 starts where name 1 ends: nearest(xName1 + rowWidth - width of name 2 + offsetX2).
QPoint placeName2(int bandTop, int bandBottom, const Name1Placement &name1, MeasuredText name2,
                  int16_t offsetX2, int16_t offsetY2);

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4); throws on a value that does
// not fit 32 bits or is not finite.
int32_t nearestEven(double v);

} // namespace pellimo
