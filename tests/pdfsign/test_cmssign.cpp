// SPDX-License-Identifier: MIT
// CMS signatures made by the library, checked with openssl (the signature verifies over the bytes,
// SHA-256, the signing-certificate-v2 attribute holds the hash of the signer's certificate, the
// chain is in); and signatures checked by the library, its own and openssl's, whole or damaged.
#include "pdfsign/cmssigner.h"
#include "pdfsign/cmsverify.h"
#include "testcerts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray joined(const QList<QByteArray> &pieces)
{
    QByteArray all;
    for (const QByteArray &p : pieces)
        all += p;
    return all;
}

// Bytes shaped like a PDF around its signature hole: what comes before and what comes after.
QList<QByteArray> pdfLike()
{
    return {QByteArrayLiteral("%PDF-1.7\n1 0 obj << /Type /Sig /Contents <"),
            QByteArrayLiteral("> >>\nendobj\ntrailer << /Root 2 0 R >>\n%%EOF\n")};
}

} // namespace

class TestCmsSign : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    QString m_db;

    QByteArray sign(const QString &nickname, const QList<QByteArray> &pieces, qsizetype &bound)
    {
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(m_db, error);
        const std::optional<CertInfo> cert =
            store ? store->pick(nickname, QDateTime::currentDateTimeUtc(), error) : std::nullopt;
        FixedPassword noPassword({});
        const std::unique_ptr<CmsSigner> signer =
            cert ? CmsSigner::start(*store, *cert, noPassword, error) : nullptr;
        if (!signer) {
            qWarning("%s", qPrintable(error));
            return {};
        }
        bound = signer->sizeBound();
        if (bound != cmsSizeBound(*store, *cert))
            return {};
        for (const QByteArray &p : pieces)
            signer->addData(p);
        const QByteArray der = signer->finish(error);
        if (der.isEmpty())
            qWarning("%s", qPrintable(error));
        return der;
    }

    QString file(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    // Something of NSS still held when a session ends is a leak.
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("NSS did not shut down")));
    }

    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.path());
        m_db = file(QStringLiteral("db"));
        QString error;
        const QStringList signers = {QStringLiteral("alice"), QStringLiteral("bob"),
                                     QStringLiteral("ecc")};
        QVERIFY2(makeTestCertificates(*m_pki, QStringList(signers) << QStringLiteral("ca"), error),
                 qPrintable(error));
        QVERIFY2(m_pki->makeDatabase(m_db, QString(), signers, error), qPrintable(error));
    }

    void opensslVerifies_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QStringList>("chain"); // subjects of the certificates carried, sorted
        const QStringList alice = {QStringLiteral("O = Example, CN = Taro Yamada")};
        QList<QByteArray> megabyte;
        for (int i = 0; i < 7; ++i)
            megabyte << QByteArray(150001 + i, char('a' + i));
        QTest::newRow("self-signed, around a hole") << "alice" << pdfLike() << alice;
        QTest::newRow("self-signed, one piece") << "alice" << QList{joined(pdfLike())} << alice;
        QTest::newRow("self-signed, nothing") << "alice" << QList<QByteArray>() << alice;
        QTest::newRow("self-signed, a megabyte in 7 pieces") << "alice" << megabyte << alice;
        QTest::newRow("CA-issued")
            << "bob" << pdfLike()
            << QStringList{QStringLiteral("CN = Pellimo Test CA"),
                           QStringLiteral("O = Example, CN = Hanako Suzuki")};
        QTest::newRow("EC key") << "ecc" << pdfLike()
                                << QStringList{QStringLiteral("CN = Ec Signer")};
    }

    void opensslVerifies()
    {
        QFETCH(QString, name);
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, chain);
        qsizetype bound = 0;
        const QByteArray der = sign(name, pieces, bound);
        QVERIFY(!der.isEmpty());
        QVERIFY2(der.size() <= bound && der.size() > bound - 1536,
                 qPrintable(QStringLiteral("%1 bytes, bound %2").arg(der.size()).arg(bound)));
        qInfo("%s: signature %lld bytes, bound %lld", qPrintable(name), qlonglong(der.size()),
              qlonglong(bound));

        const QString sig = file(name + QStringLiteral(".sig"));
        const QString data = file(QStringLiteral("data"));
        QVERIFY(writeFile(sig, der));
        QVERIFY(writeFile(data, joined(pieces)));
        const QString openssl = QStringLiteral("openssl");
        const QStringList verify = {QStringLiteral("cms"),     QStringLiteral("-verify"),
                                    QStringLiteral("-binary"), QStringLiteral("-inform"),
                                    QStringLiteral("DER"),     QStringLiteral("-noverify"),
                                    QStringLiteral("-in"),     sig,
                                    QStringLiteral("-content")};
        const Ran good = run(openssl, QStringList(verify) << data);
        QVERIFY2(good.status == 0, good.err.constData());
        QVERIFY(good.err.contains("Verification successful"));
        QVERIFY(writeFile(data, joined(pieces) + ' ')); // one byte more: no longer the signed bytes
        QVERIFY(run(openssl, QStringList(verify) << data).status != 0);

        const Ran print = run(openssl, {QStringLiteral("cms"), QStringLiteral("-cmsout"),
                                        QStringLiteral("-print"), QStringLiteral("-inform"),
                                        QStringLiteral("DER"), QStringLiteral("-in"), sig});
        QCOMPARE(print.status, 0);
        for (const char *part :
             {"contentType (1.2.840.113549.1.9.3)", "messageDigest (1.2.840.113549.1.9.4)",
              "id-smime-aa-signingCertificateV2 (1.2.840.113549.1.9.16.2.47)",
              "digestAlgorithm: \n          algorithm: sha256 (2.16.840.1.101.3.4.2.1)"})
            QVERIFY2(print.out.contains(part), part);
        QVERIFY(!print.out.contains("signingTime"));       // the time is the PDF's /M
        QVERIFY(print.out.contains("eContent: <ABSENT>")); // detached

        // The attribute's hash is that of the signer's certificate, as openssl encodes it.
        const Ran certDer = run(openssl, {QStringLiteral("x509"), QStringLiteral("-in"),
                                          m_pki->path(name, QStringLiteral("pem")),
                                          QStringLiteral("-outform"), QStringLiteral("DER")});
        QCOMPARE(certDer.status, 0);
        const QByteArray certHash =
            QCryptographicHash::hash(certDer.out, QCryptographicHash::Sha256).toHex().toUpper();
        const Ran parsed = run(openssl, {QStringLiteral("asn1parse"), QStringLiteral("-inform"),
                                         QStringLiteral("DER"), QStringLiteral("-in"), sig});
        const qsizetype oid = parsed.out.indexOf("id-smime-aa-signingCertificateV2");
        QVERIFY2(oid > 0, parsed.out.constData());
        const qsizetype octets = parsed.out.indexOf("OCTET STRING", oid);
        QVERIFY(octets > 0);
        const QByteArray line = parsed.out.mid(octets, parsed.out.indexOf('\n', octets) - octets);
        QCOMPARE(line.mid(line.lastIndexOf(':') + 1), certHash);

        const Ran certs = run(openssl, {QStringLiteral("pkcs7"), QStringLiteral("-inform"),
                                        QStringLiteral("DER"), QStringLiteral("-print_certs"),
                                        QStringLiteral("-noout"), QStringLiteral("-in"), sig});
        QCOMPARE(certs.status, 0);
        QStringList subjects;
        for (const QByteArray &line : certs.out.split('\n'))
            if (line.startsWith("subject="))
                subjects << QString::fromUtf8(line.mid(8));
        subjects.sort();
        QCOMPARE(subjects, chain);

        // DER, not the open-ended BER that NSS streams: openssl writes the same bytes back.
        const QString again = file(QStringLiteral("again.sig"));
        QCOMPARE(run(openssl,
                     {QStringLiteral("cms"), QStringLiteral("-cmsout"), QStringLiteral("-inform"),
                      QStringLiteral("DER"), QStringLiteral("-outform"), QStringLiteral("DER"),
                      QStringLiteral("-in"), sig, QStringLiteral("-out"), again})
                     .status,
                 0);
        QFile reencoded(again);
        QVERIFY(reencoded.open(QIODevice::ReadOnly));
        QVERIFY(reencoded.readAll() == der);
    }

    void checks_data()
    {
        QTest::addColumn<QString>("maker"); // a signer's nickname, or openssl with a digest
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("signer"); // who signed, also when the bytes changed
        QTest::addColumn<bool>("timed");
        QTest::addColumn<QString>("problem");
        const QString ok;
        const QString changed = QStringLiteral("The signed bytes have changed since signing");
        const QString notCms = QStringLiteral("The signature is not a CMS signature");
        QTest::newRow("own, self-signed") << "alice"
                                          << ""
                                          << "Taro Yamada" << false << ok;
        QTest::newRow("own, CA-issued") << "bob"
                                        << ""
                                        << "Hanako Suzuki" << false << ok;
        QTest::newRow("own, EC key") << "ecc"
                                     << ""
                                     << "Ec Signer" << false << ok;
        QTest::newRow("own, other pieces") << "alice"
                                           << "split"
                                           << "Taro Yamada" << false << ok;
        QTest::newRow("own, in a zero-padded hole") << "bob"
                                                    << "zeros"
                                                    << "Hanako Suzuki" << false << ok;
        QTest::newRow("openssl, SHA-256") << "sha256"
                                          << ""
                                          << "Taro Yamada" << true << ok;
        QTest::newRow("openssl, SHA-512") << "sha512"
                                          << ""
                                          << "Taro Yamada" << true << ok;
        QTest::newRow("own, a byte changed") << "alice"
                                             << "byte"
                                             << "Taro Yamada" << false << changed;
        QTest::newRow("own, EC, a byte changed") << "ecc"
                                                 << "byte"
                                                 << "Ec Signer" << false << changed;
        QTest::newRow("openssl, a byte changed") << "sha256"
                                                 << "byte"
                                                 << "Taro Yamada" << true << changed;
        QTest::newRow("own, signature value changed")
            << "alice"
            << "signature"
            << "Taro Yamada" << false << "The signature does not match the signer's certificate";
        QTest::newRow("openssl, signature value changed")
            << "sha256"
            << "signature"
            << "Taro Yamada" << true << "The signature does not match the signer's certificate";
        QTest::newRow("cut in half") << "alice"
                                     << "truncate"
                                     << "" << false << notCms;
        QTest::newRow("words after it") << "alice"
                                        << "trailing"
                                        << "" << false << notCms;
        QTest::newRow("not DER at all") << "alice"
                                        << "garbage"
                                        << "" << false << notCms;
        QTest::newRow("a certificate") << "alice"
                                       << "certificate"
                                       << "" << false << notCms;
        QTest::newRow("nothing") << "alice"
                                 << "empty"
                                 << "" << false << notCms;
    }

    void checks()
    {
        QFETCH(QString, maker);
        QFETCH(QString, damage);
        QFETCH(QString, signer);
        QFETCH(bool, timed);
        QFETCH(QString, problem);
        const QByteArray data = joined(pdfLike());
        QByteArray der;
        if (maker.startsWith(QStringLiteral("sha"))) {
            const QString in = file(QStringLiteral("data"));
            const QString out = file(QStringLiteral("openssl.sig"));
            QVERIFY(writeFile(in, data));
            const Ran made = run(
                QStringLiteral("openssl"),
                {QStringLiteral("cms"), QStringLiteral("-sign"), QStringLiteral("-binary"),
                 QStringLiteral("-md"), maker, QStringLiteral("-in"), in, QStringLiteral("-signer"),
                 m_pki->path(QStringLiteral("alice"), QStringLiteral("pem")),
                 QStringLiteral("-inkey"),
                 m_pki->path(QStringLiteral("alice"), QStringLiteral("key")),
                 QStringLiteral("-outform"), QStringLiteral("DER"), QStringLiteral("-out"), out});
            QVERIFY2(made.status == 0, made.err.constData());
            QFile f(out);
            QVERIFY(f.open(QIODevice::ReadOnly));
            der = f.readAll();
        } else {
            qsizetype bound = 0;
            der = sign(maker, pdfLike(), bound);
        }
        QVERIFY(!der.isEmpty());

        QList<QByteArray> pieces = pdfLike();
        if (damage == QStringLiteral("split"))
            pieces = {data.left(3), data.mid(3, 10), data.mid(13)};
        else if (damage == QStringLiteral("byte"))
            pieces[1][5] = pieces[1][5] ^ 1;
        else if (damage == QStringLiteral("zeros"))
            der += QByteArray(4000, '\0');
        else if (damage == QStringLiteral("signature"))
            der[der.size() - 10] = der[der.size() - 10] ^ 1;
        else if (damage == QStringLiteral("truncate"))
            der.truncate(der.size() / 2);
        else if (damage == QStringLiteral("trailing"))
            der += "words";
        else if (damage == QStringLiteral("garbage"))
            der = "%PDF-1.7 not a signature";
        else if (damage == QStringLiteral("certificate"))
            der = run(QStringLiteral("openssl"),
                      {QStringLiteral("x509"), QStringLiteral("-outform"), QStringLiteral("DER"),
                       QStringLiteral("-in"),
                       m_pki->path(QStringLiteral("alice"), QStringLiteral("pem"))})
                      .out;
        else if (damage == QStringLiteral("empty"))
            der.clear();

        const CmsCheck check = checkDetachedCms(der, {pieces.cbegin(), pieces.cend()});
        QCOMPARE(check.problem, problem);
        QCOMPARE(check.verified, problem.isEmpty());
        QCOMPARE(check.signer, signer);
        QCOMPARE(check.signingTime.has_value(), timed);
        if (check.signingTime)
            QVERIFY(qAbs(check.signingTime->secsTo(QDateTime::currentDateTimeUtc())) < 600);
    }
};

QTEST_GUILESS_MAIN(TestCmsSign)
#include "test_cmssign.moc"
