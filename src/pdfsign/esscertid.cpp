// SPDX-License-Identifier: MIT
// SigningCertificateV2 ::= SEQUENCE { certs SEQUENCE OF ESSCertIDv2, policies ... OPTIONAL }
// ESSCertIDv2 ::= SEQUENCE { hashAlgorithm DEFAULT sha256, certHash OCTET STRING,
//                            issuerSerial OPTIONAL }
// The hash algorithm is SHA-256, the default, so DER leaves it out; issuerSerial repeats the
// signer identifier that the SignerInfo already carries, and is left out as current CAdES advises.
#include "pdfsign/esscertid.h"

#include <cstddef>
#include <pk11pub.h>
#include <secasn1.h>

namespace pellimo {

namespace {

struct EssCertIdV2 {
    SECItem certHash;
};

struct SigningCertificateV2 {
    EssCertIdV2 **certs;
};

const SEC_ASN1Template kEssCertIdV2Template[] = {
    {SEC_ASN1_SEQUENCE, 0, nullptr, sizeof(EssCertIdV2)},
    {SEC_ASN1_OCTET_STRING, offsetof(EssCertIdV2, certHash), nullptr, 0},
    {0, 0, nullptr, 0},
};

const SEC_ASN1Template kSigningCertificateV2Template[] = {
    {SEC_ASN1_SEQUENCE, 0, nullptr, sizeof(SigningCertificateV2)},
    {SEC_ASN1_SEQUENCE_OF, offsetof(SigningCertificateV2, certs), kEssCertIdV2Template, 0},
    {0, 0, nullptr, 0},
};

} // namespace

SECStatus addSigningCertificateV2(NSSCMSMessage *message, NSSCMSSignerInfo *signer,
                                  CERTCertificate *cert)
{
    PLArenaPool *pool = message->poolp;
    constexpr unsigned kSha256Size = 32;
    auto *hash = static_cast<unsigned char *>(PORT_ArenaAlloc(pool, kSha256Size));
    if (!hash || PK11_HashBuf(SEC_OID_SHA256, hash, cert->derCert.data,
                              PRInt32(cert->derCert.len)) != SECSuccess)
        return SECFailure;

    EssCertIdV2 id{{siBuffer, hash, kSha256Size}};
    EssCertIdV2 *ids[] = {&id, nullptr};
    SigningCertificateV2 value{ids};
    SECItem *encoded = SEC_ASN1EncodeItem(pool, nullptr, &value, kSigningCertificateV2Template);
    if (!encoded)
        return SECFailure;

    // An attribute of a type NSS does not know goes out as the DER given ("encoded").
    auto *attribute = PORT_ArenaZNew(pool, NSSCMSAttribute);
    auto **values = PORT_ArenaZNewArray(pool, SECItem *, 2);
    auto *oid =
        static_cast<unsigned char *>(PORT_ArenaAlloc(pool, sizeof kSigningCertificateV2Oid));
    if (!attribute || !values || !oid)
        return SECFailure;
    PORT_Memcpy(oid, kSigningCertificateV2Oid, sizeof kSigningCertificateV2Oid);
    attribute->type = {siDEROID, oid, unsigned(sizeof kSigningCertificateV2Oid)};
    values[0] = encoded;
    attribute->values = values;
    attribute->encoded = PR_TRUE;

    // libsmime3 does not export its call for adding a signed attribute: the signer's list is a
    // null-terminated array in the message's pool, grown here as NSS grows it.
    int count = 0;
    while (signer->authAttr && signer->authAttr[count])
        ++count;
    auto **grown = PORT_ArenaZNewArray(pool, NSSCMSAttribute *, count + 2);
    if (!grown)
        return SECFailure;
    for (int i = 0; i < count; ++i)
        grown[i] = signer->authAttr[i];
    grown[count] = attribute;
    signer->authAttr = grown;
    return SECSuccess;
}

} // namespace pellimo
