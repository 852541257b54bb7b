// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

namespace pellimo {

// The windows' places are kept in twips: 15 twips make one pixel at 96 dpi.
constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}

// Left, top, width and height in twips, as a pixel rectangle.
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace pellimo
