// SPDX-License-Identifier: MIT
#include "stamppicture.h"

#include "cutout.h"
#include "drawstamp.h"
#include "stampvector.h"

#include <QBuffer>
#include <QFileInfo>

namespace pellimo {

namespace {

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

} // namespace

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
