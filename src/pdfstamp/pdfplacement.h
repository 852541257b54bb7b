// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>
#include <QSizeF>
#include <qpdf/QPDFObjectHandle.hh>

class QPDFPageObjectHelper;

namespace pellimo {

// A page's visible box (CropBox, else MediaBox) in its user space, in points, and its /Rotate.
struct PageFrame {
    QRectF box;       // user space, y up: left, bottom, width, height
    int rotation = 0; // 0, 90, 180 or 270, clockwise

    // The page as a viewer shows it, in points.
    QSizeF viewSize() const { return rotation % 180 ? box.size().transposed() : box.size(); }
};

PageFrame pageFrame(QPDFPageObjectHelper &page);

// A rectangle given in points from the top-left corner of the page as shown (y down), in the
// page's user space (y up), for placing content there.
QPDFObjectHandle::Rectangle userSpaceRect(const PageFrame &frame, const QRectF &view);

// One point of the page as shown, in user space.
QPointF userSpacePoint(const PageFrame &frame, QPointF view);

} // namespace pellimo
