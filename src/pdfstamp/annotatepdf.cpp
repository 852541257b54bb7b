// SPDX-License-Identifier: MIT
// stampPdfFile: the stamp as a Stamp annotation, appended to the input as an incremental update
// (updatesection.h), or, when the input needed repairs to be read, written into a rewritten copy.

#include "objectencryption.h"
#include "openedpdf.h"
#include "outputfile.h"
#include "pdfrewrite.h"
#include "pdfsignatures.h"
#include "qpdfaccess.h"
#include "render/stampvector.h"
#include "stampannotation.h"
#include "stampfit.h"
#include "updatesection.h"

#include <QCoreApplication>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

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

// The page's annotations with the new one added; returns the object that changed: the /Annots
// array when it is an object of its own, else the page.
QPDFObjectHandle addToPage(QPDFObjectHandle page, QPDFObjectHandle annotation)
{
    QPDFObjectHandle annots = pdf::keyOf(page, "/Annots");
    if (annots.isArray()) {
        annots.appendItem(annotation);
        return annots.isIndirect() ? annots : page;
    }
    page.replaceKey("/Annots", QPDFObjectHandle::newArray(std::vector{annotation}));
    return page;
}

PdfResult writeUpdate(OpenedPdf &o, QPDFObjectHandle changed, int firstNew, const QString &out)
{
    QPDF &pdf = *o.pdf;
    pdf::UpdateBase base;
    base.size = o.size;
    base.endsWithEol = o.endsWithEol;
    base.prevXref = o.chain.startxref;
    base.xrefStream = o.chain.lastIsStream;
    base.trailer = pdf.getTrailer();
    QPDFObjectHandle size = pdf::keyOf(base.trailer, "/Size");
    base.firstFreeNumber = std::max<int>(
        firstNew,
        size.isInteger() ? int(std::clamp<long long>(size.getIntValue(), 1, INT32_MAX / 2)) : 1);
    const std::optional<pdf::ObjectEncryptor> encryptor = pdf::ObjectEncryptor::forDocument(pdf);
    pdf::UpdateSection section(base, encryptor ? &*encryptor : nullptr);
    section.addChanged(changed, firstNew);
    const std::string update = section.write();

    pdf::OutputFile file;
    QString error;
    if (!file.open(out, error) || !file.copyFrom(o.fd, o.size, error) ||
        !file.append(update, error) || !file.commit(error))
        return refusal(error);
    return {};
}

} // namespace

PdfResult stampPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry, const PdfStampRecord &record)
{
    PdfInput input(in);
    return stampPdfFile(input, out, place, geometry, record);
}

PdfResult stampPdfFile(PdfInput &reading, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry, const PdfStampRecord &record)
{
    if (pdf::sameFile(reading.path(), out))
        return refusal(QCoreApplication::translate(
            "pellimo", "the output file is the input file; choose another name (the input is "
                       "never changed)"));
    if (PdfResult r = checkStampSize(place.diameterMm); !r)
        return r;
    try {
        // The input is read on its thread while Qt draws the stamp page on this one.
        const QByteArray stampBytes = stampPdf(geometry, place.diameterMm);
        const std::unique_ptr<OpenedPdf> o = reading.take();
        if (!o->status)
            return o->status;
        if (PdfResult r = checkPageNumber(*o, place.page); !r)
            return r;
        if (PdfResult r = checkAnnotationsAllowed(*o); !r)
            return r;
        QPDFObjectHandle page = o->pages[size_t(place.page - 1)];
        QString problem;
        const std::optional<PageFrame> frame = pageFrame(page, problem);
        if (!frame)
            return refusal(
                QCoreApplication::translate("pellimo", "page %1 of %2 cannot be stamped: %3")
                    .arg(place.page)
                    .arg(o->name, problem));
        QRectF picture;
        if (PdfResult r = fitStamp(*frame, place, geometry, picture); !r)
            return r;
        if (stampBytes.isEmpty())
            return refusal(
                QCoreApplication::translate("pellimo", "the stamp could not be drawn as PDF"));

        QPDF &pdf = *o->pdf;
        const int firstNew = int(pdf.getObjectCount()) + 1;
        const std::unique_ptr<QPDF> stampPage = readStampPage(stampBytes);
        const QPDFObjectHandle form = stampForm(pdf, *stampPage, frame->rotation);
        const QPDFObjectHandle annotation =
            stampAnnotation(pdf, page, form, userSpaceRect(*frame, picture), record, geometry);
        const QPDFObjectHandle changed = addToPage(page, annotation);
        if (!o->repaired)
            return writeUpdate(*o, changed, firstNew, out);

        pdf::OutputFile file;
        QString error;
        if (!file.open(out, error) || !pdf::rewritePdf(pdf, file, error) || !file.commit(error))
            return refusal(error);
        return {{}, repairedNotice(*o)};
    } catch (const std::exception &e) {
        return refusal(QCoreApplication::translate("pellimo", "%1 cannot be stamped: %2")
                           .arg(pdf::displayName(reading.path()), QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
