// SPDX-License-Identifier: MIT
#pragma once

// Checking a detached CMS signature over given bytes, as listing a PDF's signatures does: does
// the digest of the bytes match the signed one, and does the signature match the certificate it
// names; who signed, and when if the signature says. Whether the certificate is trusted is not
// asked here.
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace pellimo {

struct CmsCheck {
    bool verified = false; // the bytes are those signed and the signature is the signer's
    QString signer;        // the signer's subject common name (the whole subject without one)
    std::optional<QDateTime> signingTime; // the signing-time attribute (UTC), when present
    QString problem;                      // one line saying why not verified
};

// Checks `der` (trailing zero bytes, as a PDF's /Contents hole has them, are ignored) against the
// signed bytes `pieces`, in their order. Starts NSS without a database for the call unless a
// session is already open; holding one (NssSession::openWithoutDatabase) saves the start per call.
CmsCheck checkDetachedCms(QByteArrayView der, const QList<QByteArrayView> &pieces);

} // namespace pellimo
