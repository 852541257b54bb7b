// SPDX-License-Identifier: MIT
#pragma once

// pellimo-stamp's signing: --sign (with --cert, --nssdb, --password-file) signs the stamped copy
// with a certificate of the user's NSS database, --certs lists the certificates that can sign.

#include <QDateTime>
#include <QString>

namespace pellimo {

struct StampOptions;
struct StampGeometry;
struct PdfStampRecord;

struct SignOptions {
    bool sign = false;      // --sign
    bool listCerts = false; // --certs
    QString certificate;    // --cert NAME
    QString nssdb;          // --nssdb DIR
    QString passwordFile;   // --password-file FILE
};

// The options' values into `o`, each giving back what is wrong with it.
QString takeSign(StampOptions &o, const QString &);
QString takeCerts(StampOptions &o, const QString &);
QString takeCert(StampOptions &o, const QString &name);
QString takeNssdb(StampOptions &o, const QString &folder);
QString takePasswordFile(StampOptions &o, const QString &file);
// What is wrong with the signing options taken together, once all are read; empty when nothing.
QString checkSignOptions(const StampOptions &o);

// --certs: prints one line per signing certificate (nickname, subject, issuer, valid until) on
// standard output. Returns 0, or 1 with the reason in `error`.
int listSigningCertificates(const StampOptions &o, QString &error);

// --onto with --sign: the signed stamp onto the copy. Returns 0, or 1 with the reason in `error`.
int signOnto(const StampOptions &o, const StampGeometry &geometry, const PdfStampRecord &record,
             double diameterMm, QString &error);

} // namespace pellimo
