// SPDX-License-Identifier: MIT
#include "stampsurface.h"

namespace pellimo {

QImage makeSurface(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // 96 dpi is 3779.5 dots per metre; 3780 reads back as 96.
    const int dotsPerMetre = 3780;
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

QColor stampColour(int32_t colour)
{
    const auto c = static_cast<uint32_t>(colour);
    return QColor(int(c & 0xFFu), int((c >> 8) & 0xFFu), int((c >> 16) & 0xFFu));
}

} // namespace pellimo
