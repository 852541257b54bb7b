// SPDX-License-Identifier: MIT
#pragma once

// What stamping writes: the input's bytes followed by one incremental update holding the changed
// objects, or, for a file that needed repairs to be read, the whole document rewritten.

#include "openedpdf.h"

#include <qpdf/QPDFObjectHandle.hh>
#include <vector>

namespace pellimo {

// `page`'s annotations with `annotation` added; returns the object that changed: the /Annots
// array when it is an object of its own, else the page. An /Annots array that an earlier call
// changed (one array shared by two pages) is copied first, so that each stamp shows on its own
// page only; `changedArrays` keeps the arrays changed so far.
QPDFObjectHandle addAnnotationToPage(QPDFObjectHandle page, QPDFObjectHandle annotation,
                                     std::vector<QPDFObjGen> &changedArrays);

// Writes `out`: `o`'s bytes and an update with `changed` (new objects numbered from `firstNew`),
// or, when `o` was read with repairs, the document rewritten and the notice that says so.
PdfResult writeStampedCopy(OpenedPdf &o, const std::vector<QPDFObjectHandle> &changed, int firstNew,
                           const QString &out);

} // namespace pellimo
