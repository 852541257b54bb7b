// SPDX-License-Identifier: MIT
// Signing with NSS's CMS encoder: the digest is computed here as the pieces come, handed to the
// encoder as that of detached content, and the encoder signs the attributes with the key.
#include "pdfsign/cmssigner.h"

#include "pdfsign/ber.h"
#include "pdfsign/esscertid.h"
#include "pdfsign/nssptr.h"
#include "pdfsign/passwordcall.h"

#include <QCoreApplication>

namespace pellimo {

namespace {

// The certificates that go in: the signer's and its issuers' up to the root, as NSS finds them.
nss::Chain chainOf(CERTCertificate *cert)
{
    return nss::Chain(CERT_CertChainFromCert(cert, certUsageEmailSigner, PR_TRUE));
}

nss::Cert findCert(const CertInfo &info)
{
    SECItem der = nss::item(info.der.constData(), info.der.size());
    return nss::Cert(CERT_FindCertByDERCert(CERT_GetDefaultCertDB(), &der));
}

qsizetype sizeBoundOf(CERTCertificate *cert)
{
    nss::Chain chain = chainOf(cert);
    nss::PublicKey key(CERT_ExtractPublicKey(cert));
    if (!chain || !key)
        return 0;
    qsizetype certs = 0;
    for (int i = 0; i < chain->len; ++i)
        certs += chain->certs[i].len;
    // An ECDSA signature is DER: two integers of the order's size with their headers.
    const qsizetype signature = qsizetype(SECKEY_SignatureLen(key.get())) + 16;
    // The signer identifier repeats the issuer's name and the serial number. The rest (content
    // info, algorithm identifiers, three signed attributes, every header) stays under 1 KB.
    constexpr qsizetype kFixed = 1024;
    return certs + signature + cert->derIssuer.len + cert->serialNumber.len + kFixed;
}

} // namespace

struct CmsSigner::Nss {
    nss::Cert cert;
    nss::Digest digest;
};

CmsSigner::CmsSigner(std::unique_ptr<Nss> nss, qsizetype sizeBound)
    : m_nss(std::move(nss)), m_sizeBound(sizeBound)
{
}

CmsSigner::~CmsSigner() = default;

qsizetype cmsSizeBound(const CertStore &, const CertInfo &info)
{
    nss::Cert cert = findCert(info);
    return cert ? sizeBoundOf(cert.get()) : 0;
}

std::unique_ptr<CmsSigner> CmsSigner::start(const CertStore &, const CertInfo &info,
                                            PasswordSource &password, QString &error)
{
    auto nss = std::make_unique<Nss>();
    nss->cert = findCert(info);
    if (!nss->cert) {
        error = QCoreApplication::translate("pellimo",
                                            "The certificate “%1” is no longer in the database")
                    .arg(info.nickname);
        return nullptr;
    }
    if (nss->cert->slot) {
        error = logIn(nss->cert->slot, password);
        if (!error.isEmpty())
            return nullptr;
    }
    PasswordCall noPrompt;
    nss::PrivateKey key(PK11_FindKeyByAnyCert(nss->cert.get(), &noPrompt));
    if (!key) {
        error = QCoreApplication::translate("pellimo", "The private key of “%1” cannot be used: %2")
                    .arg(info.nickname, nss::lastError());
        return nullptr;
    }
    nss->digest.reset(PK11_CreateDigestContext(SEC_OID_SHA256));
    if (!nss->digest || PK11_DigestBegin(nss->digest.get()) != SECSuccess) {
        error = QCoreApplication::translate("pellimo", "Cannot compute SHA-256: %1")
                    .arg(nss::lastError());
        return nullptr;
    }
    const qsizetype bound = sizeBoundOf(nss->cert.get());
    return std::unique_ptr<CmsSigner>(new CmsSigner(std::move(nss), bound));
}

void CmsSigner::addData(QByteArrayView bytes)
{
    // PK11_DigestOp takes an unsigned length; a piece over 4 GB goes in parts.
    constexpr qsizetype kPart = qsizetype(1) << 30;
    for (qsizetype done = 0; done < bytes.size(); done += kPart) {
        const QByteArrayView part = bytes.sliced(done, qMin(kPart, bytes.size() - done));
        PK11_DigestOp(m_nss->digest.get(), reinterpret_cast<const unsigned char *>(part.data()),
                      unsigned(part.size()));
    }
}

QByteArray CmsSigner::finish(QString &error)
{
    unsigned char digest[32];
    unsigned digestLength = 0;
    auto fail = [&error]() {
        error = QCoreApplication::translate("pellimo", "Signing failed: %1").arg(nss::lastError());
        return QByteArray();
    };
    if (PK11_DigestFinal(m_nss->digest.get(), digest, &digestLength, sizeof digest) != SECSuccess)
        return fail();

    nss::Message message(NSS_CMSMessage_Create(nullptr));
    if (!message)
        return fail();
    NSSCMSMessage *m = message.get();
    NSSCMSSignedData *signedData = NSS_CMSSignedData_Create(m);
    if (!signedData ||
        NSS_CMSContentInfo_SetContent_SignedData(m, NSS_CMSMessage_GetContentInfo(m), signedData) !=
            SECSuccess ||
        NSS_CMSContentInfo_SetContent_Data(m, NSS_CMSSignedData_GetContentInfo(signedData), nullptr,
                                           PR_TRUE) != SECSuccess)
        return fail();
    NSSCMSSignerInfo *signer = NSS_CMSSignerInfo_Create(m, m_nss->cert.get(), SEC_OID_SHA256);
    if (!signer ||
        NSS_CMSSignerInfo_IncludeCerts(signer, NSSCMSCM_CertChainWithRoot, certUsageEmailSigner) !=
            SECSuccess ||
        addSigningCertificateV2(m, signer, m_nss->cert.get()) != SECSuccess ||
        NSS_CMSSignedData_AddSignerInfo(signedData, signer) != SECSuccess)
        return fail();
    SECItem digestItem = nss::item(digest, digestLength);
    if (NSS_CMSSignedData_SetDigestValue(signedData, SEC_OID_SHA256, &digestItem) != SECSuccess)
        return fail();

    nss::Arena arena(PORT_NewArena(4096));
    SECItem out{siBuffer, nullptr, 0};
    PasswordCall noPrompt; // logged in by start()
    NSSCMSEncoderContext *encoder =
        NSS_CMSEncoder_Start(m, nullptr, nullptr, &out, arena.get(), nssPasswordCallback, &noPrompt,
                             nullptr, nullptr, nullptr, nullptr);
    if (!encoder || NSS_CMSEncoder_Finish(encoder) != SECSuccess)
        return fail();
    const std::optional<BerElement> der =
        berToDer(QByteArrayView(reinterpret_cast<const char *>(out.data), qsizetype(out.len)));
    if (!der) {
        PORT_SetError(SEC_ERROR_BAD_DER);
        return fail();
    }
    return der->der;
}

} // namespace pellimo
