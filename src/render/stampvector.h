// SPDX-License-Identifier: MIT
#pragma once

#include "stampgeometry.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace pellimo {

// Draws the stamp onto any painter (a PDF page, an SVG, a high-resolution raster) with the stamp
// picture's side x side box mapped onto `box`: circle, band lines and texts, texts as text and no
// background, so that the paper shows through. Restores the painter's state.
void paintStamp(QPainter &painter, const StampGeometry &geometry, const QRectF &box);

// The stamp picture as a raster of scale x scale pixels per stamp pixel, smoothed: transparent, or
// on white. Null when it cannot be allocated.
QImage stampImage(const StampGeometry &geometry, int scale, bool transparent);

// A PDF document of one page holding only the stamp picture, the circle `diameterMm` across; texts
// stay text. Empty when Qt could not write it.
QByteArray stampPdf(const StampGeometry &geometry, double diameterMm);

// An SVG document of the stamp picture, the circle `diameterMm` across.
QByteArray stampSvg(const StampGeometry &geometry, double diameterMm);

// The stamp as a picture file: PNG, SVG or PDF.
enum class PictureType { Png, Svg, Pdf };

// The type a file name asks for by its suffix (.png, .svg, .pdf, in any case); nothing for
// another suffix.
std::optional<PictureType> pictureTypeOf(const QString &path);

struct PictureRequest {
    PictureType type = PictureType::Png;
    int scale = 1;            // PNG: pixels per stamp pixel
    bool transparent = false; // PNG: without the white background
    double diameterMm = 0;    // SVG, PDF: the circle's diameter on paper; 0 for its 96-dpi size
};

// The bytes of the picture file. The PNG at scale 1 on white is the Set command's cut-out, pixel
// for pixel; a larger or transparent one is drawn smooth; SVG and PDF keep the texts as text and
// have no background. Empty when it cannot be made (a PNG too large to allocate, a document Qt
// could not write).
QByteArray stampPictureFile(const StampGeometry &geometry, const PictureRequest &request);

} // namespace pellimo
