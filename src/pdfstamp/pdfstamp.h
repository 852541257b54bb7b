// SPDX-License-Identifier: MIT
#pragma once

#include "render/stampgeometry.h"

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <future>
#include <memory>
#include <optional>

namespace pellimo {

// Where the stamp goes: page (1-based) and the top-left corner of the circle's bounding square, in
// millimetres from the top-left corner of the page as a viewer shows it (rotation applied).
struct PdfStampPlace {
    int page = 1;
    std::optional<QPointF> atMm; // unset: kDefaultStampInsetMm from the top and right edges
    double diameterMm = 0;       // the circle's diameter on paper
};

inline constexpr double kDefaultStampInsetMm = 15;

// The default place of a stamp `diameterMm` across on a page `pageMm` large (as shown): its
// bounding square kDefaultStampInsetMm from the top and the right edge.
QPointF defaultStampCorner(QSizeF pageMm, double diameterMm);

// What a readable, unencrypted PDF holds, for choosing the place: the pages and the size of one,
// as a viewer shows it.
struct PdfPageInfo {
    int pageCount = 0;
    QSizeF pageMm;    // the requested page, rotation applied
    int rotation = 0; // 0, 90, 180 or 270, clockwise
};

// The outcome of reading or stamping: an error in words for the user, or nothing.
struct PdfResult {
    QString error;
    explicit operator bool() const { return error.isEmpty(); }
};

// Reads `in` and describes page `page` (1-based). A damaged or encrypted file, or a page out of
// range, gives the error.
PdfResult describePdfPage(const QString &in, int page, PdfPageInfo &info);

// Writes `out`: `in` with the stamp drawn over the content of the chosen page, upright as a viewer
// shows the page. `in` is only read; `out` is written atomically and only when everything worked.
// Refuses (and writes nothing) when `out` is `in`, when `in` is damaged or encrypted, when the page
// does not exist, or when the stamp does not lie wholly on the page.
PdfResult stampPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry);

struct OpenedPdf;

// A PDF read on a second thread from the moment this is made, so that reading it overlaps what the
// caller does meanwhile (reading the data files, measuring the stamp's fonts, drawing its page).
class PdfInput {
public:
    explicit PdfInput(const QString &in);
    ~PdfInput();
    PdfInput(const PdfInput &) = delete;
    PdfInput &operator=(const PdfInput &) = delete;

    const QString &path() const { return m_path; }
    // Waits for the reading; called once.
    std::unique_ptr<OpenedPdf> take();

private:
    QString m_path;
    std::future<std::unique_ptr<OpenedPdf>> m_reading;
};

// stampPdfFile with the input already being read.
PdfResult stampPdfFile(PdfInput &input, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry);

} // namespace pellimo
