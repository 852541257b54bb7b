// SPDX-License-Identifier: MIT
#pragma once

// Internal to src/pdfsign: NSS's CMS encoder streams, leaving the lengths of the outer structures
// open (BER, ended by two zero bytes), while a PDF signature must be DER. This rewrites such an
// element with every length stated, and the members of each SET in DER order. Contents are copied
// as they are, so a signature inside stays valid.
#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace pellimo {

struct BerElement {
    QByteArray der;    // the element as DER
    qsizetype end = 0; // where it ended in the input
};

// The first element of `ber`, or nothing when it is malformed (or nested deeper than any CMS).
std::optional<BerElement> berToDer(QByteArrayView ber);

} // namespace pellimo
