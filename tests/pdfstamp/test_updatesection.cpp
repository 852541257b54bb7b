// SPDX-License-Identifier: MIT
// The update section writer on files of every kind qpdf writes: IN stays the prefix of OUT, qpdf
// finds nothing wrong, pikepdf reads the new objects back (decrypted with the document's key), the
// new cross-reference section is of IN's kind, a second update stacks on the first, and a
// signature's hole is where the writer says.

#include "pdfstamp/objectencryption.h"
#include "pdfstamp/pdfstructure.h"
#include "pdfstamp/updatesection.h"
#include "pdftesttools.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <qpdf/QPDF.hh>
#include <unistd.h>

using namespace pellimo::testing;
using namespace pellimo::pdf;

namespace {

const QString kText = QStringLiteral(u"日本語 text (with a paren");
const QByteArray kData = "hello stream data";

// Appends one update to `in` giving the catalog the key `key`: a dictionary with a text string
// and a new stream. Returns the hole when `holeBytes` asks for a signature dictionary too.
std::optional<SignatureHole> appendUpdate(const QString &in, const QString &out, const char *key,
                                          int holeBytes = 0)
{
    const QByteArray inPath = QFile::encodeName(in);
    const int fd = ::open(inPath.constData(), O_RDONLY);
    const int64_t size = ::lseek(fd, 0, SEEK_END);
    XrefChain chain;
    if (!checkXrefChain(fd, size, chain))
        qFatal("the chain of %s cannot be followed", inPath.constData());
    QPDF pdf;
    pdf.processFile(inPath.constData());
    const int firstNew = int(pdf.getObjectCount()) + 1;

    QPDFObjectHandle stream = pdf.newStream(kData.toStdString());
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Text", QPDFObjectHandle::newUnicodeString(kText.toStdString()));
    dict.replaceKey("/Data", stream);
    QPDFObjectHandle root = pdf.getRoot();
    root.replaceKey(key, pdf.makeIndirectObject(dict));

    UpdateBase base;
    base.size = size;
    base.endsWithEol = readFile(in).endsWith('\n');
    base.prevXref = chain.startxref;
    base.xrefStream = chain.lastIsStream;
    base.trailer = pdf.getTrailer();
    base.firstFreeNumber = std::max<int>(firstNew, int(base.trailer.getKey("/Size").getIntValue()));
    const auto encryptor = ObjectEncryptor::forDocument(pdf);
    UpdateSection section(base, encryptor ? &*encryptor : nullptr);
    section.addChanged(root, firstNew);
    if (holeBytes) {
        QPDFObjectHandle sig = QPDFObjectHandle::newDictionary();
        sig.replaceKey("/Type", QPDFObjectHandle::newName("/Sig"));
        sig.replaceKey("/Reason", QPDFObjectHandle::newString("testing the hole"));
        sig = pdf.makeIndirectObject(sig);
        dict.replaceKey("/Sig", sig);
        section.addSignature(sig, holeBytes, firstNew);
    }
    const std::string bytes = section.write();
    ::close(fd);
    writeFile(out, readFile(in) + QByteArray::fromStdString(bytes));
    return section.hole();
}

// Whether the last cross-reference section of a file is a stream.
bool lastSectionIsStream(const QString &path)
{
    const QByteArray bytes = readFile(path);
    const qsizetype at = bytes.lastIndexOf("startxref");
    const qsizetype offset = bytes.mid(at + 9, 30).trimmed().split('\n').first().toLongLong();
    return !bytes.mid(offset, 4).startsWith("xref");
}

const char *kReadBack = R"(
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
for key in sys.argv[2:]:
    d = pdf.Root[key]
    print(str(d.Text) + "|" + d.Data.read_bytes().decode())
)";

} // namespace

class TestUpdateSection : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_qt; // a PDF as QPdfWriter writes it

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // IN made from the Qt PDF by qpdf with `args`.
    QString makeInput(const QString &name, const QStringList &args)
    {
        const QString in = path(name + QStringLiteral(".pdf"));
        const Ran r = run(QStringLiteral("qpdf"), args + QStringList{m_qt, in});
        return r.status == 0 ? in : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
        m_qt = path(QStringLiteral("qt.pdf"));
        QVERIFY(writeQtPdf(m_qt, 2));
    }

    void update_data()
    {
        QTest::addColumn<QStringList>("qpdfArgs");
        QTest::addColumn<bool>("stream"); // the last section is a stream
        QTest::newRow("table") << QStringList{"--object-streams=disable"} << false;
        QTest::newRow("stream, object streams") << QStringList{"--object-streams=generate"} << true;
        QTest::newRow("linearized, table")
            << QStringList{"--linearize", "--object-streams=disable"} << false;
        QTest::newRow("linearized, stream")
            << QStringList{"--linearize", "--object-streams=generate"} << true;
        QTest::newRow("RC4 40-bit")
            << QStringList{"--allow-weak-crypto", "--encrypt", "", "owner", "40", "--"} << false;
        QTest::newRow("RC4 128-bit")
            << QStringList{"--allow-weak-crypto", "--encrypt", "", "owner", "128",
                           "--use-aes=n",         "--"}
            << false;
        QTest::newRow("AES 128-bit, object streams") << QStringList{"--object-streams=generate",
                                                                    "--encrypt",
                                                                    "",
                                                                    "owner",
                                                                    "128",
                                                                    "--use-aes=y",
                                                                    "--"}
                                                     << true;
        QTest::newRow("AES 256-bit") << QStringList{"--encrypt", "", "owner", "256", "--"} << false;
    }

    void update()
    {
        QFETCH(QStringList, qpdfArgs);
        QFETCH(bool, stream);
        const QString in = makeInput(QString::fromLatin1(QTest::currentDataTag()), qpdfArgs);
        QVERIFY(!in.isEmpty());
        QCOMPARE(lastSectionIsStream(in), stream);
        const QString out = in + QStringLiteral(".1.pdf");
        const QString out2 = in + QStringLiteral(".2.pdf");
        appendUpdate(in, out, "/PellimoFirst");
        appendUpdate(out, out2, "/PellimoSecond");

        for (const auto &[before, after] : {std::pair{in, out}, std::pair{out, out2}}) {
            const QByteArray a = readFile(before), b = readFile(after);
            QVERIFY(b.size() > a.size());
            QVERIFY2(b.startsWith(a), "the file is not the prefix of its update");
            QCOMPARE(run(QStringLiteral("cmp"),
                         {QStringLiteral("-n"), QString::number(a.size()), before, after})
                         .status,
                     0);
            const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), after});
            QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
            QCOMPARE(lastSectionIsStream(after), stream);
        }
        const Ran read =
            pikepdf(QString::fromUtf8(kReadBack),
                    {out2, QStringLiteral("/PellimoFirst"), QStringLiteral("/PellimoSecond")});
        QVERIFY2(read.status == 0, qPrintable(read.err));
        const QString expected = kText + QLatin1Char('|') + QString::fromLatin1(kData);
        QCOMPARE(read.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 (QStringList{expected, expected}));
    }

    void fileWithoutFinalNewline()
    {
        const QString table =
            makeInput(QStringLiteral("nonl-source"), {QStringLiteral("--object-streams=disable")});
        QByteArray bytes = readFile(table);
        while (bytes.endsWith('\n') || bytes.endsWith('\r'))
            bytes.chop(1);
        const QString in = path(QStringLiteral("nonl.pdf"));
        QVERIFY(writeFile(in, bytes));
        const QString out = path(QStringLiteral("nonl-out.pdf"));
        appendUpdate(in, out, "/PellimoFirst");
        const QByteArray after = readFile(out);
        QVERIFY(after.startsWith(bytes));
        QVERIFY(after.at(bytes.size()) == '\n'); // %%EOF ends its line before the update begins
        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
    }

    void signatureHole_data()
    {
        QTest::addColumn<QStringList>("qpdfArgs");
        QTest::newRow("table") << QStringList{"--object-streams=disable"};
        QTest::newRow("stream") << QStringList{"--object-streams=generate"};
        QTest::newRow("AES 256-bit") << QStringList{"--encrypt", "", "owner", "256", "--"};
    }

    // The hole is where the writer says: a caller fills /ByteRange and /Contents in place, and
    // readers find the values it wrote, the /Contents never encrypted.
    void signatureHole()
    {
        QFETCH(QStringList, qpdfArgs);
        const QString in = makeInput(
            QStringLiteral("hole-") + QString::fromLatin1(QTest::currentDataTag()), qpdfArgs);
        QVERIFY(!in.isEmpty());
        const QString out = in + QStringLiteral(".signed.pdf");
        const std::optional<SignatureHole> hole = appendUpdate(in, out, "/PellimoFirst", 256);
        QVERIFY(hole.has_value());
        QByteArray bytes = readFile(out);
        QCOMPARE(bytes.at(hole->contentsOffset), '<');
        QCOMPARE(bytes.at(hole->contentsOffset + hole->contentsLength - 1), '>');
        QCOMPARE(hole->contentsLength, 2 * 256 + 2);
        QCOMPARE(bytes.at(hole->byteRangeOffset), '[');
        QCOMPARE(bytes.at(hole->byteRangeOffset + hole->byteRangeLength - 1), ']');

        // Fill it in as a signer would: the range first, then a digest of the bytes around.
        const std::string range = hole->byteRange(bytes.size());
        QCOMPARE(qsizetype(range.size()), qsizetype(hole->byteRangeLength));
        bytes.replace(hole->byteRangeOffset, hole->byteRangeLength,
                      QByteArray::fromStdString(range));
        const qsizetype after = hole->contentsOffset + hole->contentsLength;
        const QByteArray digest = QCryptographicHash::hash(
            bytes.left(hole->contentsOffset) + bytes.mid(after), QCryptographicHash::Sha256);
        const QByteArray hex = digest.toHex().leftJustified(2 * 256, '0');
        bytes.replace(hole->contentsOffset + 1, hex.size(), hex);
        QVERIFY(writeFile(out, bytes));

        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
        const Ran read = pikepdf(QStringLiteral(R"(
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
sig = pdf.Root.PellimoFirst.Sig
print(" ".join(str(int(v)) for v in sig.ByteRange))
print(bytes(sig.Contents)[:32].hex())
print(str(sig.Reason))
)"),
                                 {out});
        QVERIFY2(read.status == 0, qPrintable(read.err));
        const QStringList lines = read.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("0 %1 %2 %3")
                               .arg(hole->contentsOffset)
                               .arg(after)
                               .arg(bytes.size() - after));
        QCOMPARE(lines[1], QString::fromLatin1(digest.toHex()));
        QCOMPARE(lines[2], QStringLiteral("testing the hole"));
    }
};

QTEST_MAIN(TestUpdateSection)
#include "test_updatesection.moc"
