// SPDX-License-Identifier: MIT
#pragma once

// The stamp on a PDF page (libqpdf, headless). Three calls for the program and the dialog:
//   stampPdfFile    the stamp as a Stamp annotation, appended to IN as an incremental update
//   flattenPdfFile  the stamp drawn into the page content, the file rewritten
//   listPdfStamps   the stamp annotations a file holds
// Every result carries one line for the user: an error (nothing written), or a notice beside the
// success (a damaged IN stamped as a repaired copy). Messages name files by their file name only
// and go through QCoreApplication::translate("pellimo", ...).

#include "render/stampgeometry.h"

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <future>
#include <memory>
#include <optional>

namespace pellimo {

struct StampProfile;

// Where the stamp goes: page (1-based) and the top-left corner of the circle's bounding square, in
// millimetres from the top-left corner of the page as a viewer shows it (rotation applied).
struct PdfStampPlace {
    int page = 1;
    std::optional<QPointF> atMm; // unset: kDefaultStampInsetMm from the top and right edges
    double diameterMm = 0;       // the circle's diameter on paper
};

inline constexpr double kDefaultStampInsetMm = 15;
// The smallest circle a stamp is put on a page with: below it the texts cannot be read.
inline constexpr double kMinStampDiameterMm = 5;

// The default place of a stamp `diameterMm` across on a page `pageMm` large (as shown): its
// bounding square kDefaultStampInsetMm from the top and the right edge.
QPointF defaultStampCorner(QSizeF pageMm, double diameterMm);

// Who stamped and when, as the annotation records it.
struct PdfStampRecord {
    QString who;      // /T: the stamp's name row, or the user's name when that row is empty
    QString dateText; // the stamp's date line as drawn
    int user = 0;     // the user number (1-5); 0 unknown
    QDateTime when;   // invalid: the moment of stamping
    QString contents; // the stamp's texts as one line; empty: the drawn texts joined by spaces
};

// The record of a stamp drawn from `profile` (its date line already the day's date): who is the
// name row (items 2 and 3), or `userName` when both are empty.
PdfStampRecord stampRecord(const StampProfile &profile, const QString &userName, int user,
                           const QDateTime &when);

// What a readable PDF holds, for choosing the place: the pages and the size of one, as shown.
struct PdfPageInfo {
    int pageCount = 0;
    QSizeF pageMm;    // the requested page, rotation and user unit applied
    int rotation = 0; // 0, 90, 180 or 270, clockwise
};

// The outcome of reading or stamping.
struct PdfResult {
    QString error;  // why nothing was written; empty on success
    QString notice; // on success, what the user should know (a repaired copy was written)
    explicit operator bool() const { return error.isEmpty(); }
};

// The signature a signed stamp is the visible mark of.
struct PdfStampSignature {
    QString signer;        // the signing certificate's common name (else the dictionary's /Name)
    QDateTime when;        // /M, the signing time; invalid when it cannot be read
    bool verified = false; // the bytes it covers are those signed, by the certificate it holds
    QString problem;       // why not verified
};

// One stamp annotation found in a file.
struct PdfStampEntry {
    int page = 0;
    QRectF rectMm;    // from the top-left corner of the page as shown
    QString dateText; // Pellimo's: the stamp's date line; others: their /Contents
    QString who;      // /T
    QDateTime when;   // /M, else /CreationDate; invalid when neither can be read
    bool pellimo = false;
    std::optional<PdfStampSignature> signature; // a signed stamp's
};

// One line for the user: "page 1 at 176.5, 15.0 mm (18.5 mm): 08.12.07, 山田 太郎, 2026-12-07
// 10:15:00 +09:00, Pellimo"; a signed stamp's adds "signed by Taro Yamada at ..., valid".
QString describeStampEntry(const PdfStampEntry &entry);

// Reads `in` and describes page `page` (1-based).
PdfResult describePdfPage(const QString &in, int page, PdfPageInfo &info);

// Writes `out`: `in` byte for byte, followed by an update that adds the stamp as an annotation on
// the chosen page, upright as a viewer shows the page. `in` is only read; `out` is written
// atomically and only when everything worked. A damaged `in` is stamped as a repaired, rewritten
// copy (the result's notice says so) unless it is signed. Refuses (and writes nothing) when `out`
// is `in`, when `in` needs a password or its permissions forbid annotations, when the page does
// not exist or its numbers cannot be used, when the stamp is smaller than kMinStampDiameterMm or
// does not lie wholly on the page, or when `in` is larger than Pellimo reads.
PdfResult stampPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry, const PdfStampRecord &record = {});

// Writes `out`: `in` rewritten with the stamp drawn into the chosen page's content. Refuses as
// stampPdfFile does, and also a signed `in` (the rewrite would break the signature) and one whose
// permissions forbid changes.
PdfResult flattenPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                         const StampGeometry &geometry);

// The stamp annotations of `in`, page by page, and Pellimo's signed stamps with their signatures
// checked; nothing is written.
PdfResult listPdfStamps(const QString &in, QList<PdfStampEntry> &stamps);

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
                       const StampGeometry &geometry, const PdfStampRecord &record = {});

} // namespace pellimo
