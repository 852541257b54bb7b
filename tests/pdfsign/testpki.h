// SPDX-License-Identifier: MIT
#pragma once

// Certificates and NSS databases made for the tests with other projects' tools: openssl makes the
// keys and certificates (self-signed, issued by a test CA, with chosen dates and key usages) and
// the PKCS #12 files; certutil and pk12util (libnss3-tools) make the databases and import them.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace pellimo::testing {

struct Ran {
    int status = -1; // -1: did not start or crashed
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end (at most a minute), with `input` on its standard input.
Ran run(const QString &program, const QStringList &args, const QByteArray &input = {});

struct CertRecipe {
    QString name;        // files NAME.key, NAME.pem, NAME.p12 in the folder
    QString subject;     // e.g. "/CN=Taro Yamada/O=Example"
    QString issuer;      // the name of an earlier CertRecipe, or empty for self-signed
    QString extensions;  // lines of an openssl extension section, e.g. "keyUsage=digitalSignature"
    QDateTime notBefore; // UTC
    QDateTime notAfter;
    QString key = QStringLiteral("rsa:2048"); // or "ec" for P-256
};

// A folder of test certificates, made with `openssl req` and `openssl ca`.
class TestPki {
public:
    explicit TestPki(QString folder) : m_folder(std::move(folder)) {}
    const QString &folder() const { return m_folder; }
    QString path(const QString &name, const QString &ext) const;

    // Key, certificate and PKCS #12 (password "p12", friendly name `friendly`, with the issuer's
    // chain); false with the tools' output in `error` when a step failed.
    bool make(const CertRecipe &recipe, const QString &friendly, QString &error);

    // A new NSS database in `db` (an empty password when `password` is empty) holding the PKCS #12
    // files of `names`; `trustedOnly` certificates go in without their key (certutil -A).
    bool makeDatabase(const QString &db, const QString &password, const QStringList &names,
                      QString &error, const QStringList &trustedOnly = {});

private:
    QString m_folder;
    int m_serial = 1;
};

// "YYYYMMDDHHMMSSZ" for openssl.
QString opensslTime(const QDateTime &t);

} // namespace pellimo::testing
