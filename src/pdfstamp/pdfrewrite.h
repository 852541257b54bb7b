// SPDX-License-Identifier: MIT
#pragma once

// A whole PDF written anew by qpdf (--flatten, and a damaged file that needed repairs): streams
// that were not changed are copied as they are stored, never decoded; object streams and
// encryption are kept.

#include <QString>

class QPDF;

namespace pellimo::pdf {

class OutputFile;

bool rewritePdf(QPDF &pdf, OutputFile &file, QString &error);

} // namespace pellimo::pdf
