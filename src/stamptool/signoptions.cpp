// SPDX-License-Identifier: MIT
#include "signoptions.h"

#include "pdfsign/certstore.h"
#include "pdfsign/password.h"
#include "pdfsign/terminalpassword.h"
#include "pdfstamp/signpdf.h"
#include "stampoptions.h"

#include <QCoreApplication>
#include <cstdio>

namespace pellimo {

QString takeSign(StampOptions &o, const QString &)
{
    o.signing.sign = true;
    return {};
}

QString takeCerts(StampOptions &o, const QString &)
{
    if (o.output != StampOptions::Output::None)
        return QStringLiteral("give only one of --png, --svg, --pdf, --onto and --certs");
    o.output = StampOptions::Output::Certs;
    o.signing.listCerts = true;
    return {};
}

QString takeCert(StampOptions &o, const QString &name)
{
    o.signing.certificate = name;
    return {};
}

QString takeNssdb(StampOptions &o, const QString &folder)
{
    o.signing.nssdb = folder;
    return {};
}

QString takePasswordFile(StampOptions &o, const QString &file)
{
    o.signing.passwordFile = file;
    return {};
}

QString checkSignOptions(const StampOptions &o)
{
    const SignOptions &s = o.signing;
    if (s.listCerts && (s.sign || !s.certificate.isEmpty() || !s.passwordFile.isEmpty()))
        return QStringLiteral("--certs takes only --nssdb");
    if (!s.listCerts && !s.sign &&
        (!s.certificate.isEmpty() || !s.nssdb.isEmpty() || !s.passwordFile.isEmpty()))
        return QStringLiteral("--cert, --nssdb and --password-file go with --sign");
    return {};
}

int listSigningCertificates(const StampOptions &o, QString &error)
{
    const std::unique_ptr<CertStore> store = CertStore::open(o.signing.nssdb, error);
    if (!store)
        return 1;
    const QList<CertInfo> certs = store->signingCertificates();
    if (certs.isEmpty()) {
        error = QCoreApplication::translate(
                    "pellimo",
                    "No certificate with a private key in %1 (import one with: pk12util -d sql:%1 "
                    "-i FILE.p12)")
                    .arg(store->folder());
        return 1;
    }
    for (const CertInfo &c : certs) {
        const QString line =
            QCoreApplication::translate("pellimo", "%1\tsubject: %2\tissuer: %3\tvalid until: %4")
                .arg(c.nickname, c.subject, c.issuer, c.notAfter.toUTC().toString(Qt::ISODate));
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    }
    return 0;
}

int signOnto(const StampOptions &o, const StampGeometry &geometry, const PdfStampRecord &record,
             double diameterMm, QString &error)
{
    std::unique_ptr<PasswordSource> password;
    if (!o.signing.passwordFile.isEmpty()) {
        QByteArray given;
        if (!readPasswordFile(o.signing.passwordFile, given, error))
            return 1;
        password = std::make_unique<FixedPassword>(given);
        given.fill('\0');
    } else {
        password = std::make_unique<TerminalPassword>(3);
    }
    const SigningRequest request{o.signing.nssdb, o.signing.certificate, password.get()};
    const PdfResult r =
        signPdfFile(o.file, o.outPdf, {o.page, o.atMm, diameterMm}, geometry, record, request);
    error = r.error;
    return r ? 0 : 1;
}

} // namespace pellimo
