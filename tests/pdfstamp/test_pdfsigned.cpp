// SPDX-License-Identifier: MIT
// A PDF signed beforehand (a self-signed certificate from openssl, imported with pk12util into a
// test NSS database, signed with pdfsig -add-signature) keeps a valid signature when the stamp is
// added as an annotation; drawing the stamp into the page, or rewriting a damaged signed file, is
// refused with a message naming the signature.

#include "pdfstamp/pdfstamp.h"
#include "stampcheck.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

class TestPdfSigned : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_nss;    // the NSS database, "sql:" folder
    QString m_signed; // a two-page PDF with one signature
    StampGeometry m_stamp;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool signatureValid(const QString &pdf, QString &said)
    {
        const Ran r = run(QStringLiteral("pdfsig"), {QStringLiteral("-nssdir"), m_nss, pdf});
        said = r.out + r.err;
        return r.status == 0 &&
               said.contains(QStringLiteral("Signature Validation: Signature is Valid."));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
        m_stamp = testStamp(QStringLiteral("08.12.07"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("nss")));
        m_nss = QStringLiteral("sql:") + path(QStringLiteral("nss"));
        const QList<QPair<QString, QStringList>> steps = {
            {QStringLiteral("certutil"),
             {QStringLiteral("-N"), QStringLiteral("-d"), m_nss,
              QStringLiteral("--empty-password")}},
            {QStringLiteral("openssl"),
             {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
              QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
              path(QStringLiteral("key.pem")), QStringLiteral("-out"),
              path(QStringLiteral("cert.pem")), QStringLiteral("-days"), QStringLiteral("30"),
              QStringLiteral("-subj"), QStringLiteral("/CN=Pellimo Test Signer")}},
            {QStringLiteral("openssl"),
             {QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-inkey"),
              path(QStringLiteral("key.pem")), QStringLiteral("-in"),
              path(QStringLiteral("cert.pem")), QStringLiteral("-out"),
              path(QStringLiteral("id.p12")), QStringLiteral("-passout"),
              QStringLiteral("pass:secret"), QStringLiteral("-name"), QStringLiteral("signer")}},
            {QStringLiteral("pk12util"),
             {QStringLiteral("-i"), path(QStringLiteral("id.p12")), QStringLiteral("-d"), m_nss,
              QStringLiteral("-W"), QStringLiteral("secret")}},
        };
        for (const auto &[program, args] : steps) {
            const Ran r = run(program, args);
            QVERIFY2(r.status == 0, qPrintable(program + QLatin1Char(' ') + r.out + r.err));
        }
        const QString plain = path(QStringLiteral("plain.pdf"));
        QVERIFY(writeQtPdf(plain, 2));
        m_signed = path(QStringLiteral("signed.pdf"));
        const Ran sign =
            run(QStringLiteral("pdfsig"),
                {QStringLiteral("-nssdir"), m_nss, QStringLiteral("-nick"),
                 QStringLiteral("signer"), QStringLiteral("-add-signature"),
                 QStringLiteral("-new-signature-field-name"), QStringLiteral("Approval"),
                 QStringLiteral("-reason"), QStringLiteral("approved"), plain, m_signed});
        QVERIFY2(sign.status == 0, qPrintable(sign.out + sign.err));
        QString said;
        QVERIFY2(signatureValid(m_signed, said), qPrintable(said));
    }

    void stampsKeepTheSignature_data()
    {
        QTest::addColumn<int>("stamps");
        QTest::newRow("one stamp") << 1;
        QTest::newRow("two stamps in a row") << 2;
    }

    void stampsKeepTheSignature()
    {
        QFETCH(int, stamps);
        QString in = m_signed;
        for (int i = 1; i <= stamps; ++i) {
            const QString out = path(QStringLiteral("stamped-%1-%2.pdf").arg(stamps).arg(i));
            const PdfResult r = stampPdfFile(in, out, {i, QPointF(30, 40), 25}, m_stamp);
            QVERIFY2(r, qPrintable(r.error));
            QCOMPARE(prefixProblem(in, out), QString());
            QCOMPARE(qpdfProblem(out), QString());
            QCOMPARE(stampProblem(Renderer::Poppler, in, out, i, QRectF(30, 40, 25, 25), 2),
                     QString());
            in = out;
        }
        QString said;
        QVERIFY2(signatureValid(in, said), qPrintable(said));
        QList<PdfStampEntry> found;
        QVERIFY(listPdfStamps(in, found));
        QCOMPARE(found.size(), stamps);
    }

    void refused_data()
    {
        QTest::addColumn<bool>("flatten");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("says");
        QTest::newRow("drawn into the page")
            << true << false
            << "signed.pdf is signed (\"Approval\" by Pellimo Test Signer): drawing the stamp";
        QTest::newRow("damaged, as an annotation")
            << false << true
            << "and signed (\"Approval\" by Pellimo Test Signer): a repaired copy would break the "
               "signature";
        QTest::newRow("damaged, drawn into the page")
            << true << true << "is signed (\"Approval\" by Pellimo Test Signer)";
    }

    void refused()
    {
        QFETCH(bool, flatten);
        QFETCH(bool, damaged);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("signed.pdf"));
        QByteArray bytes = readFile(m_signed);
        if (damaged) { // startxref pointing a few bytes past the section
            const qsizetype at = bytes.lastIndexOf("startxref\n") + 10;
            const qsizetype end = bytes.indexOf('\n', at);
            bytes.replace(at, end - at,
                          QByteArray::number(bytes.mid(at, end - at).toLongLong() + 5));
        }
        QVERIFY(writeFile(in, bytes));
        const QString out = dir.filePath(QStringLiteral("out.pdf"));
        const PdfStampPlace place{1, QPointF(30, 40), 25};
        const PdfResult r = flatten ? flattenPdfFile(in, out, place, m_stamp)
                                    : stampPdfFile(in, out, place, m_stamp);
        QVERIFY2(r.error.contains(says), qPrintable(r.error));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestPdfSigned)
#include "test_pdfsigned.moc"
