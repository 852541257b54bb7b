// SPDX-License-Identifier: MIT
// Checking a detached signature with NSS: the certificates it carries are imported as temporary
// ones, the digest of the bytes is computed with the signer's algorithm, and NSS compares it with
// the message-digest attribute and checks the signature over the attributes.
#include "pdfsign/cmsverify.h"

#include "pdfsign/ber.h"
#include "pdfsign/nssptr.h"
#include "pdfsign/nsssession.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <algorithm>

namespace pellimo {

namespace {

QString statusText(NSSCMSVerificationStatus status)
{
    switch (status) {
    case NSSCMSVS_DigestMismatch:
        return QCoreApplication::translate("pellimo",
                                           "The signed bytes have changed since signing");
    case NSSCMSVS_BadSignature:
        return QCoreApplication::translate("pellimo",
                                           "The signature does not match the signer's certificate");
    case NSSCMSVS_SigningCertNotFound:
        return QCoreApplication::translate("pellimo",
                                           "The signer's certificate is not in the signature");
    case NSSCMSVS_SignatureAlgorithmUnknown:
    case NSSCMSVS_SignatureAlgorithmUnsupported:
        return QCoreApplication::translate("pellimo", "The signature's algorithm is not supported");
    default:
        return QCoreApplication::translate("pellimo", "The signature is malformed: %1")
            .arg(nss::lastError());
    }
}

std::optional<QByteArray> digestOf(SECOidTag algorithm, const QList<QByteArrayView> &pieces)
{
    nss::Digest context(PK11_CreateDigestContext(algorithm));
    if (!context || PK11_DigestBegin(context.get()) != SECSuccess)
        return std::nullopt;
    constexpr qsizetype kPart = qsizetype(1) << 30;
    for (QByteArrayView piece : pieces)
        for (qsizetype done = 0; done < piece.size(); done += kPart) {
            const QByteArrayView part = piece.sliced(done, qMin(kPart, piece.size() - done));
            if (PK11_DigestOp(context.get(), reinterpret_cast<const unsigned char *>(part.data()),
                              unsigned(part.size())) != SECSuccess)
                return std::nullopt;
        }
    QByteArray digest(HASH_LENGTH_MAX, '\0');
    unsigned length = 0;
    if (PK11_DigestFinal(context.get(), reinterpret_cast<unsigned char *>(digest.data()), &length,
                         unsigned(digest.size())) != SECSuccess)
        return std::nullopt;
    digest.resize(length);
    return digest;
}

} // namespace

CmsCheck checkDetachedCms(QByteArrayView der, const QList<QByteArrayView> &pieces)
{
    CmsCheck check;
    const std::unique_ptr<NssSession> session = NssSession::openWithoutDatabase(check.problem);
    if (!session)
        return check;
    const QString malformed =
        QCoreApplication::translate("pellimo", "The signature is not a CMS signature");
    // What follows the signature in a PDF's hole is zero bytes; anything else is not a signature.
    const std::optional<BerElement> element = berToDer(der);
    if (!element ||
        !std::all_of(der.begin() + element->end, der.end(), [](char c) { return c == 0; })) {
        check.problem = malformed;
        return check;
    }
    SECItem input = nss::item(element->der.constData(), element->der.size());
    nss::Message message(
        NSS_CMSMessage_CreateFromDER(&input, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    NSSCMSContentInfo *info = message ? NSS_CMSMessage_ContentLevel(message.get(), 0) : nullptr;
    if (!info || NSS_CMSContentInfo_GetContentTypeTag(info) != SEC_OID_PKCS7_SIGNED_DATA) {
        check.problem = malformed;
        return check;
    }
    auto *signedData = static_cast<NSSCMSSignedData *>(NSS_CMSContentInfo_GetContent(info));
    if (NSS_CMSSignedData_SignerInfoCount(signedData) != 1) {
        check.problem =
            QCoreApplication::translate("pellimo", "The signature has %1 signers instead of one")
                .arg(NSS_CMSSignedData_SignerInfoCount(signedData));
        return check;
    }
    NSSCMSSignerInfo *signer = NSS_CMSSignedData_GetSignerInfo(signedData, 0);
    CERTCertDBHandle *db = CERT_GetDefaultCertDB();
    NSS_CMSSignedData_ImportCerts(signedData, db, certUsageEmailSigner, PR_FALSE);
    if (!NSS_CMSSignerInfo_GetSigningCertificate(signer, db)) {
        check.problem = statusText(NSSCMSVS_SigningCertNotFound);
        return check;
    }
    check.signer = nss::takeString(NSS_CMSSignerInfo_GetSignerCommonName(signer));
    if (check.signer.isEmpty())
        check.signer =
            QString::fromUtf8(NSS_CMSSignerInfo_GetSigningCertificate(signer, db)->subjectName);
    PRTime signingTime = 0;
    if (NSS_CMSSignerInfo_GetSigningTime(signer, &signingTime) == SECSuccess)
        check.signingTime =
            QDateTime::fromMSecsSinceEpoch(signingTime / PR_USEC_PER_MSEC, QTimeZone::utc());

    const std::optional<QByteArray> digest =
        digestOf(SECOID_GetAlgorithmTag(&signer->digestAlg), pieces);
    if (!digest) {
        check.problem = statusText(NSSCMSVS_SignatureAlgorithmUnsupported);
        return check;
    }
    SECItem digestItem = nss::item(digest->constData(), digest->size());
    // (libsmime3 exports neither NSS_CMSSignerInfo_GetDigestAlgTag nor
    // NSS_CMSContentInfo_GetContentTypeOID; their structures are public.)
    NSS_CMSSignerInfo_Verify(signer, &digestItem,
                             &NSS_CMSSignedData_GetContentInfo(signedData)->contentType);
    NSSCMSVerificationStatus status = NSS_CMSSignerInfo_GetVerificationStatus(signer);
    check.verified = status == NSSCMSVS_GoodSignature;
    if (!check.verified)
        check.problem = statusText(status);
    return check;
}

} // namespace pellimo
