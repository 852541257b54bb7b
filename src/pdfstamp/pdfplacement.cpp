// SPDX-License-Identifier: MIT
#include "pdfplacement.h"

#include "qpdfaccess.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <set>

namespace pellimo {

namespace {

enum class Box { Missing, Unusable, Huge, Good };

Box readBox(QPDFObjectHandle box, QRectF &rect)
{
    if (box.isNull())
        return Box::Missing;
    if (!box.isArray() || box.getArrayNItems() != 4)
        return Box::Unusable;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = box.getArrayItem(i);
        if (!item.isNumber())
            return Box::Unusable;
        v[i] = item.getNumericValue();
        if (!std::isfinite(v[i]))
            return Box::Unusable;
        if (std::abs(v[i]) > kMaxPageCoordinate)
            return Box::Huge;
    }
    rect = QRectF(std::min(v[0], v[2]), std::min(v[1], v[3]), std::abs(v[2] - v[0]),
                  std::abs(v[3] - v[1]));
    return rect.width() > 0 && rect.height() > 0 ? Box::Good : Box::Unusable;
}

} // namespace

QSizeF PageFrame::viewSize() const
{
    const QSizeF size = box.size() * userUnit;
    return rotation % 180 ? size.transposed() : size;
}

QPDFObjectHandle inheritedAttribute(QPDFObjectHandle page, const std::string &key)
{
    std::set<QPDFObjGen> seen;
    for (int depth = 0; depth < 64 && page.isDictionary(); ++depth) {
        if (page.isIndirect() && !seen.insert(page.getObjGen()).second)
            break;
        QPDFObjectHandle value = page.getKey(key);
        if (!value.isNull())
            return value;
        page = pdf::keyOf(page, "/Parent");
    }
    return QPDFObjectHandle::newNull();
}

std::optional<PageFrame> pageFrame(QPDFObjectHandle page, QString &problem)
{
    PageFrame frame;
    QRectF media, crop;
    const Box m = readBox(inheritedAttribute(page, "/MediaBox"), media);
    const Box c = readBox(inheritedAttribute(page, "/CropBox"), crop);
    if (m == Box::Huge || c == Box::Huge) {
        problem = QCoreApplication::translate(
            "pellimo", "its page size uses numbers too large to place a stamp by");
        return std::nullopt;
    }
    if (m != Box::Good) {
        problem = QCoreApplication::translate("pellimo", "it has no usable page size (MediaBox)");
        return std::nullopt;
    }
    // Viewers show the part of the CropBox that lies on the MediaBox; an unusable CropBox, or one
    // wholly off the page, is ignored as they ignore it.
    frame.box = c == Box::Good && crop.intersects(media) ? crop.intersected(media) : media;

    QPDFObjectHandle rotate = inheritedAttribute(page, "/Rotate");
    if (rotate.isInteger()) {
        const long long turn = rotate.getIntValue();
        if (turn % 90 != 0 || std::llabs(turn) > 360LL * 1000000) {
            problem =
                QCoreApplication::translate(
                    "pellimo", "its page turn (/Rotate %1) is not a whole number of quarter turns")
                    .arg(turn);
            return std::nullopt;
        }
        frame.rotation = int(((turn % 360) + 360) % 360);
    } else if (!rotate.isNull()) {
        problem =
            QCoreApplication::translate("pellimo", "its page turn (/Rotate) is not a whole number");
        return std::nullopt;
    }

    QPDFObjectHandle unit = pdf::keyOf(page, "/UserUnit");
    if (unit.isNumber()) {
        const double u = unit.getNumericValue();
        if (std::isfinite(u) && u >= 0.001 && u <= 75000)
            frame.userUnit = u;
    }
    return frame;
}

QPointF userSpacePoint(const PageFrame &f, QPointF v)
{
    v /= f.userUnit;
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

QPointF viewPoint(const PageFrame &f, QPointF u)
{
    const double l = f.box.left(), b = f.box.top();
    const double r = f.box.right(), t = f.box.bottom();
    QPointF v;
    switch (f.rotation) {
    case 90:
        v = {u.y() - b, u.x() - l};
        break;
    case 180:
        v = {r - u.x(), u.y() - b};
        break;
    case 270:
        v = {t - u.y(), r - u.x()};
        break;
    default:
        v = {u.x() - l, t - u.y()};
        break;
    }
    return v * f.userUnit;
}

QPDFObjectHandle::Rectangle userSpaceRect(const PageFrame &frame, const QRectF &view)
{
    const QPointF a = userSpacePoint(frame, view.topLeft());
    const QPointF c = userSpacePoint(frame, view.bottomRight());
    return {std::min(a.x(), c.x()), std::min(a.y(), c.y()), std::max(a.x(), c.x()),
            std::max(a.y(), c.y())};
}

std::array<double, 6> uprightMatrix(int rotation)
{
    switch (rotation) {
    case 90: // the page is shown turned a quarter clockwise: turn the content a quarter back
        return {0, 1, -1, 0, 0, 0};
    case 180:
        return {-1, 0, 0, -1, 0, 0};
    case 270:
        return {0, -1, 1, 0, 0, 0};
    default:
        return {1, 0, 0, 1, 0, 0};
    }
}

} // namespace pellimo
