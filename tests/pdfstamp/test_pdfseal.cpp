// SPDX-License-Identifier: MIT
// signPdfFile: the stamp as the visible mark of a signature, checked with tools of other projects:
// pdfsig reports the signature valid with the signer's name, openssl verifies the CMS signature
// over the bytes the byte range names, pdftoppm and mutool draw the stamp where it was placed, a
// second signed stamp and a signature made beforehand by pdfsig stay valid, and a changed byte is
// found by listPdfStamps.

#include "pdfsign/password.h"
#include "pdfstamp/signpdf.h"
#include "stampcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QString kSigner = QStringLiteral("Hanako Yamada");

PdfStampRecord record()
{
    PdfStampRecord r;
    r.who = QStringLiteral(u"山田 花子");
    r.dateText = QStringLiteral("08.12.07");
    r.user = 1;
    r.when = QDateTime::currentDateTime().toTimeZone(QTimeZone(9 * 3600));
    return r;
}

// The signatures pdfsig finds: for each, its signer and whether it is valid.
struct PdfsigReport {
    QStringList signers;
    QList<bool> valid;
    QString text;
};

} // namespace

class TestPdfSeal : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;     // the NSS database folder
    QString m_plain;  // a two-page PDF written by Qt (a cross-reference table)
    QString m_stream; // the same with object streams (a cross-reference stream)
    QString m_turned; // the same with page 1 turned by 90 degrees
    StampGeometry m_stamp;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool step(const QString &program, const QStringList &args, QString &said)
    {
        const Ran r = run(program, args);
        said = program + QLatin1Char(' ') + r.out + r.err;
        return r.status == 0;
    }

    PdfsigReport pdfsig(const QString &pdf)
    {
        const Ran r = run(QStringLiteral("pdfsig"),
                          {QStringLiteral("-nssdir"), QStringLiteral("sql:") + m_db, pdf});
        PdfsigReport report;
        report.text = r.out + r.err;
        for (const QString &line : r.out.split(QLatin1Char('\n'))) {
            if (line.contains(QStringLiteral("Signer Certificate Common Name:")))
                report.signers << line.section(QLatin1Char(':'), 1).trimmed();
            if (line.contains(QStringLiteral("Signature Validation:")))
                report.valid << line.contains(QStringLiteral("Signature is Valid."));
        }
        return report;
    }

    // openssl's check of the signature of the `index`th signature dictionary (in file order):
    // empty when its byte range is [0 a b c] with the /Contents hole between a and b and ending
    // at `end`, and openssl verifies the signature over those bytes.
    QString opensslProblem(const QString &pdf, int index, qint64 end)
    {
        const QByteArray bytes = readFile(pdf);
        static const QRegularExpression range(
            QStringLiteral(R"(/ByteRange\s*\[\s*(\d+)\s+(\d+)\s+(\d+)\s+(\d+)\s*\])"));
        QRegularExpressionMatchIterator it = range.globalMatch(QString::fromLatin1(bytes));
        QRegularExpressionMatch m;
        for (int i = 0; i <= index; ++i) {
            if (!it.hasNext())
                return QStringLiteral("no byte range %1").arg(index);
            m = it.next();
        }
        const qint64 a = m.captured(1).toLongLong(), b = m.captured(2).toLongLong();
        const qint64 c = m.captured(3).toLongLong(), d = m.captured(4).toLongLong();
        if (a != 0 || c + d != end)
            return QStringLiteral("the byte range [%1 %2 %3 %4] does not cover the file up to %5")
                .arg(a)
                .arg(b)
                .arg(c)
                .arg(d)
                .arg(end);
        const QByteArray hole = bytes.mid(b, c - b);
        if (!hole.startsWith('<') || !hole.endsWith('>'))
            return QStringLiteral("the hole is not the /Contents string: %1").arg(hole.left(20));
        QByteArray der = QByteArray::fromHex(hole.mid(1, hole.size() - 2));
        while (der.endsWith('\0'))
            der.chop(1);
        const QString sig = path(QStringLiteral("sig.der")), data = path(QStringLiteral("data"));
        if (!writeFile(sig, der) || !writeFile(data, bytes.left(b) + bytes.mid(c, d)))
            return QStringLiteral("cannot write the pieces");
        const Ran r =
            run(QStringLiteral("openssl"),
                {QStringLiteral("cms"), QStringLiteral("-verify"), QStringLiteral("-binary"),
                 QStringLiteral("-inform"), QStringLiteral("DER"), QStringLiteral("-noverify"),
                 QStringLiteral("-in"), sig, QStringLiteral("-content"), data,
                 QStringLiteral("-out"), QStringLiteral("/dev/null")});
        return r.status == 0 ? QString() : r.out + r.err;
    }

    PdfResult sign(const QString &in, const QString &out, const PdfStampPlace &place)
    {
        FixedPassword password("");
        return signPdfFile(in, out, place, m_stamp, record(), {m_db, kSigner, &password});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
        m_stamp = testStamp(QStringLiteral("08.12.07"));
        m_db = path(QStringLiteral("nss"));
        QVERIFY(QDir().mkpath(m_db));
        const QString sql = QStringLiteral("sql:") + m_db;
        const QString key = path(QStringLiteral("key.pem")), pem = path(QStringLiteral("cert.pem"));
        const QString p12 = path(QStringLiteral("id.p12"));
        QString said;
        QVERIFY2(step(QStringLiteral("certutil"),
                      {QStringLiteral("-N"), QStringLiteral("-d"), sql,
                       QStringLiteral("--empty-password")},
                      said),
                 qPrintable(said));
        QVERIFY2(step(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), key, QStringLiteral("-out"), pem,
                       QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=") + kSigner + QStringLiteral("/O=Example"),
                       QStringLiteral("-addext"),
                       QStringLiteral("keyUsage=critical,digitalSignature,nonRepudiation")},
                      said),
                 qPrintable(said));
        QVERIFY2(
            step(QStringLiteral("openssl"),
                 {QStringLiteral("pkcs12"), QStringLiteral("-export"), QStringLiteral("-inkey"),
                  key, QStringLiteral("-in"), pem, QStringLiteral("-out"), p12,
                  QStringLiteral("-passout"), QStringLiteral("pass:secret"),
                  QStringLiteral("-name"), QStringLiteral("hanako")},
                 said),
            qPrintable(said));
        QVERIFY2(step(QStringLiteral("pk12util"),
                      {QStringLiteral("-i"), p12, QStringLiteral("-d"), sql, QStringLiteral("-W"),
                       QStringLiteral("secret")},
                      said),
                 qPrintable(said));
        m_plain = path(QStringLiteral("plain.pdf"));
        QVERIFY(writeQtPdf(m_plain, 2));
        m_stream = path(QStringLiteral("stream.pdf"));
        QVERIFY2(step(QStringLiteral("qpdf"),
                      {QStringLiteral("--object-streams=generate"), m_plain, m_stream}, said),
                 qPrintable(said));
        m_turned = path(QStringLiteral("turned.pdf"));
        QVERIFY2(step(QStringLiteral("qpdf"), {QStringLiteral("--rotate=+90:1"), m_plain, m_turned},
                      said),
                 qPrintable(said));
    }

    void signedStamp_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("cross-reference table") << QStringLiteral("plain");
        QTest::newRow("cross-reference stream") << QStringLiteral("stream");
        QTest::newRow("turned page") << QStringLiteral("turned");
    }

    void signedStamp()
    {
        QFETCH(QString, input);
        const QString in = input == QLatin1String("plain")    ? m_plain
                           : input == QLatin1String("stream") ? m_stream
                                                              : m_turned;
        const QString out = path(input + QStringLiteral("-signed.pdf"));
        const QRectF square(40, 60, 25, 25);
        const PdfResult r = sign(in, out, {1, square.topLeft(), square.width()});
        QVERIFY2(r, qPrintable(r.error));

        QCOMPARE(prefixProblem(in, out), QString());
        QCOMPARE(qpdfProblem(out), QString());
        const PdfsigReport report = pdfsig(out);
        QCOMPARE(report.signers, QStringList{kSigner});
        QVERIFY2(report.valid == QList<bool>{true}, qPrintable(report.text));
        QCOMPARE(opensslProblem(out, 0, QFileInfo(out).size()), QString());
        for (Renderer renderer : {Renderer::Poppler, Renderer::Mupdf})
            QCOMPARE(stampProblem(renderer, in, out, 1, square, 2), QString());

        // The field, its widget and the signature dictionary, as pikepdf reads them.
        const Ran keys = pikepdf(
            QStringLiteral(
                "import sys, pikepdf\n"
                "p = pikepdf.open(sys.argv[1])\n"
                "f = p.Root.AcroForm\n"
                "w = f.Fields[-1]\n"
                "v = w.V\n"
                "print(int(f.SigFlags), w.FT, w.Subtype, w.AP.N.Subtype, v.Filter, v.SubFilter,\n"
                "      str(v.Reason), str(v.Name), w.objgen in [a.objgen for a in "
                "p.pages[0].Annots])\n"),
            {out});
        QCOMPARE(keys.out.trimmed(),
                 QStringLiteral(u"3 /Sig /Widget /Form /Adobe.PPKLite /ETSI.CAdES.detached 押印 ") +
                     kSigner + QStringLiteral(" True"));

        QList<PdfStampEntry> found;
        QVERIFY(listPdfStamps(out, found));
        QCOMPARE(found.size(), 1);
        QVERIFY(found[0].pellimo);
        QVERIFY(found[0].signature);
        QCOMPARE(found[0].signature->signer, kSigner);
        QVERIFY2(found[0].signature->verified, qPrintable(found[0].signature->problem));
        // The time of signing, read back: the record's time when the test signed, a moment ago.
        const qint64 age = found[0].signature->when.secsTo(record().when);
        QVERIFY2(age >= 0 && age < 120, qPrintable(QString::number(age)));
        QVERIFY(describeStampEntry(found[0]).contains(QStringLiteral("the signature is valid")));
    }

    // Each signed stamp is one more update: the earlier signatures, Pellimo's or another
    // program's, keep covering the bytes they covered, and stay valid.
    void signaturesInARow_data()
    {
        QTest::addColumn<bool>("signedBefore");
        QTest::newRow("two signed stamps") << false;
        QTest::newRow("signed by pdfsig, then two signed stamps") << true;
    }

    void signaturesInARow()
    {
        QFETCH(bool, signedBefore);
        QString in = m_plain;
        QStringList signers;
        if (signedBefore) {
            in = path(QStringLiteral("pdfsig-signed.pdf"));
            QString said;
            QVERIFY2(step(QStringLiteral("pdfsig"),
                          {QStringLiteral("-nssdir"), QStringLiteral("sql:") + m_db,
                           QStringLiteral("-nick"), QStringLiteral("hanako"),
                           QStringLiteral("-add-signature"), m_plain, in},
                          said),
                     qPrintable(said));
            signers << kSigner;
        }
        QList<qint64> ends;
        for (int i = 1; i <= 2; ++i) {
            const QString out = path(QStringLiteral("row-%1-%2.pdf").arg(signedBefore).arg(i));
            const PdfResult r = sign(in, out, {i, QPointF(30 + 10 * i, 50), 22});
            QVERIFY2(r, qPrintable(r.error));
            QCOMPARE(prefixProblem(in, out), QString());
            // The growth: the stamp's objects and the room kept for the signature, which holds
            // the certificate.
            QVERIFY2(QFileInfo(out).size() - QFileInfo(in).size() <= 64 * 1024 + 4096,
                     qPrintable(QString::number(QFileInfo(out).size() - QFileInfo(in).size())));
            ends << QFileInfo(out).size();
            signers << kSigner;
            in = out;
        }
        const PdfsigReport report = pdfsig(in);
        QCOMPARE(report.signers, signers);
        QVERIFY2(!report.valid.contains(false), qPrintable(report.text));
        const int first = signedBefore ? 1 : 0;
        for (int i = 0; i < 2; ++i)
            QCOMPARE(opensslProblem(in, first + i, ends[i]), QString());
        QList<PdfStampEntry> found;
        QVERIFY(listPdfStamps(in, found));
        QCOMPARE(found.size(), 2);
        for (const PdfStampEntry &e : found) {
            QVERIFY(e.signature);
            QVERIFY2(e.signature->verified, qPrintable(e.signature->problem));
        }
    }

    // What the document allows is asked before the certificate: nothing is written, and the
    // input stays as it was.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("outIsIn");
        QTest::addColumn<QString>("says");
        auto certified = [](int p) {
            return handmadePdf(
                {"<< /Type /Catalog /Pages 2 0 R /Perms << /DocMDP 5 0 R >> >>",
                 "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                 "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R >>",
                 contentObject(sampleContent(595, 842)),
                 "<< /Type /Sig /Reference [<< /Type /SigRef /TransformMethod /DocMDP "
                 "/TransformParams << /P " +
                     QByteArray::number(p) + " >> >>] >>"});
        };
        QByteArray damaged = readFile(m_plain);
        const qsizetype at = damaged.lastIndexOf("startxref\n") + 10;
        damaged.insert(at, '9');
        QTest::newRow("certified, no changes") << certified(1) << 1 << false << "is certified";
        QTest::newRow("certified, form filling only")
            << certified(2) << 1 << false << "is certified";
        QTest::newRow("damaged") << damaged << 1 << false << "is damaged";
        QTest::newRow("no such page") << readFile(m_plain) << 3 << false << "does not exist";
        QTest::newRow("output is the input")
            << readFile(m_plain) << 1 << true << "the output file is the input file";
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, page);
        QFETCH(bool, outIsIn);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.pdf"));
        QVERIFY(writeFile(in, bytes));
        const QString out = outIsIn ? in : dir.filePath(QStringLiteral("out.pdf"));
        const PdfResult r = sign(in, out, {page, QPointF(40, 60), 25});
        QVERIFY2(r.error.contains(says), qPrintable(r.error));
        QVERIFY(!r.error.contains(QLatin1Char('\n')));
        QCOMPARE(readFile(in), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"in.pdf"});
    }

    // Annotations and signatures allowed by the certification: the signed stamp goes in.
    void certifiedForAnnotations()
    {
        const QString in = path(QStringLiteral("certified3.pdf"));
        QVERIFY(writeFile(
            in,
            handmadePdf({"<< /Type /Catalog /Pages 2 0 R /Perms << /DocMDP 5 0 R >> >>",
                         "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R >>",
                         contentObject(sampleContent(595, 842)),
                         "<< /Type /Sig /Reference [<< /Type /SigRef /TransformMethod /DocMDP "
                         "/TransformParams << /P 3 >> >>] >>"})));
        const QString out = path(QStringLiteral("certified3-signed.pdf"));
        const PdfResult r = sign(in, out, {1, QPointF(40, 60), 25});
        QVERIFY2(r, qPrintable(r.error));
        QCOMPARE(qpdfProblem(out), QString());
        QCOMPARE(pdfsig(out).valid, QList<bool>{true});
    }

    // A byte changed inside what the signature covers: pdfsig and listPdfStamps both see it.
    void changedByteIsFound()
    {
        const QString out = path(QStringLiteral("changed.pdf"));
        const PdfResult r = sign(m_plain, out, {1, QPointF(40, 60), 25});
        QVERIFY2(r, qPrintable(r.error));
        QByteArray bytes = readFile(out);
        const qsizetype at = bytes.indexOf("/Producer");
        QVERIFY(at > 0);
        bytes[at + 12] = bytes[at + 12] == 'x' ? 'y' : 'x';
        QVERIFY(writeFile(out, bytes));
        QList<PdfStampEntry> found;
        QVERIFY(listPdfStamps(out, found));
        QCOMPARE(found.size(), 1);
        QVERIFY(found[0].signature);
        QVERIFY(!found[0].signature->verified);
        QVERIFY(describeStampEntry(found[0]).contains(QStringLiteral("NOT valid")));
        QCOMPARE(pdfsig(out).valid, QList<bool>{false});
    }
};

QTEST_MAIN(TestPdfSeal)
#include "test_pdfseal.moc"
