// SPDX-License-Identifier: MIT
#include "framegeometry.h"

#include "checkedmath.h"

namespace pellimo {

using checked::add;
using checked::div;
using checked::mul;
using checked::narrow;
using checked::sub;

FrameGeometry frameSquare(int W, int H, int16_t radius)
{
    FrameGeometry g;
    g.W = narrow<int16_t>(W);
    g.H = narrow<int16_t>(H);
    g.D = mul<int16_t>(2, radius);
    g.L = div<int16_t>(sub<int16_t>(g.W, g.D), 2);
    g.T = div<int16_t>(sub<int16_t>(g.H, g.D), 2);
    g.R = add<int32_t>(g.L, g.D);
    g.B = add<int32_t>(g.T, g.D);
    return g;
}

void addBandLines(FrameGeometry &g, int16_t topAreaPercent, int16_t bottomAreaPercent)
{
    // The products are 16-bit: D x percent fails beyond 32767 even though the sum would fit.
    const int16_t topBand = div<int16_t>(mul<int16_t>(g.D, topAreaPercent), 100);
    const int16_t bottomBand = div<int16_t>(mul<int16_t>(g.D, bottomAreaPercent), 100);
    g.Y1 = add<int32_t>(g.T, topBand);
    g.Y2 = sub<int32_t>(g.B, bottomBand);
}

CropRect cropRect(int W, int H, int16_t radius)
{
    const int32_t w = W;
    const int32_t h = H;
    const int16_t D = mul<int16_t>(2, radius);
    const int32_t halfSpareW = div<int32_t>(sub<int32_t>(w, D), 2);
    const int32_t halfSpareH = div<int32_t>(sub<int32_t>(h, D), 2);
    CropRect c;
    c.left = sub<int32_t>(halfSpareW, kCropMargin);
    c.top = sub<int32_t>(halfSpareH, kCropMargin);
    c.right = add<int32_t>(sub<int32_t>(w, halfSpareW), kCropMargin);
    c.bottom = add<int32_t>(sub<int32_t>(h, halfSpareH), kCropMargin);
    return c;
}

} // namespace pellimo
