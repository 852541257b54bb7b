// SPDX-License-Identifier: MIT
#pragma once

// The signing certificates of an NSS database: those whose private key the database (or a token
// it reaches, such as a smart card) holds. Listing them, picking one by name, and the checks that
// come before signing, each failure one line for the user.
#include "pdfsign/nsssession.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace pellimo {

struct CertInfo {
    QString nickname;   // as NSS names it ("token:name" on a token other than the database)
    QString subject;    // e.g. "CN=Taro Yamada,O=Example"
    QString commonName; // the subject's CN, empty when it has none
    QString issuer;
    QDateTime notBefore; // UTC
    QDateTime notAfter;  // UTC
    QByteArray der;      // the certificate itself, which finds it again in the database
    bool keyUsageAllowsSigning = true; // digital signature or non-repudiation, or no key usage
};

class CertStore {
public:
    // The database in `folder` (empty: the user's default); nothing, and why in `error`, when it
    // cannot be opened.
    static std::unique_ptr<CertStore> open(const QString &folder, QString &error);

    const QString &folder() const { return m_session->folder(); }

    // Every certificate with a private key, sorted by nickname; no password is asked.
    QList<CertInfo> signingCertificates() const;

    // The certificate `name` names (a nickname or a subject common name), or with an empty name
    // the only one there is. When several match, those not valid at `when` are set aside, so a
    // renewed certificate under its old name is found. Nothing, and why, when none or several fit.
    std::optional<CertInfo> pick(const QString &name, const QDateTime &when, QString &error) const;

private:
    explicit CertStore(std::unique_ptr<NssSession> session) : m_session(std::move(session)) {}
    std::unique_ptr<NssSession> m_session;
};

// Why `cert` cannot sign at `when` (expired, not yet valid, a key not meant for signatures), or an
// empty string when it can.
QString signingProblem(const CertInfo &cert, const QDateTime &when);

// "nickname (CN=..., valid until 2027-01-31)", the way certificates are named in messages.
QString describeCertificate(const CertInfo &cert);

} // namespace pellimo
