// SPDX-License-Identifier: MIT
#include "stampgeometry.h"

#include "render/framegeometry.h"
#include "render/stampfonts.h"
#include "render/stampsurface.h"
#include "render/textplacement.h"

#include <QFontMetricsF>
#include <QImage>

namespace pellimo {

namespace {

constexpr double kSurfaceDpi = 96; // PicBase's resolution: what one stamp pixel is on paper

// Fonts are measured on a 96-dpi raster, as drawStamp measures them on PicBase.
struct Measurer {
    QImage surface = makeSurface(1, 1);

    QFont font(const StampItem &item) const
    {
        if (!isAcceptedFontSize(item.fontSize))
            throw StampGeometryError("font size out of range");
        return stampFont(item.fontName, item.fontSize, item.bold, item.italic);
    }
    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, &surface); }
    MeasuredText measure(const QFont &font, const QString &text) const
    {
        const QFontMetricsF m = metrics(font);
        return {m.horizontalAdvance(text), m.lineSpacing()};
    }
};

} // namespace

StampGeometry stampGeometry(const StampProfile &profile)
{
    if (profile.radius < 1)
        throw StampGeometryError("radius below one pixel");
    if (profile.lineWidth < 1)
        throw StampGeometryError("pen width below one pixel");

    // The frame on PicBase, so that every rounding is the raster's own.
    FrameGeometry f = frameSquare(kPicBaseSize, kPicBaseSize, profile.radius);
    addBandLines(f, profile.topAreaPercent, profile.bottomAreaPercent);

    StampGeometry g;
    g.diameter = f.D;
    g.margin = kCropMargin;
    g.lineWidth = profile.lineWidth;
    g.colour = stampColour(profile.colour);
    // Picture coordinates: PicBase's minus the cut-out's top-left corner.
    const double dx = double(g.margin) - f.L;
    const double dy = double(g.margin) - f.T;
    // An aliased pen of odd width puts its spare pixel row below the line's y.
    const double penMiddle = g.lineWidth % 2 ? 0.5 : 0.0;
    g.band1 = f.Y1 + dy + penMiddle;
    g.band2 = f.Y2 + dy + penMiddle;

    const Measurer m;
    auto place = [&](const StampItem &item, const QFont &font, QPoint topLeft) {
        if (item.text.isEmpty())
            return;
        const double ascent = m.metrics(font).ascent();
        g.texts.append({item.text, font, QPointF(topLeft.x() + dx, topLeft.y() + ascent + dy)});
    };

    for (int i = 0; i < 2; ++i) {
        const StampItem &item = profile.items[size_t(i)];
        const QFont font = m.font(item);
        const int top = i == 0 ? f.T : f.Y1;
        const int bottom = i == 0 ? f.Y1 : f.Y2;
        place(item, font,
              placeCentredLine(f.W, top, bottom, m.measure(font, item.text), item.offsetX,
                               item.offsetY));
    }

    const StampItem &name1 = profile.items[2];
    const StampItem &name2 = profile.items[3];
    const QFont font2 = m.font(name2);
    const MeasuredText name2Size = m.measure(font2, name2.text);
    const QFont font1 = m.font(name1);
    const Name1Placement first = placeName1(f.W, f.Y2, f.B, m.measure(font1, name1.text),
                                            name2Size.width, name1.offsetX, name1.offsetY);
    place(name1, font1, first.position);
    place(name2, font2, placeName2(f.Y2, f.B, first, name2Size, name2.offsetX, name2.offsetY));
    return g;
}

double naturalDiameterMm(const StampGeometry &geometry)
{
    return geometry.diameter * 25.4 / kSurfaceDpi;
}

} // namespace pellimo
