// SPDX-License-Identifier: MIT
#include "stampvector.h"

#include "cutout.h"
#include "drawstamp.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace pellimo {

namespace {

constexpr int kPdfDpi = 1200; // QPdfWriter's device resolution; the output stays vector

QFont vectorFont(QFont font)
{
    // The raster draws without smoothing; on a vector surface the glyphs keep their outlines.
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

// The Set command's cut-out of the stamp, drawn on PicBase.
QImage clipboardBitmap(const StampGeometry &g)
{
    QImage picBase = makeSurface(g.area.width(), g.area.height());
    QImage cut;
    try {
        if (paintStampBitmap(picBase, g))
            cutOutStamp(picBase, int16_t(g.diameter / 2), cut);
    } catch (const std::exception &) {
        return {}; // the cut-out of a whole stamp on PicBase is never refused
    }
    return cut;
}

QByteArray pngFile(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

// The page size in millimetres of the picture whose circle is `diameterMm` across.
QSizeF pictureSizeMm(const StampGeometry &g, double diameterMm)
{
    const double side = diameterMm * g.side() / g.diameter;
    return {side, side};
}

} // namespace

void paintStamp(QPainter &painter, const StampGeometry &g, const QRectF &box)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / g.side(), box.height() / g.side());
    painter.translate(-g.pictureOrigin()); // from here on, the drawing area's stamp pixels
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);

    const QRectF square = g.squareOnArea();
    const QPointF centre = square.center();
    const double radius = g.diameter / 2.0;

    // The outline: the raster's ring of pixels whose centres lie within lineWidth / 2 outside the
    // circle and the rest of the width inside it.
    const int outside = g.lineWidth / 2;
    const double ringRadius = radius + outside - g.lineWidth / 2.0;
    painter.setPen(QPen(g.colour, g.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawEllipse(centre, ringRadius, ringRadius);

    // Band lines and texts are cut by the circle. The band lines are shapes cut to it, since not
    // every surface clips (an SVG does not). An aliased pen of odd width puts its spare pixel row
    // below the line's row.
    QPainterPath disk;
    disk.addEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(g.colour);
    const double penMiddle = g.lineWidth % 2 ? 0.5 : 0.0;
    for (const int row : {g.band1, g.band2}) {
        const double y = row + penMiddle;
        QPainterPath band;
        band.addRect(QRectF(square.left(), y - g.lineWidth / 2.0, square.width(), g.lineWidth));
        painter.drawPath(band.intersected(disk));
    }

    painter.setPen(g.colour);
    painter.setClipPath(disk, Qt::IntersectClip);
    for (const PlacedText &t : g.texts) {
        painter.setFont(vectorFont(t.font));
        painter.drawText(t.baseline, t.text);
    }
    painter.restore();
}

QImage stampImage(const StampGeometry &g, int scale, bool transparent)
{
    if (scale < 1)
        return {};
    const qint64 wide = qint64(g.side()) * scale;
    if (wide > 32768)
        return {};
    const auto side = static_cast<int>(wide);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    const int dotsPerMetre = int(3780 * scale); // 96 dpi times the scale
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(transparent ? Qt::transparent : Qt::white);
    QPainter painter(&image);
    paintStamp(painter, g, QRectF(0, 0, side, side));
    return image;
}

QByteArray stampPdf(const StampGeometry &g, double diameterMm)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Pellimo"));
        writer.setResolution(kPdfDpi);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(QPageSize(pictureSizeMm(g, diameterMm), QPageSize::Millimeter, QString(),
                                     QPageSize::ExactMatch));
        QPainter painter(&writer);
        if (!painter.isActive())
            return {};
        // The page may be rounded to whole points; the picture fills whatever page was made.
        paintStamp(painter, g, QRectF(0, 0, writer.width(), writer.height()));
    }
    return bytes;
}

QByteArray stampSvg(const StampGeometry &g, double diameterMm)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSizeF mm = pictureSizeMm(g, diameterMm);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setTitle(QStringLiteral("Pellimo"));
    // The drawing is in stamp pixels (the view box); the size is in micrometres, so that the
    // physical size written to the file keeps three decimals of a millimetre.
    svg.setViewBox(QRectF(0, 0, g.side(), g.side()));
    const int micrometres = int(std::lround(mm.width() * 1000));
    svg.setSize(QSize(micrometres, micrometres));
    svg.setResolution(25400);
    QPainter painter(&svg);
    if (!painter.isActive())
        return {};
    paintStamp(painter, g, QRectF(0, 0, g.side(), g.side()));
    painter.end();
    return bytes;
}

std::optional<PictureType> pictureTypeOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureType::Png;
    if (suffix == QLatin1String("svg"))
        return PictureType::Svg;
    if (suffix == QLatin1String("pdf"))
        return PictureType::Pdf;
    return std::nullopt;
}

QByteArray stampPictureFile(const StampGeometry &g, const PictureRequest &r)
{
    const double mm = r.diameterMm > 0 ? r.diameterMm : naturalDiameterMm(g);
    switch (r.type) {
    case PictureType::Png:
        return pngFile(r.scale == 1 && !r.transparent ? clipboardBitmap(g)
                                                      : stampImage(g, r.scale, r.transparent));
    case PictureType::Svg:
        return stampSvg(g, mm);
    case PictureType::Pdf:
        return stampPdf(g, mm);
    }
    return {};
}

} // namespace pellimo
