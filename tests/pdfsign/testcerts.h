// SPDX-License-Identifier: MIT
#pragma once

// The certificates the signing tests share, made once per test program by TestPki: names are the
// files' and the PKCS #12 friendly names (the NSS nicknames after import).
#include "testpki.h"

#include <QList>

namespace pellimo::testing {

struct NamedCert {
    CertRecipe recipe;
    QString friendly;
};

inline QList<NamedCert> testCertificates()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime yesterday = now.addDays(-1);
    const QDateTime nextYear = now.addDays(365);
    const QDateTime y2020(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime y2021(QDate(2021, 1, 1), QTime(0, 0), Qt::UTC);
    const QString signing = QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation");
    const QString ku = QStringLiteral("keyUsage=digitalSignature");
    const QString plain = QStringLiteral("subjectKeyIdentifier=hash");
    auto self = [&](QString name, QString subject, QString ext, QDateTime from, QDateTime to,
                    QString friendly) {
        return NamedCert{{name, subject, QString(), ext, from, to}, friendly};
    };
    QList<NamedCert> certs = {
        self(QStringLiteral("alice"), QStringLiteral("/CN=Taro Yamada/O=Example"), signing,
             yesterday, nextYear, QStringLiteral("alice")),
        self(QStringLiteral("alice2"), QStringLiteral("/CN=Taro Yamada/O=Other"), ku, yesterday,
             nextYear, QStringLiteral("alice2")),
        self(QStringLiteral("ca"), QStringLiteral("/CN=Pellimo Test CA"),
             QStringLiteral("basicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign"),
             now.addDays(-2), now.addDays(3650), QStringLiteral("ca")),
        {{QStringLiteral("bob"), QStringLiteral("/CN=Hanako Suzuki/O=Example"),
          QStringLiteral("ca"), ku, yesterday, nextYear},
         QStringLiteral("bob")},
        self(QStringLiteral("old"), QStringLiteral("/CN=Old Signer"), ku, y2020, y2021,
             QStringLiteral("old")),
        self(QStringLiteral("future"), QStringLiteral("/CN=Future Signer"), ku, now.addDays(30),
             now.addDays(400), QStringLiteral("future")),
        self(QStringLiteral("nosig"), QStringLiteral("/CN=Encryption Only"),
             QStringLiteral("keyUsage=keyEncipherment"), yesterday, nextYear,
             QStringLiteral("nosig")),
        self(QStringLiteral("noku"), QStringLiteral("/CN=No Usage"), plain, yesterday, nextYear,
             QStringLiteral("noku")),
        self(QStringLiteral("jiro-old"), QStringLiteral("/CN=Jiro Tanaka"), ku, y2020, y2021,
             QStringLiteral("jiro")),
        self(QStringLiteral("jiro-new"), QStringLiteral("/CN=Jiro Tanaka"), ku, yesterday, nextYear,
             QStringLiteral("jiro")),
    };
    NamedCert ec = self(QStringLiteral("ecc"), QStringLiteral("/CN=Ec Signer"), ku, yesterday,
                        nextYear, QStringLiteral("ecc"));
    ec.recipe.key = QStringLiteral("ec");
    certs << ec;
    return certs;
}

// Makes the test certificates `names` (with their issuers listed first) in `pki`; false with the
// reason in `error`.
inline bool makeTestCertificates(TestPki &pki, const QStringList &names, QString &error)
{
    for (const NamedCert &c : testCertificates())
        if (names.contains(c.recipe.name) && !pki.make(c.recipe, c.friendly, error))
            return false;
    return true;
}

} // namespace pellimo::testing
