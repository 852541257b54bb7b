// SPDX-License-Identifier: MIT
#include "stampgeometry.h"

#include "fontmeasures.h"
#include "stampfonts.h"
#include "textplacement.h"

namespace pellimo {

namespace {

constexpr double kSurfaceDpi = 96; // PicBase's resolution: what one stamp pixel is on paper

// A value the drawing cannot honour: a pen narrower than one pixel, a font size out of range.
struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const StampFontMeasures &itemFont(const StampItem &item)
{
    // Size first, then face, weight and slant; only the size can be refused.
    if (!isAcceptedFontSize(item.fontSize))
        throw Refused("font size out of range");
    return stampFontMeasures(item.fontName, item.fontSize, item.bold, item.italic);
}

MeasuredText measure(const StampFontMeasures &font, const QString &text)
{
    return {font.horizontalAdvance(text), font.lineSpacing()};
}

// The text with the top-left corner of its line box at `topLeft`; an empty text leaves no mark.
void place(StampGeometry &g, const StampFontMeasures &font, QPoint topLeft, const QString &text)
{
    if (!text.isEmpty())
        g.texts.append({text, font.font(), QPointF(topLeft.x(), topLeft.y() + font.ascent())});
}

void placeCentredItem(StampGeometry &g, const StampItem &item, int bandTop, int bandBottom)
{
    const StampFontMeasures &font = itemFont(item);
    place(g, font,
          placeCentredLine(g.area.width(), bandTop, bandBottom, measure(font, item.text),
                           item.offsetX, item.offsetY),
          item.text);
}

void placeNameRow(StampGeometry &g, const StampItem &name1, const StampItem &name2, int bandTop,
                  int bandBottom)
{
    // Name 2 is measured first, in its own font; name 1 is placed before name 2, so that a
    // failure placing name 2 leaves name 1 on the stamp.
    const MeasuredText name2Size = measure(itemFont(name2), name2.text);
    const StampFontMeasures &font1 = itemFont(name1);
    const Name1Placement first =
        placeName1(g.area.width(), bandTop, bandBottom, measure(font1, name1.text), name2Size.width,
                   name1.offsetX, name1.offsetY);
    place(g, font1, first.position, name1.text);
    const StampFontMeasures &font2 = itemFont(name2);
    place(g, font2, placeName2(bandTop, bandBottom, first, name2Size, name2.offsetX, name2.offsetY),
          name2.text);
}

void layOut(StampGeometry &g, const StampProfile &profile)
{
    limitStampFontMeasures();
    // The circle's bounding square, centred on the drawing area.
    FrameGeometry f = frameSquare(g.area.width(), g.area.height(), profile.radius);
    // One colour for the circle, the band lines and the texts; the pen width for the lines.
    if (profile.lineWidth < 1)
        throw Refused("pen width below one pixel");
    g.left = f.L;
    g.top = f.T;
    g.diameter = f.D;
    g.lineWidth = profile.lineWidth;
    g.colour = stampColour(profile.colour);
    g.hasCircle = true;

    addBandLines(f, profile.topAreaPercent, profile.bottomAreaPercent);
    g.band1 = f.Y1;
    g.band2 = f.Y2;
    g.hasBands = true;

    placeCentredItem(g, profile.items[0], f.T, f.Y1);
    placeCentredItem(g, profile.items[1], f.Y1, f.Y2);
    placeNameRow(g, profile.items[2], profile.items[3], f.Y2, f.B);

    // A circle with no inside, or one that leaves the drawing area, gives no stamp: at best a
    // white square (8 x 8 for radius 0, 4 008 x 4 008 for radius 2 000). It is laid out as far as
    // it goes, as any other value, and then counts as a failure.
    if (f.D < 1 || f.L < 0 || f.T < 0 || f.R > f.W || f.B > f.H)
        throw Refused("the circle does not fit the drawing area");
}

} // namespace

StampGeometry layOutStamp(const StampProfile &profile, QSize area)
{
    StampGeometry g;
    g.area = area;
    try {
        layOut(g, profile);
    } catch (const std::exception &e) {
        g.failure = QString::fromUtf8(e.what());
    }
    return g;
}

StampGeometry stampGeometry(const StampProfile &profile)
{
    StampGeometry g = layOutStamp(profile);
    if (!g.complete())
        throw StampGeometryError(g.failure.toStdString());
    return g;
}

double naturalDiameterMm(const StampGeometry &geometry)
{
    return geometry.diameter * 25.4 / kSurfaceDpi;
}

} // namespace pellimo
