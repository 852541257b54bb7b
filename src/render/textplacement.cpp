// SPDX-License-Identifier: MIT
#include "textplacement.h"

#include "checkedmath.h"

#include <cmath>

namespace pellimo {

using checked::add;
using checked::div;
using checked::sub;

int32_t nearestEven(double v)
{
    if (!std::isfinite(v))
        throw checked::OverflowError("a text measurement is not a finite number");
    // std::nearbyint follows the default rounding mode, which is to nearest with ties to even.
    const double r = std::nearbyint(v);
    if (r < -2147483648.0 || r > 2147483647.0)
        throw checked::OverflowError("a text measurement does not fit 32 bits");
    return static_cast<int32_t>(r);
}

namespace {

// The top of a text of height th centred in the band, moved by offsetY.
int32_t centredTop(int32_t bandTop, int32_t bandBottom, int32_t th, int16_t offsetY)
{
    const int32_t spare = sub<int32_t>(sub<int32_t>(bandBottom, bandTop), th);
    return add<int32_t>(add<int32_t>(div<int32_t>(spare, 2), bandTop), offsetY);
}

} // namespace

QPoint placeCentredLine(int W, int bandTop, int bandBottom, MeasuredText size, int16_t offsetX,
                        int16_t offsetY)
{
    const int32_t tw = nearestEven(size.width);
    const int32_t th = nearestEven(size.height);
    const int32_t x = add<int32_t>(div<int32_t>(sub<int32_t>(W, tw), 2), offsetX);
    const int32_t y = centredTop(bandTop, bandBottom, th, offsetY);
    return {x, y};
}

Name1Placement placeName1(int W, int bandTop, int bandBottom, MeasuredText name1, double name2Width,
                          int16_t offsetX1, int16_t offsetY1)
{
    const int32_t wName2 = nearestEven(name2Width);
    // Name 1's width enters unrounded; only the sum is rounded.
    Name1Placement p;
    p.rowWidth = nearestEven(name1.width + wName2);
    const int32_t hName1 = nearestEven(name1.height);
    const int32_t x = add<int32_t>(div<int32_t>(sub<int32_t>(W, p.rowWidth), 2), offsetX1);
    p.position = QPoint(x, centredTop(bandTop, bandBottom, hName1, offsetY1));
    return p;
}

QPoint placeName2(int bandTop, int bandBottom, const Name1Placement &name1, MeasuredText name2,
                  int16_t offsetX2, int16_t offsetY2)
{
    const int32_t hName2 = nearestEven(name2.height);
    const int32_t rowEnd = add<int32_t>(name1.position.x(), name1.rowWidth);
    const int32_t x =
        nearestEven(static_cast<double>(rowEnd) - name2.width + static_cast<double>(offsetX2));
    return {x, centredTop(bandTop, bandBottom, hName2, offsetY2)};
}

} // namespace pellimo
