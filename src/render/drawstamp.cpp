// SPDX-License-Identifier: MIT
#include "drawstamp.h"

#include "circleregion.h"
#include "fontmeasures.h"
#include "framegeometry.h"
#include "model/warning.h"
#include "stampfonts.h"
#include "stampsurface.h"
#include "textplacement.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <stdexcept>

namespace pellimo {

namespace {

// A value the surface cannot honour: a pen narrower than one pixel, a font size out of range.
struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const StampFontMeasures &selectItemFont(QPainter &painter, const StampItem &item)
{
    // Size first, then face, weight and slant; only the size can be refused.
    if (!isAcceptedFontSize(item.fontSize))
        throw Refused("font size out of range");
    return selectStampFont(painter, item.fontName, item.fontSize, item.bold, item.italic);
}

MeasuredText measure(const StampFontMeasures &font, const QString &text)
{
    return {font.horizontalAdvance(text), font.lineSpacing()};
}

// Draws the text with the top-left corner of its line box at pos; only the glyphs are painted.
void drawTextAt(QPainter &painter, const StampFontMeasures &font, QPoint pos, const QString &text)
{
    if (text.isEmpty())
        return;
    painter.drawText(QPointF(pos.x(), pos.y() + font.ascent()), text);
}

void drawCentredItem(QPainter &painter, const StampItem &item, int W, int bandTop, int bandBottom)
{
    const StampFontMeasures &font = selectItemFont(painter, item);
    const QPoint pos = placeCentredLine(W, bandTop, bandBottom, measure(font, item.text),
                                        item.offsetX, item.offsetY);
    drawTextAt(painter, font, pos, item.text);
}

void drawNameRow(QPainter &painter, const StampItem &name1, const StampItem &name2, int W,
                 int bandTop, int bandBottom)
{
    // Name 2 is measured first, in its own font; its font gives the same sizes when it is
    // selected again to draw it.
    const MeasuredText name2Size = measure(selectItemFont(painter, name2), name2.text);
    const StampFontMeasures &font1 = selectItemFont(painter, name1);
    const Name1Placement first = placeName1(W, bandTop, bandBottom, measure(font1, name1.text),
                                            name2Size.width, name1.offsetX, name1.offsetY);
    drawTextAt(painter, font1, first.position, name1.text);

    const StampFontMeasures &font2 = selectItemFont(painter, name2);
    const QPoint pos =
        placeName2(bandTop, bandBottom, first, name2Size, name2.offsetX, name2.offsetY);
    drawTextAt(painter, font2, pos, name2.text);
}

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

void drawAll(QImage &picBase, const StampProfile &profile)
{
    if (picBase.isNull())
        throw Refused("no surface to draw on");
    if (picBase.format() != QImage::Format_RGB32)
        picBase = picBase.convertToFormat(QImage::Format_RGB32);

    limitStampFontMeasures();
    // A white surface.
    picBase.fill(Qt::white);
    // The circle's bounding square, centred on the drawing area.
    FrameGeometry g = frameSquare(picBase.width(), picBase.height(), profile.radius);
    // One colour for the circle, the band lines and the texts; the pen width for the lines.
    if (profile.lineWidth < 1)
        throw Refused("pen width below one pixel");
    const QColor colour = stampColour(profile.colour);
    // The outline, centred on the circle and not cut by the clip that follows.
    const QRect square = QRect(g.L, g.T, g.D, g.D).normalized();
    const CircleShapes &circle = circleShapes(square, profile.lineWidth, picBase.rect());
    fillRects(picBase, circle.outline, colour.rgb());

    QPainter painter(&picBase);
    if (!painter.isActive())
        throw Refused("the surface cannot be painted");
    painter.setPen(QPen(colour, profile.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    // Everything after this is clipped to the inside of the circle.
    painter.setClipRegion(circle.inside);
    // The band lines, across the whole width; the clip leaves the chords.
    addBandLines(g, profile.topAreaPercent, profile.bottomAreaPercent);
    painter.drawLine(QPointF(0, g.Y1), QPointF(g.W, g.Y1));
    painter.drawLine(QPointF(0, g.Y2), QPointF(g.W, g.Y2));
    // The texts: organisation, date, then the name row.
    drawCentredItem(painter, profile.items[0], g.W, g.T, g.Y1);
    drawCentredItem(painter, profile.items[1], g.W, g.Y1, g.Y2);
    drawNameRow(painter, profile.items[2], profile.items[3], g.W, g.Y2, g.B);
    painter.end();

    // A circle with no inside, or one that leaves the drawing area, gives no stamp: at best a
    // white square (8 x 8 for radius 0, 4 008 x 4 008 for radius 2 000). It is drawn as far as it
    // goes, as any other value, and then counts as a failed drawing.
    if (g.D < 1 || g.L < 0 || g.T < 0 || g.R > g.W || g.B > g.H)
        throw Refused("the circle does not fit the drawing area");
}

} // namespace

QString drawWarningText(int16_t currentUser)
{
    return joinMessageLines({
        QStringLiteral(u"印面描画中にエラーが発生しました。"),
        QStringLiteral(u"user0") + QString::number(currentUser) +
            QStringLiteral(u".dat のデータに問題があると思われます。"),
        QStringLiteral(u"描画処理を中断します。"),
        QStringLiteral(u"現在の印面は正しく表示されていません。"),
    });
}

bool drawStamp(QImage &picBase, const StampProfile &profile, int16_t currentUser)
{
    try {
        drawAll(picBase, profile); // the painter has ended when the warning shows
        return true;
    } catch (const std::exception &) {
        showWarning(drawWarningText(currentUser));
        return false;
    }
}

} // namespace pellimo
