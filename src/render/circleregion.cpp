#include "circleregion.h"

#include <QList>
#include <algorithm>
#include <cmath>

namespace pellimo {

QRegion diskRegion(const QRect &square, double radiusChange, const QRect &area)
{
    const double r = square.width() / 2.0 + radiusChange;
    if (square.isEmpty() || r <= 0)
        return {};
    const double cx = square.x() + square.width() / 2.0;
    const double cy = square.y() + square.height() / 2.0;
    // Rows whose pixel centres can lie inside.
    const int top = std::max(area.top(), int(std::floor(cy - r - 0.5)));
    const int bottom = std::min(area.bottom(), int(std::ceil(cy + r - 0.5)));
    QList<QRect> spans;
    for (int y = top; y <= bottom; ++y) {
        const double dy = y + 0.5 - cy;
        const double h2 = r * r - dy * dy;
        if (h2 < 0)
            continue;
        const double h = std::sqrt(h2);
        const int left = std::max(area.left(), int(std::ceil(cx - h - 0.5)));
        const int right = std::min(area.right(), int(std::floor(cx + h - 0.5)));
        if (left <= right)
            spans.append(QRect(left, y, right - left + 1, 1));
    }
    QRegion region;
    region.setRects(spans.constData(), int(spans.size()));
    return region;
}

QRegion outlineRegion(const QRect &square, int lineWidth, const QRect &area)
{
    const int outside = lineWidth / 2;
    const int inside = lineWidth - outside;
    return diskRegion(square, outside, area).subtracted(diskRegion(square, -inside, area));
}

} // namespace pellimo
