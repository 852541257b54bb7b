// SPDX-License-Identifier: MIT
#include "cutout.h"

#include "framegeometry.h"
#include "stampsurface.h"

#include <cstring>

namespace pellimo {

void cutOutStamp(const QImage &picBase, int16_t radius, QImage &picTemp)
{
    const CropRect crop = cropRect(picBase.width(), picBase.height(), radius);
    if (crop.width() <= 0 || crop.height() <= 0)
        throw CutOutError("the cut-out is empty");
    if (crop.width() > kMaxCutOutSide || crop.height() > kMaxCutOutSide)
        throw CutOutError("the cut-out is too large");

    QImage cut = makeSurface(crop.width(), crop.height()); // white where PicBase has no pixels
    if (cut.isNull())
        throw CutOutError("no memory for the cut-out");

    const QImage source = picBase.format() == QImage::Format_RGB32
                              ? picBase
                              : picBase.convertToFormat(QImage::Format_RGB32);
    const QRect from = QRect(crop.left, crop.top, crop.width(), crop.height()) & source.rect();
    for (int y = from.top(); y <= from.bottom(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(source.constScanLine(y)) + from.left();
        auto *dst =
            reinterpret_cast<QRgb *>(cut.scanLine(y - crop.top)) + (from.left() - crop.left);
        std::memcpy(dst, src, size_t(from.width()) * sizeof(QRgb));
    }
    picTemp = cut;
}

} // namespace pellimo
