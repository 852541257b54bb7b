// SPDX-License-Identifier: MIT
#include "circleregion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pellimo {

namespace {

// Integer arithmetic on doubled coordinates, so that pixel centres (x + 1/2) are whole numbers and
// the test "centre inside or on the circle" is exact: (2x + 1 - X0)^2 + (2y + 1 - Y0)^2 <= R^2.
struct Circle {
    int64_t X0 = 0, Y0 = 0, R = 0; // doubled centre and radius

    Circle(const QRect &square, int radiusChange)
        : X0(2 * int64_t(square.x()) + square.width()),
          Y0(2 * int64_t(square.y()) + square.height()),
          R(square.isEmpty() ? 0 : square.width() + 2 * int64_t(radiusChange))
    {
    }

    static int64_t floorDiv2(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

    // The first and last row whose pixel centres can lie inside, within the area.
    int firstRow(const QRect &area) const
    {
        return int(std::max<int64_t>(area.top(), floorDiv2(Y0 - R - 1)));
    }
    int lastRow(const QRect &area) const
    {
        return int(std::min<int64_t>(area.bottom(), floorDiv2(Y0 + R - 1) + 1));
    }

    // The pixels of row y whose centres lie inside, within the area; false when there are none.
    bool span(int y, const QRect &area, int &left, int &right) const
    {
        if (R <= 0)
            return false;
        const int64_t dy = 2 * int64_t(y) + 1 - Y0;
        const int64_t rest = R * R - dy * dy;
        if (rest < 0)
            return false;
        // s = the largest whole number with s^2 <= rest.
        auto s = int64_t(std::sqrt(double(rest)));
        while (s * s > rest)
            --s;
        while ((s + 1) * (s + 1) <= rest)
            ++s;
        // 2x + 1 in [X0 - s, X0 + s]
        left = int(std::max<int64_t>(area.left(), -floorDiv2(-(X0 - s - 1))));
        right = int(std::min<int64_t>(area.right(), floorDiv2(X0 + s - 1)));
        return left <= right;
    }
};

} // namespace

QRegion diskRegion(const QRect &square, int radiusChange, const QRect &area)
{
    const Circle disk(square, radiusChange);
    if (disk.R <= 0)
        return {};
    QList<QRect> spans;
    spans.reserve(std::max(0, disk.lastRow(area) - disk.firstRow(area) + 1));
    int left = 0, right = 0;
    for (int y = disk.firstRow(area); y <= disk.lastRow(area); ++y)
        if (disk.span(y, area, left, right))
            spans.append(QRect(left, y, right - left + 1, 1));
    QRegion region;
    region.setRects(spans.constData(), int(spans.size()));
    return region;
}

QList<QRect> outlineRects(const QRect &square, int lineWidth, const QRect &area)
{
    const int outside = lineWidth / 2;
    const Circle outer(square, outside);
    const Circle inner(square, outside - lineWidth);
    QList<QRect> rects;
    if (outer.R <= 0)
        return rects;
    rects.reserve(2 * std::max(0, outer.lastRow(area) - outer.firstRow(area) + 1));
    int oLeft = 0, oRight = 0, iLeft = 0, iRight = 0;
    for (int y = outer.firstRow(area); y <= outer.lastRow(area); ++y) {
        if (!outer.span(y, area, oLeft, oRight))
            continue;
        if (!inner.span(y, area, iLeft, iRight)) {
            rects.append(QRect(oLeft, y, oRight - oLeft + 1, 1));
            continue;
        }
        if (iLeft > oLeft)
            rects.append(QRect(oLeft, y, iLeft - oLeft, 1));
        if (oRight > iRight)
            rects.append(QRect(iRight + 1, y, oRight - iRight, 1));
    }
    return rects;
}

} // namespace pellimo
