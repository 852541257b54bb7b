// SPDX-License-Identifier: MIT
// Listing and picking signing certificates, and the checks before signing.
#include "pdfsign/certstore.h"

#include "pdfsign/nssptr.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimeZone>
#include <algorithm>

namespace pellimo {

namespace {

QDateTime fromPrTime(PRTime t)
{
    return QDateTime::fromMSecsSinceEpoch(t / PR_USEC_PER_MSEC, QTimeZone::utc());
}

CertInfo describe(CERTCertificate *cert)
{
    CertInfo info;
    info.nickname = QString::fromUtf8(cert->nickname ? cert->nickname : "");
    info.subject = QString::fromUtf8(cert->subjectName ? cert->subjectName : "");
    info.issuer = QString::fromUtf8(cert->issuerName ? cert->issuerName : "");
    info.commonName = nss::takeString(CERT_GetCommonName(&cert->subject));
    PRTime notBefore = 0;
    PRTime notAfter = 0;
    if (CERT_GetCertTimes(cert, &notBefore, &notAfter) == SECSuccess) {
        info.notBefore = fromPrTime(notBefore);
        info.notAfter = fromPrTime(notAfter);
    }
    info.der = QByteArray(reinterpret_cast<const char *>(cert->derCert.data),
                          qsizetype(cert->derCert.len));
    // Without the extension a key may do anything (RFC 5280).
    info.keyUsageAllowsSigning =
        !cert->keyUsagePresent || (cert->keyUsage & (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION));
    return info;
}

// A day as the user's clock has it, as certificates are named in messages.
QString day(const QDateTime &t)
{
    return t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd"));
}

bool validAt(const CertInfo &cert, const QDateTime &when)
{
    return cert.notBefore <= when && when <= cert.notAfter;
}

QString listed(const QList<CertInfo> &certs)
{
    QStringList names;
    for (const CertInfo &c : certs)
        names << describeCertificate(c);
    return names.join(QStringLiteral("; "));
}

} // namespace

QString describeCertificate(const CertInfo &cert)
{
    return QCoreApplication::translate("pellimo", "%1 (%2, valid until %3)")
        .arg(cert.nickname, cert.subject, day(cert.notAfter));
}

std::unique_ptr<CertStore> CertStore::open(const QString &folder, QString &error)
{
    std::unique_ptr<NssSession> session = NssSession::open(folder, error);
    if (!session)
        return nullptr;
    return std::unique_ptr<CertStore>(new CertStore(std::move(session)));
}

QList<CertInfo> CertStore::signingCertificates() const
{
    QList<CertInfo> found;
    // A null argument: the password callback asks no one, so listing never prompts.
    nss::CertList list(PK11_ListCerts(PK11CertListUserUnique, nullptr));
    if (!list)
        return found;
    for (CERTCertListNode *node = CERT_LIST_HEAD(list.get()); !CERT_LIST_END(node, list.get());
         node = CERT_LIST_NEXT(node))
        found << describe(node->cert);
    std::sort(found.begin(), found.end(), [](const CertInfo &a, const CertInfo &b) {
        return a.nickname != b.nickname ? a.nickname < b.nickname : a.notAfter < b.notAfter;
    });
    return found;
}

std::optional<CertInfo> CertStore::pick(const QString &name, const QDateTime &when,
                                        QString &error) const
{
    const QList<CertInfo> all = signingCertificates();
    const QString where = QDir::toNativeSeparators(folder());
    if (all.isEmpty()) {
        error = QCoreApplication::translate(
                    "pellimo", "No certificate with a private key in %1 (import one with: "
                               "pk12util -d sql:%1 -i FILE.p12)")
                    .arg(where);
        return std::nullopt;
    }
    QList<CertInfo> matches;
    for (const CertInfo &c : all)
        if (name.isEmpty() || c.nickname == name || c.commonName == name)
            matches << c;
    if (matches.isEmpty()) {
        error = QCoreApplication::translate(
                    "pellimo", "No signing certificate named “%1” in %2; there are: %3")
                    .arg(name, where, listed(all));
        return std::nullopt;
    }
    if (matches.size() > 1) {
        QList<CertInfo> valid;
        std::copy_if(matches.cbegin(), matches.cend(), std::back_inserter(valid),
                     [&](const CertInfo &c) { return validAt(c, when); });
        if (valid.size() == 1)
            return valid.front();
        error = name.isEmpty()
                    ? QCoreApplication::translate(
                          "pellimo", "Several signing certificates in %1, name one: %2")
                          .arg(where, listed(matches))
                    : QCoreApplication::translate("pellimo", "Several certificates match “%1”: %2")
                          .arg(name, listed(matches));
        return std::nullopt;
    }
    return matches.front();
}

QString signingProblem(const CertInfo &cert, const QDateTime &when)
{
    if (when > cert.notAfter)
        return QCoreApplication::translate("pellimo", "The certificate “%1” expired on %2")
            .arg(cert.nickname, day(cert.notAfter));
    if (when < cert.notBefore)
        return QCoreApplication::translate("pellimo", "The certificate “%1” is not valid until %2")
            .arg(cert.nickname, day(cert.notBefore));
    if (!cert.keyUsageAllowsSigning)
        return QCoreApplication::translate(
                   "pellimo", "The certificate “%1” is not for signing: its key usage has neither "
                              "digital signature nor non-repudiation")
            .arg(cert.nickname);
    return {};
}

} // namespace pellimo
