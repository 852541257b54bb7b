// SPDX-License-Identifier: MIT
#pragma once

// A PDF opened for stamping or listing: the file held open (its bytes are copied from this very
// descriptor), qpdf's view of it, and what the structure check found. A file that needs repairs
// is read again with qpdf's repairs and marked so: it cannot take an incremental update.

#include "pdfplacement.h"
#include "pdfstamp.h"
#include "pdfstructure.h"

#include <memory>
#include <qpdf/QPDF.hh>
#include <string>
#include <vector>

namespace pellimo {

struct OpenedPdf {
    OpenedPdf() = default;
    ~OpenedPdf();
    OpenedPdf(const OpenedPdf &) = delete;
    OpenedPdf &operator=(const OpenedPdf &) = delete;

    QString name; // the file name, for messages
    int fd = -1;
    int64_t size = 0;
    bool endsWithEol = true;
    std::unique_ptr<QPDF> pdf;
    pdf::XrefChain chain;
    bool repaired = false; // read with qpdf's repairs
    QString damage;        // what needed them
    PdfResult status;      // a refusal
    std::vector<QPDFObjectHandle> pages;
    std::string inMemory; // the file's bytes, when qpdf reads it from memory
    std::string rescued;  // a file cut off before its trailer, with one added, read from memory
};

// Opens `path`; the result's status says why it cannot be used.
std::unique_ptr<OpenedPdf> openPdf(const QString &path);

// The page (1-based), or a refusal naming the file and its page count.
PdfResult checkPageNumber(const OpenedPdf &pdf, int page);

// The frame of page `page` (1-based, checked), or a refusal naming the page, the file and why.
PdfResult readPageFrame(const OpenedPdf &pdf, int page, PageFrame &frame);

// The notice of a stamped, repaired copy.
QString repairedNotice(const OpenedPdf &pdf);

// The signatures `pdf` carries, for a message: "\"Signature1\" (by Taro Yamada)"; empty if none.
QString signatureNames(OpenedPdf &pdf);

} // namespace pellimo
