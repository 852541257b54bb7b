// SPDX-License-Identifier: MIT
// flattenPdfFile: the stamp drawn into the page content, the whole file rewritten by qpdf.

#include "contentbalance.h"
#include "openedpdf.h"
#include "outputfile.h"
#include "pdflimits.h"
#include "pdfrewrite.h"
#include "qpdfaccess.h"
#include "render/stampvector.h"
#include "stampannotation.h"
#include "stampfit.h"

#include <QCoreApplication>
#include <qpdf/QPDFPageObjectHelper.hh>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

// The page's own resources, with the form under a name of its own. Resources the page inherits
// or shares with other pages are copied first, so that no other page changes.
std::string addForm(QPDFObjectHandle page, QPDFObjectHandle form)
{
    QPDFObjectHandle inherited = inheritedAttribute(page, "/Resources");
    QPDFObjectHandle resources =
        inherited.isDictionary() ? inherited.shallowCopy() : QPDFObjectHandle::newDictionary();
    QPDFObjectHandle xobjects = pdf::keyOf(resources, "/XObject");
    xobjects = xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary();
    std::string name = "/Pellimo";
    for (int n = 1; xobjects.hasKey(name); ++n)
        name = "/Pellimo" + std::to_string(n);
    xobjects.replaceKey(name, form);
    resources.replaceKey("/XObject", xobjects);
    page.replaceKey("/Resources", resources);
    return name;
}

} // namespace

PdfResult flattenPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                         const StampGeometry &geometry)
{
    if (PdfResult r = checkOutputIsNotInput(in, out); !r)
        return r;
    if (PdfResult r = checkStampSize(place.diameterMm); !r)
        return r;
    try {
        const std::unique_ptr<OpenedPdf> o = openPdf(in);
        if (!o->status)
            return o->status;
        if (const QString signatures = signatureNames(*o); !signatures.isEmpty())
            return refusal(QCoreApplication::translate(
                               "pellimo",
                               "%1 is signed (%2): drawing the stamp into the page would break the "
                               "signature; add the stamp as an annotation instead")
                               .arg(o->name, signatures));
        QPDF &pdf = *o->pdf;
        if (pdf.isEncrypted() && !pdf.allowModifyOther())
            return refusal(
                QCoreApplication::translate(
                    "pellimo", "%1 is protected: its permissions do not allow changing its pages")
                    .arg(o->name));
        PageFrame frame;
        QRectF picture;
        if (PdfResult r = placeStamp(*o, place, geometry, frame, picture); !r)
            return r;
        QPDFObjectHandle page = o->pages[size_t(place.page - 1)];

        // The stamp is drawn after the page's content, from the state the page started with.
        const pdf::ContentBalance balance = pdf::contentBalance(page, pdf::kMaxContentBytes);
        if (balance.tooLarge)
            return refusal(
                QCoreApplication::translate(
                    "pellimo",
                    "%1 is larger than Pellimo reads (the content of page %2 unpacks to more than "
                    "%3 MiB)")
                    .arg(o->name)
                    .arg(place.page)
                    .arg(pdf::kMaxContentBytes / pdf::kMiB));
        const QByteArray stampBytes = stampPdf(geometry, place.diameterMm);
        if (stampBytes.isEmpty())
            return refusal(
                QCoreApplication::translate("pellimo", "the stamp could not be drawn as PDF"));
        const std::unique_ptr<QPDF> stampPage = readStampPage(stampBytes);
        const QPDFObjectHandle form = stampForm(pdf, *stampPage, frame.rotation);
        const std::string name = addForm(page, form);
        QPDFPageObjectHelper helper(page);
        const std::string placing =
            helper.placeFormXObject(form, name, userSpaceRect(frame, picture), false, true, true);
        // Saved states: one of ours, and as many more as the content restores beyond its own.
        const int64_t saves = 1 - balance.lowest;
        std::string before, after = "\n";
        for (int64_t i = 0; i < saves; ++i)
            before += "q\n";
        for (int64_t i = 0; i < saves + balance.end; ++i)
            after += "Q\n";
        helper.addPageContents(pdf.newStream(before), true);
        helper.addPageContents(pdf.newStream(after + placing), false);

        pdf::OutputFile file;
        QString error;
        if (!file.open(out, error) || !pdf::rewritePdf(pdf, file, error) || !file.commit(error))
            return refusal(error);
        return {{}, o->repaired ? repairedNotice(*o) : QString()};
    } catch (const std::exception &e) {
        return refusal(QCoreApplication::translate("pellimo", "%1 cannot be stamped: %2")
                           .arg(pdf::displayName(in), QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
