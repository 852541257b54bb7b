// SPDX-License-Identifier: MIT
#pragma once

// Owning pointers for the NSS objects this folder uses, and NSS's last error in words. Internal to
// src/pdfsign: callers of the library see only Qt types.
#include <QString>
#include <cert.h>
#include <cms.h>
#include <keyhi.h>
#include <memory>
#include <pk11pub.h>
#include <prerror.h>
#include <secerr.h>

namespace pellimo::nss {

struct CertDeleter {
    void operator()(CERTCertificate *c) const { CERT_DestroyCertificate(c); }
};
struct CertListDeleter {
    void operator()(CERTCertList *l) const { CERT_DestroyCertList(l); }
};
struct ChainDeleter {
    void operator()(CERTCertificateList *l) const { CERT_DestroyCertificateList(l); }
};
struct PrivateKeyDeleter {
    void operator()(SECKEYPrivateKey *k) const { SECKEY_DestroyPrivateKey(k); }
};
struct PublicKeyDeleter {
    void operator()(SECKEYPublicKey *k) const { SECKEY_DestroyPublicKey(k); }
};
struct SlotDeleter {
    void operator()(PK11SlotInfo *s) const { PK11_FreeSlot(s); }
};
struct DigestDeleter {
    void operator()(PK11Context *c) const { PK11_DestroyContext(c, PR_TRUE); }
};
struct MessageDeleter {
    void operator()(NSSCMSMessage *m) const { NSS_CMSMessage_Destroy(m); }
};
struct ArenaDeleter {
    void operator()(PLArenaPool *a) const { PORT_FreeArena(a, PR_FALSE); }
};
struct PortDeleter {
    void operator()(char *s) const { PORT_Free(s); }
};

using Cert = std::unique_ptr<CERTCertificate, CertDeleter>;
using CertList = std::unique_ptr<CERTCertList, CertListDeleter>;
using Chain = std::unique_ptr<CERTCertificateList, ChainDeleter>;
using PrivateKey = std::unique_ptr<SECKEYPrivateKey, PrivateKeyDeleter>;
using PublicKey = std::unique_ptr<SECKEYPublicKey, PublicKeyDeleter>;
using Slot = std::unique_ptr<PK11SlotInfo, SlotDeleter>;
using Digest = std::unique_ptr<PK11Context, DigestDeleter>;
using Message = std::unique_ptr<NSSCMSMessage, MessageDeleter>;
using Arena = std::unique_ptr<PLArenaPool, ArenaDeleter>;
using PortString = std::unique_ptr<char, PortDeleter>;

// A string NSS allocated (CERT_GetCommonName, CERT_NameToAscii, ...), freed here.
inline QString takeString(char *s)
{
    PortString owned(s);
    return s ? QString::fromUtf8(s) : QString();
}

// NSS's text for its last error, e.g. "The security password entered is incorrect.".
inline QString lastError()
{
    const PRErrorCode code = PORT_GetError();
    const char *text = PR_ErrorToString(code, PR_LANGUAGE_I_DEFAULT);
    return text && *text ? QString::fromUtf8(text) : QStringLiteral("NSS error %1").arg(code);
}

// A view of bytes as the item NSS reads; NSS does not write through it.
inline SECItem item(const void *data, qsizetype size)
{
    return {siBuffer, static_cast<unsigned char *>(const_cast<void *>(data)),
            static_cast<unsigned int>(size)};
}

} // namespace pellimo::nss
