// SPDX-License-Identifier: MIT
#include "stampedcopy.h"

#include "objectencryption.h"
#include "outputfile.h"
#include "pdfrewrite.h"
#include "qpdfaccess.h"
#include "updatesection.h"

#include <algorithm>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

} // namespace

QPDFObjectHandle addAnnotationToPage(QPDFObjectHandle page, QPDFObjectHandle annotation,
                                     std::vector<QPDFObjGen> &changedArrays)
{
    QPDFObjectHandle annots = pdf::keyOf(page, "/Annots");
    if (annots.isArray()) {
        const bool shared =
            annots.isIndirect() && std::find(changedArrays.begin(), changedArrays.end(),
                                             annots.getObjGen()) != changedArrays.end();
        if (!shared) {
            annots.appendItem(annotation);
            if (annots.isIndirect()) {
                changedArrays.push_back(annots.getObjGen());
                return annots;
            }
            return page;
        }
        std::vector<QPDFObjectHandle> items = annots.getArrayAsVector();
        items.push_back(annotation);
        // The shared array now ends with the other page's stamp: leave it out of this copy.
        items.erase(items.end() - 2);
        page.replaceKey("/Annots", QPDFObjectHandle::newArray(items));
        return page;
    }
    page.replaceKey("/Annots", QPDFObjectHandle::newArray(std::vector{annotation}));
    return page;
}

PdfResult writeStampedCopy(OpenedPdf &o, const std::vector<QPDFObjectHandle> &changed, int firstNew,
                           const QString &out)
{
    QPDF &pdf = *o.pdf;
    pdf::OutputFile file;
    QString error;
    if (o.repaired) {
        if (!file.open(out, error) || !pdf::rewritePdf(pdf, file, error) || !file.commit(error))
            return refusal(error);
        return {{}, repairedNotice(o)};
    }
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
    for (const QPDFObjectHandle &object : changed)
        section.addChanged(object, firstNew);
    const std::string update = section.write();
    if (!file.open(out, error) || !file.copyFrom(o.fd, o.size, error) ||
        !file.append(update, error) || !file.commit(error))
        return refusal(error);
    return {};
}

} // namespace pellimo
