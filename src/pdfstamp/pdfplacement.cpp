// SPDX-License-Identifier: MIT
#include "pdfplacement.h"

#include <algorithm>
#include <qpdf/QPDFPageObjectHelper.hh>

namespace pellimo {

PageFrame pageFrame(QPDFPageObjectHelper &page)
{
    PageFrame frame;
    const QPDFObjectHandle::Rectangle r = page.getCropBox(false, false).getArrayAsRectangle();
    const double left = std::min(r.llx, r.urx);
    const double bottom = std::min(r.lly, r.ury);
    frame.box = QRectF(left, bottom, std::abs(r.urx - r.llx), std::abs(r.ury - r.lly));
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    if (rotate.isInteger())
        frame.rotation = int(((rotate.getIntValue() % 360) + 360) % 360) / 90 * 90;
    return frame;
}

QPointF userSpacePoint(const PageFrame &f, QPointF v)
{
    const double l = f.box.left(), b = f.box.top(); // QRectF's top is the smaller y: the bottom
    const double r = f.box.right(), t = f.box.bottom();
    switch (f.rotation) {
    case 90: // shown turned clockwise: the left edge is at the top
        return {l + v.y(), b + v.x()};
    case 180:
        return {r - v.x(), b + v.y()};
    case 270:
        return {r - v.y(), t - v.x()};
    default:
        return {l + v.x(), t - v.y()};
    }
}

QPDFObjectHandle::Rectangle userSpaceRect(const PageFrame &frame, const QRectF &view)
{
    const QPointF a = userSpacePoint(frame, view.topLeft());
    const QPointF c = userSpacePoint(frame, view.bottomRight());
    return {std::min(a.x(), c.x()), std::min(a.y(), c.y()), std::max(a.x(), c.x()),
            std::max(a.y(), c.y())};
}

} // namespace pellimo
