// SPDX-License-Identifier: MIT
#pragma once

#include "stampgeometry.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace pellimo {

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
