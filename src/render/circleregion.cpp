#include "circleregion.h"

#include <algorithm>
#include <cmath>

namespace pellimo {

namespace {

struct Circle {
    double cx = 0, cy = 0, r = 0;

    Circle(const QRect &square, double radiusChange)
        : cx(square.x() + square.width() / 2.0), cy(square.y() + square.height() / 2.0),
          r(square.isEmpty() ? 0 : square.width() / 2.0 + radiusChange)
    {
    }

    // The first and last row whose pixel centres can lie inside, within the area.
    int firstRow(const QRect &area) const
    {
        return std::max(area.top(), int(std::floor(cy - r - 0.5)));
    }
    int lastRow(const QRect &area) const
    {
        return std::min(area.bottom(), int(std::ceil(cy + r - 0.5)));
    }

    // The pixels of row y whose centres lie inside, within the area; false when there are none.
    bool span(int y, const QRect &area, int &left, int &right) const
    {
        if (r <= 0)
            return false;
        const double dy = y + 0.5 - cy;
        const double h2 = r * r - dy * dy;
        if (h2 < 0)
            return false;
        const double h = std::sqrt(h2);
        left = std::max(area.left(), int(std::ceil(cx - h - 0.5)));
        right = std::min(area.right(), int(std::floor(cx + h - 0.5)));
        return left <= right;
    }
};

} // namespace

QRegion diskRegion(const QRect &square, double radiusChange, const QRect &area)
{
    const Circle disk(square, radiusChange);
    if (disk.r <= 0)
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
    if (outer.r <= 0)
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
