// SPDX-License-Identifier: MIT
#pragma once

// Internal to src/pdfsign: the ESS signing-certificate-v2 attribute (RFC 5035), which NSS does not
// make itself: one ESSCertIDv2 holding the SHA-256 hash of the signer's certificate.
#include <cms.h>

namespace pellimo {

// The DER of id-aa-signingCertificateV2, 1.2.840.113549.1.9.16.2.47.
inline constexpr unsigned char kSigningCertificateV2Oid[] = {0x2a, 0x86, 0x48, 0x86, 0xf7, 0x0d,
                                                             0x01, 0x09, 0x10, 0x02, 0x2f};

// Adds the attribute for `cert` to the signed attributes of `signer`, allocated in the pool of
// `message`. NSS adds content type and message digest itself when it signs.
SECStatus addSigningCertificateV2(NSSCMSMessage *message, NSSCMSSignerInfo *signer,
                                  CERTCertificate *cert);

} // namespace pellimo
