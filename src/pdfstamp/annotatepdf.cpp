// SPDX-License-Identifier: MIT
// stampPdfFile: the stamp as a Stamp annotation, appended to the input as an incremental update
// (updatesection.h), or, when the input needed repairs to be read, written into a rewritten copy.

#include "annotationrules.h"
#include "openedpdf.h"
#include "outputfile.h"
#include "pdfsignatures.h"
#include "render/stampvector.h"
#include "stampannotation.h"
#include "stampedcopy.h"
#include "stampfit.h"

#include <QCoreApplication>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

} // namespace

// What the document itself allows: the permissions of its encryption, a certifying signature.
PdfResult checkAnnotationsAllowed(OpenedPdf &o)
{
    QPDF &pdf = *o.pdf;
    if (pdf.isEncrypted() && !pdf.allowModifyAnnotation())
        return refusal(QCoreApplication::translate(
                           "pellimo",
                           "%1 is protected: its permissions do not allow adding annotations such "
                           "as a stamp")
                           .arg(o.name));
    if (const int p = pdf::certifiedPermission(pdf); p == 1 || p == 2)
        return refusal(QCoreApplication::translate(
                           "pellimo",
                           "%1 is certified by a signature (%2) that allows no annotations; a "
                           "stamp would break it")
                           .arg(o.name, signatureNames(o)));
    if (o.repaired) {
        if (const QString signatures = signatureNames(o); !signatures.isEmpty())
            return refusal(QCoreApplication::translate(
                               "pellimo",
                               "%1 is damaged (%2) and signed (%3): a repaired copy would break "
                               "the signature, so it is not stamped")
                               .arg(o.name, o.damage, signatures));
    }
    return {};
}

PdfResult stampPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry, const PdfStampRecord &record)
{
    PdfInput input(in);
    return stampPdfFile(input, out, place, geometry, record);
}

PdfResult stampPdfFile(PdfInput &reading, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry, const PdfStampRecord &record)
{
    if (PdfResult r = checkOutputIsNotInput(reading.path(), out); !r)
        return r;
    if (PdfResult r = checkStampSize(place.diameterMm); !r)
        return r;
    try {
        // The input is read on its thread while Qt draws the stamp page on this one.
        const QByteArray stampBytes = stampPdf(geometry, place.diameterMm);
        const std::unique_ptr<OpenedPdf> o = reading.take();
        if (!o->status)
            return o->status;
        if (PdfResult r = checkAnnotationsAllowed(*o); !r)
            return r;
        PageFrame frame;
        QRectF picture;
        if (PdfResult r = placeStamp(*o, place, geometry, frame, picture); !r)
            return r;
        QPDFObjectHandle page = o->pages[size_t(place.page - 1)];
        if (stampBytes.isEmpty())
            return refusal(
                QCoreApplication::translate("pellimo", "the stamp could not be drawn as PDF"));

        QPDF &pdf = *o->pdf;
        const int firstNew = int(pdf.getObjectCount()) + 1;
        const std::unique_ptr<QPDF> stampPage = readStampPage(stampBytes);
        const QPDFObjectHandle form = stampForm(pdf, *stampPage, frame.rotation);
        const QPDFObjectHandle annotation =
            stampAnnotation(pdf, page, form, userSpaceRect(frame, picture), record, geometry);
        std::vector<QPDFObjGen> changedArrays;
        return writeStampedCopy(*o, {addAnnotationToPage(page, annotation, changedArrays)},
                                firstNew, out);
    } catch (const std::exception &e) {
        return refusal(QCoreApplication::translate("pellimo", "%1 cannot be stamped: %2")
                           .arg(pdf::displayName(reading.path()), QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
