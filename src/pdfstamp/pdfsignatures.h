// SPDX-License-Identifier: MIT
#pragma once

// The digital signatures a document carries (signature fields with a value, ISO 32000-1 12.7.4.5
// and 12.8), named for the user, and what a certifying signature allows to change (12.8.2.2).

#include <QString>
#include <QStringList>

class QPDF;

namespace pellimo::pdf {

// One entry per signed field: "Signature1" by Taro Yamada, with the field's full name.
QStringList signaturesOf(QPDF &pdf);

// The changes a certifying signature's DocMDP transform allows: 1 none, 2 filling in forms and
// signing, 3 those and annotations; 0 when the document is not certified.
int certifiedPermission(QPDF &pdf);

} // namespace pellimo::pdf
