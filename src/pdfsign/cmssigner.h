// SPDX-License-Identifier: MIT
#pragma once

// A detached CMS signature (SignedData, SHA-256) over bytes handed in pieces, such as the two
// parts of a PDF around its signature hole. The signer's certificate chain goes in, and the
// signed attributes are those of a PAdES baseline B-B signature: content type, message digest
// and the ESS signing-certificate-v2 that binds the signer's certificate. No signing-time
// attribute: a PDF signature states its time in the signature dictionary (/M), and PAdES
// validators reject a signature that carries both.
#include "pdfsign/certstore.h"
#include "pdfsign/password.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

namespace pellimo {

// The most bytes a signature by `cert` can take (its chain, its key's signature, the signed
// attributes), so a caller can reserve the hole before signing; 0 when `cert` is not in `store`.
qsizetype cmsSizeBound(const CertStore &store, const CertInfo &cert);

class CmsSigner {
public:
    // Ready to sign with `cert` from `store`. The key's token is logged in now through
    // `password`, so a wrong password is known before anything is written; `password` is not
    // used after this returns. Nothing, and the reason in `error`, when the key cannot be used.
    static std::unique_ptr<CmsSigner> start(const CertStore &store, const CertInfo &cert,
                                            PasswordSource &password, QString &error);
    ~CmsSigner();
    CmsSigner(const CmsSigner &) = delete;
    CmsSigner &operator=(const CmsSigner &) = delete;

    // cmsSizeBound for this signer's certificate.
    qsizetype sizeBound() const { return m_sizeBound; }
    // The next piece of the signed bytes.
    void addData(QByteArrayView bytes);
    // The DER of the signature over every piece added; empty, with the reason in `error`, when
    // signing fails. Called once.
    QByteArray finish(QString &error);

private:
    struct Nss;
    explicit CmsSigner(std::unique_ptr<Nss> nss, qsizetype sizeBound);
    std::unique_ptr<Nss> m_nss;
    qsizetype m_sizeBound;
};

} // namespace pellimo
