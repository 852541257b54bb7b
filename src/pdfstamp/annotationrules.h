// SPDX-License-Identifier: MIT
#pragma once

// What a document allows before a stamp annotation is added to it.

#include "openedpdf.h"

namespace pellimo {

// A refusal when the permissions of the document's encryption forbid annotations, when a
// certifying signature allows none, or when the document needs repairs and is signed (the
// rewritten copy would break the signature).
PdfResult checkAnnotationsAllowed(OpenedPdf &o);

} // namespace pellimo
