// SPDX-License-Identifier: MIT
#include "drawstamp.h"

#include "circleregion.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>

namespace pellimo {

namespace {

// The circle's outline and inside depend on the square, the pen width and the surface alone. The
// last ones are kept: the redraw after an edit of a text or an offset needs the same again.
struct CircleShapes {
    bool made = false;
    QRect square;
    int lineWidth = 0;
    QRect area;
    QList<QRect> outline;
    QRegion inside;
};

const CircleShapes &circleShapes(const QRect &square, int lineWidth, const QRect &area)
{
    thread_local CircleShapes last;
    if (!last.made || last.square != square || last.lineWidth != lineWidth || last.area != area) {
        last.made = false; // stays false if making them throws
        last.outline = outlineRects(square, lineWidth, area);
        last.inside = diskRegion(square, 0, area);
        last.square = square;
        last.lineWidth = lineWidth;
        last.area = area;
        last.made = true;
    }
    return last;
}

// Paints the rectangles straight into the raster, before any painter holds it.
void fillRects(QImage &image, const QList<QRect> &rects, QRgb colour)
{
    for (const QRect &r : rects) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(r.y()));
        std::fill(line + r.left(), line + r.right() + 1, colour);
    }
}

} // namespace

bool paintStampBitmap(QImage &picBase, const StampGeometry &g)
{
    if (picBase.isNull())
        return false;
    if (picBase.format() != QImage::Format_RGB32)
        picBase = picBase.convertToFormat(QImage::Format_RGB32);
    picBase.fill(Qt::white);
    if (!g.hasCircle)
        return false;
    // The outline, centred on the circle and not cut by the clip that follows.
    const CircleShapes &circle = circleShapes(g.squareOnArea(), g.lineWidth, picBase.rect());
    fillRects(picBase, circle.outline, g.colour.rgb());

    QPainter painter(&picBase);
    if (!painter.isActive())
        return false;
    painter.setPen(QPen(g.colour, g.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    // Everything after this is clipped to the inside of the circle.
    painter.setClipRegion(circle.inside);
    // The band lines, across the whole width; the clip leaves the chords.
    if (g.hasBands) {
        painter.drawLine(QPointF(0, g.band1), QPointF(picBase.width(), g.band1));
        painter.drawLine(QPointF(0, g.band2), QPointF(picBase.width(), g.band2));
    }
    for (const PlacedText &t : g.texts) {
        painter.setFont(t.font);
        painter.drawText(t.baseline, t.text);
    }
    return g.complete();
}

bool drawStamp(QImage &picBase, const StampProfile &profile)
{
    if (picBase.isNull())
        return false;
    return paintStampBitmap(picBase, layOutStamp(profile, picBase.size()));
}

} // namespace pellimo
