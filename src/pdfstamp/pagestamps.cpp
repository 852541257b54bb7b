// SPDX-License-Identifier: MIT
#include "pagestamps.h"

#include "annotationrules.h"
#include "openedpdf.h"
#include "outputfile.h"
#include "render/stampvector.h"
#include "stampannotation.h"
#include "stampedcopy.h"
#include "stampfit.h"

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
    if (PdfResult r = checkOutputIsNotInput(in, out); !r)
        return r;
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
            PageFrame frame;
            if (PdfResult r = readPageFrame(*o, number, frame); !r)
                return r;
            const PdfStampPlace place{
                number, stampCornerOnPage(plan, frame.viewSize() / kPointsPerMm), plan.diameterMm};
            QRectF picture;
            if (PdfResult r = fitStamp(frame, place, geometry, picture); !r)
                return r;
            auto form = forms.find(frame.rotation);
            if (form == forms.end())
                form = forms.emplace(frame.rotation, stampForm(pdf, *stampDocument, frame.rotation))
                           .first;
            const QPDFObjectHandle annotation = stampAnnotation(
                pdf, page, form->second, userSpaceRect(frame, picture), record, geometry);
            const QPDFObjectHandle object = addAnnotationToPage(page, annotation, changedArrays);
            if (std::none_of(changed.begin(), changed.end(),
                             [&](const QPDFObjectHandle &c) { return c.isSameObjectAs(object); }))
                changed.push_back(object);
        }
        return writeStampedCopy(*o, changed, firstNew, out);
    } catch (const std::exception &e) {
        return refusal(QCoreApplication::translate("pellimo", "%1 cannot be stamped: %2")
                           .arg(pdf::displayName(in), QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
