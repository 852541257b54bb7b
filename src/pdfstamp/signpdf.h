// SPDX-License-Identifier: MIT
#pragma once

// The stamp as the visible mark of a digital signature: a signature field whose widget shows the
// vector stamp, its value a detached CMS signature (PAdES baseline B-B) made with a certificate
// of the user's NSS database, appended as one incremental update so that every earlier signature
// stays valid.

#include "pdfstamp.h"

#include <QDateTime>
#include <QString>

namespace pellimo {

class PasswordSource;

struct SigningRequest {
    QString nssFolder;   // the NSS database; empty: the user's own (~/.pki/nssdb)
    QString certificate; // a nickname or a subject common name; empty: the only one there is
    PasswordSource *password = nullptr; // asked for the key's token when it needs a password
};

// The reason every signed stamp gives.
inline const QString kSealReason = QStringLiteral(u"押印");

// Writes `out`: `in` byte for byte, followed by one update that adds a signature field on the
// chosen page, its widget showing the stamp, and signs the whole file but the signature itself.
// Refuses as stampPdfFile does, and also when the database cannot be opened, no certificate (or
// more than one) fits, the certificate cannot sign now (expired, not yet valid, not for
// signatures), the password is wrong, `in` is encrypted or damaged, or its certification forbids
// signing. Nothing is written then, and `in` is only ever read. The record's time (now when
// unset) is the signing time.
PdfResult signPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                      const StampGeometry &geometry, const PdfStampRecord &record,
                      const SigningRequest &request);

} // namespace pellimo
