// SPDX-License-Identifier: MIT
#pragma once

// The stamp as PDF objects: its picture as a form XObject (the one page Qt draws for it, texts as
// text, no background) and the Stamp annotation that shows it (ISO 32000-1 12.5.6.12), with who
// stamped and when, and the key that marks it as Pellimo's.

#include "pdfstamp.h"

#include <QByteArray>
#include <QDateTime>
#include <memory>
#include <qpdf/QPDF.hh>
#include <string>

namespace pellimo {

// The key of a Pellimo stamp's annotation: << /Date (the date line) /User n >>.
inline constexpr char kPellimoStampKey[] = "/PellimoStamp";
// The subject of every stamp annotation Pellimo adds.
inline const QString kStampSubject = QStringLiteral(u"日付印");

// The stamp page Qt drew, read by qpdf; it must outlive the writing of objects copied from it.
std::unique_ptr<QPDF> readStampPage(const QByteArray &pdfBytes);

// The stamp page as a form XObject of `pdf`, turned so that it reads upright on a page shown
// turned by `rotation` (its /Matrix).
QPDFObjectHandle stampForm(QPDF &pdf, QPDF &stampPage, int rotation);

// A new Stamp annotation of `pdf` on `page`, at `rect` (user space), showing `form`. An empty
// contents in the record becomes the geometry's texts joined by spaces.
QPDFObjectHandle stampAnnotation(QPDF &pdf, QPDFObjectHandle page, QPDFObjectHandle form,
                                 const QPDFObjectHandle::Rectangle &rect,
                                 const PdfStampRecord &record, const StampGeometry &geometry);

// A PDF date (7.9.4): D:YYYYMMDDHHmmSS+HH'mm'.
std::string pdfDate(const QDateTime &when);
// A PDF date read back; invalid when it is not one.
QDateTime fromPdfDate(const std::string &text);

} // namespace pellimo
