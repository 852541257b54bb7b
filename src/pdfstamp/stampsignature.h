// SPDX-License-Identifier: MIT
#pragma once

// The signature a signed stamp is the mark of, checked as a reader of the file would: the bytes
// its /ByteRange names, read from the file, against the CMS signature in its /Contents.

#include "pdfstamp.h"

#include <qpdf/QPDFObjectHandle.hh>

namespace pellimo {

// `signature` is a signature dictionary of the file open as `fd`, `fileSize` bytes long.
PdfStampSignature checkStampSignature(QPDFObjectHandle signature, int fd, int64_t fileSize);

} // namespace pellimo
