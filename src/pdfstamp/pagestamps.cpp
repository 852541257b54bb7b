// SPDX-License-Identifier: MIT
#include "pagestamps.h"

#include "annotationrules.h"
#include "objectencryption.h"
#include "openedpdf.h"
#include "outputfile.h"
#include "pdfrewrite.h"
#include "qpdfaccess.h"
#include "render/stampvector.h"
#include "stampannotation.h"
#include "stampfit.h"
#include "updatesection.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <map>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

// The page's annotations with `annotation` added; returns the object that changed: the /Annots
// array when it is an object of its own, else the page. An /Annots array that another page
// already changed (one array shared by two pages) is copied first, so that each stamp shows on
// its own page only.
QPDFObjectHandle addToPage(QPDFObjectHandle page, QPDFObjectHandle annotation,
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

PdfResult writeUpdate(OpenedPdf &o, const std::vector<QPDFObjectHandle> &changed, int firstNew,
                      const QString &out)
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
    for (const QPDFObjectHandle &object : changed)
        section.addChanged(object, firstNew);
    const std::string update = section.write();

    pdf::OutputFile file;
    QString error;
    if (!file.open(out, error) || !file.copyFrom(o.fd, o.size, error) ||
        !file.append(update, error) || !file.commit(error))
        return refusal(error);
    return {};
}

bool parsePageNumber(const QString &text, int &page)
{
    bool ok = false;
    page = QLocale::c().toInt(text, &ok);
    return ok && page >= 1;
}

} // namespace

std::optional<PageCorner> pageCornerNamed(const QString &name)
{
    static const std::map<QString, PageCorner> names = {
        {QStringLiteral("top-left"), PageCorner::TopLeft},
        {QStringLiteral("top-right"), PageCorner::TopRight},
        {QStringLiteral("bottom-left"), PageCorner::BottomLeft},
        {QStringLiteral("bottom-right"), PageCorner::BottomRight},
    };
    const auto found = names.find(name);
    if (found == names.end())
        return std::nullopt;
    return found->second;
}

std::optional<PageChoice> parsePageChoice(const QString &text)
{
    PageChoice choice;
    if (text == QStringLiteral("first"))
        return choice;
    if (text == QStringLiteral("last") || text == QStringLiteral("all")) {
        choice.kind =
            text == QStringLiteral("last") ? PageChoice::Kind::Last : PageChoice::Kind::All;
        return choice;
    }
    choice.kind = PageChoice::Kind::Numbers;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QStringList ends = part.split(QLatin1Char('-'));
        int from = 0, to = 0;
        if (ends.size() > 2 || !parsePageNumber(ends.constFirst(), from) ||
            !parsePageNumber(ends.constLast(), to) || to < from)
            return std::nullopt;
        choice.ranges.append({from, to});
    }
    return choice;
}

PdfResult choosePages(const PageChoice &choice, int pageCount, const QString &name,
                      std::vector<int> &pages)
{
    pages.clear();
    switch (choice.kind) {
    case PageChoice::Kind::First:
        pages = {1};
        break;
    case PageChoice::Kind::Last:
        pages = {pageCount};
        break;
    case PageChoice::Kind::All:
        for (int p = 1; p <= pageCount; ++p)
            pages.push_back(p);
        break;
    case PageChoice::Kind::Numbers:
        for (const auto &[from, to] : choice.ranges) {
            if (to > pageCount)
                return refusal(QCoreApplication::translate(
                                   "pellimo", "page %1 does not exist: %2 has %3 page(s)")
                                   .arg(std::max(from, pageCount + 1))
                                   .arg(name)
                                   .arg(pageCount));
            for (int p = from; p <= to; ++p)
                pages.push_back(p);
        }
        std::sort(pages.begin(), pages.end());
        pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
        break;
    }
    if (pageCount < 1 || pages.empty())
        return refusal(QCoreApplication::translate("pellimo", "%1 has no pages").arg(name));
    return {};
}

QPointF stampCornerOnPage(const PdfStampPlan &plan, QSizeF pageMm)
{
    const PageCorner corner =
        plan.corner.value_or(plan.atMm ? PageCorner::TopLeft : PageCorner::TopRight);
    const QPointF at = plan.atMm.value_or(QPointF(kDefaultStampInsetMm, kDefaultStampInsetMm));
    const bool right = corner == PageCorner::TopRight || corner == PageCorner::BottomRight;
    const bool bottom = corner == PageCorner::BottomLeft || corner == PageCorner::BottomRight;
    return {right ? pageMm.width() - at.x() - plan.diameterMm : at.x(),
            bottom ? pageMm.height() - at.y() - plan.diameterMm : at.y()};
}

PdfResult stampPdfPages(const QString &in, const QString &out, const PdfStampPlan &plan,
                        const StampGeometry &geometry, const QByteArray &stampPage,
                        const PdfStampRecord &record)
{
    if (pdf::sameFile(in, out))
        return refusal(QCoreApplication::translate(
            "pellimo", "the output file is the input file; choose another name (the input is "
                       "never changed)"));
    if (PdfResult r = checkStampSize(plan.diameterMm); !r)
        return r;
    try {
        const QByteArray stampBytes =
            stampPage.isEmpty() ? stampPdf(geometry, plan.diameterMm) : stampPage;
        if (stampBytes.isEmpty())
            return refusal(
                QCoreApplication::translate("pellimo", "the stamp could not be drawn as PDF"));
        const std::unique_ptr<OpenedPdf> o = openPdf(in);
        if (!o->status)
            return o->status;
        std::vector<int> pages;
        if (PdfResult r = choosePages(plan.pages, int(o->pages.size()), o->name, pages); !r)
            return r;
        if (PdfResult r = checkAnnotationsAllowed(*o); !r)
            return r;

        QPDF &pdf = *o->pdf;
        const int firstNew = int(pdf.getObjectCount()) + 1;
        const std::unique_ptr<QPDF> stampDocument = readStampPage(stampBytes);
        std::map<int, QPDFObjectHandle> forms; // one picture for each turn of the pages
        std::vector<QPDFObjectHandle> changed;
        std::vector<QPDFObjGen> changedArrays;
        for (const int number : pages) {
            QPDFObjectHandle page = o->pages[size_t(number - 1)];
            QString problem;
            const std::optional<PageFrame> frame = pageFrame(page, problem);
            if (!frame)
                return refusal(
                    QCoreApplication::translate("pellimo", "page %1 of %2 cannot be stamped: %3")
                        .arg(number)
                        .arg(o->name, problem));
            const PdfStampPlace place{
                number, stampCornerOnPage(plan, frame->viewSize() / kPointsPerMm), plan.diameterMm};
            QRectF picture;
            if (PdfResult r = fitStamp(*frame, place, geometry, picture); !r)
                return r;
            auto form = forms.find(frame->rotation);
            if (form == forms.end())
                form =
                    forms.emplace(frame->rotation, stampForm(pdf, *stampDocument, frame->rotation))
                        .first;
            const QPDFObjectHandle annotation = stampAnnotation(
                pdf, page, form->second, userSpaceRect(*frame, picture), record, geometry);
            const QPDFObjectHandle object = addToPage(page, annotation, changedArrays);
            if (std::none_of(changed.begin(), changed.end(),
                             [&](const QPDFObjectHandle &c) { return c.isSameObjectAs(object); }))
                changed.push_back(object);
        }
        if (!o->repaired)
            return writeUpdate(*o, changed, firstNew, out);

        pdf::OutputFile file;
        QString error;
        if (!file.open(out, error) || !pdf::rewritePdf(pdf, file, error) || !file.commit(error))
            return refusal(error);
        return {{}, repairedNotice(*o)};
    } catch (const std::exception &e) {
        return refusal(QCoreApplication::translate("pellimo", "%1 cannot be stamped: %2")
                           .arg(pdf::displayName(in), QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
