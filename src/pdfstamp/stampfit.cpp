// SPDX-License-Identifier: MIT
#include "stampfit.h"

#include "openedpdf.h"

#include <QCoreApplication>
#include <cmath>

namespace pellimo {

namespace {

// Millimetres for a message, readable even when the number is absurd.
QString mm(double value)
{
    return std::abs(value) < 1e6 ? QString::number(value, 'f', 1) : QString::number(value, 'g', 3);
}

} // namespace

QPointF defaultStampCorner(QSizeF pageMm, double diameterMm)
{
    return {pageMm.width() - kDefaultStampInsetMm - diameterMm, kDefaultStampInsetMm};
}

PdfResult checkStampSize(double diameterMm)
{
    if (!(diameterMm >= kMinStampDiameterMm))
        return {QCoreApplication::translate("pellimo",
                                            "the stamp must be at least %1 mm across to be read")
                    .arg(kMinStampDiameterMm),
                {}};
    return {};
}

PdfResult fitStamp(const PageFrame &frame, const PdfStampPlace &place,
                   const StampGeometry &geometry, QRectF &picture)
{
    // A square of negative size would pass the containment test below, turned inside out.
    if (PdfResult r = checkStampSize(place.diameterMm); !r)
        return r;
    const double squarePt = place.diameterMm * kPointsPerMm;
    const QSizeF viewMm = frame.viewSize() / kPointsPerMm;
    const QPointF cornerMm = place.atMm.value_or(defaultStampCorner(viewMm, place.diameterMm));
    const QRectF square(cornerMm * kPointsPerMm, QSizeF(squarePt, squarePt));
    if (!QRectF(QPointF(0, 0), frame.viewSize()).contains(square))
        return {
            QCoreApplication::translate(
                "pellimo", "the stamp (%1 mm at %2, %3 mm) does not fit on page %4 (%5 x %6 mm)")
                .arg(mm(place.diameterMm), mm(cornerMm.x()), mm(cornerMm.y()))
                .arg(place.page)
                .arg(mm(viewMm.width()), mm(viewMm.height())),
            {}};
    const double marginPt = squarePt * geometry.margin / geometry.diameter;
    picture = square.adjusted(-marginPt, -marginPt, marginPt, marginPt);
    return {};
}

PdfResult placeStamp(const OpenedPdf &o, const PdfStampPlace &place, const StampGeometry &geometry,
                     PageFrame &frame, QRectF &picture)
{
    if (PdfResult r = checkPageNumber(o, place.page); !r)
        return r;
    if (PdfResult r = readPageFrame(o, place.page, frame); !r)
        return r;
    return fitStamp(frame, place, geometry, picture);
}

} // namespace pellimo
