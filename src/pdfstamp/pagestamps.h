// SPDX-License-Identifier: MIT
#pragma once

// The stamp on several pages of a file at once, placed from any corner of each page: one
// annotation per page, all in one incremental update. Made for stamping many files in a row: the
// stamp's picture is drawn once by the caller and handed to each file.

#include "pdfstamp.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <optional>
#include <vector>

namespace pellimo {

// The corner of the page as shown from which a place is measured.
enum class PageCorner { TopLeft, TopRight, BottomLeft, BottomRight };

// "top-left", "top-right", "bottom-left", "bottom-right"; nothing for another word.
std::optional<PageCorner> pageCornerNamed(const QString &name);

// Pages chosen by the user: the first, the last, all, or numbers and ranges ("1,3-5").
struct PageChoice {
    enum class Kind { First, Last, All, Numbers };
    Kind kind = Kind::First;
    QList<QPair<int, int>> ranges; // Numbers: first and last page of each range, from 1
};

// "first", "last", "all" or a list such as "1,3-5"; nothing when the text is none of them.
std::optional<PageChoice> parsePageChoice(const QString &text);

// The pages of a document of `pageCount` pages that `choice` names, ascending, each once. A
// refusal names the file (`name`) and its page count when a page named does not exist.
PdfResult choosePages(const PageChoice &choice, int pageCount, const QString &name,
                      std::vector<int> &pages);

// Where the stamp goes on each chosen page.
struct PdfStampPlan {
    PageChoice pages;
    // The stamp's square, measured from `corner` to the square's corner on the same side, in
    // millimetres; unset: kDefaultStampInsetMm from both edges.
    std::optional<QPointF> atMm;
    // Unset: the top-left corner when atMm is set, else the top-right one (the default place).
    std::optional<PageCorner> corner;
    double diameterMm = 0;
};

// The place of the stamp on a page `pageMm` large (as shown), measured from its top-left corner.
QPointF stampCornerOnPage(const PdfStampPlan &plan, QSizeF pageMm);

// stampPdfFile for the pages of the plan: `in` byte for byte, followed by one update adding one
// annotation on each chosen page. `stampPage` is stampPdf(geometry, plan.diameterMm), drawn once
// for many files (empty: drawn here). Refuses as stampPdfFile does, and when the stamp does not
// fit on one of the pages (nothing is written then).
PdfResult stampPdfPages(const QString &in, const QString &out, const PdfStampPlan &plan,
                        const StampGeometry &geometry, const QByteArray &stampPage,
                        const PdfStampRecord &record = {});

} // namespace pellimo
