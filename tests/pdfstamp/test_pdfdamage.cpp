// SPDX-License-Identifier: MIT
// Files met in the wild: damaged ones are stamped as a repaired, rewritten copy with a notice;
// hostile ones (object streams, cross-reference streams or content that inflate to gigabytes,
// objects of millions of tokens) are refused at once, the process staying well under 512 MiB.

#include "pdfstamp/pdfstamp.h"
#include "stampcheck.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <sys/resource.h>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

enum class Mode { Annotation, Flatten };

const QByteArray kFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";

QByteArray plainPdf()
{
    return handmadePdf({"<< /Type /Catalog /Pages 2 0 R >>",
                        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
                        "/Resources << /Font << /F1 5 0 R >> >> >>",
                        contentObject(sampleContent(595, 842)), kFont});
}

// `data` followed by `zeros` zero bytes, deflated without ever holding the zeros.
QByteArray deflatedWithZeros(const QByteArray &data, qint64 zeros)
{
    std::string out;
    Pl_String sink("sink", nullptr, out);
    Pl_Flate deflate("deflate", &sink, Pl_Flate::a_deflate);
    deflate.write(reinterpret_cast<const unsigned char *>(data.constData()), size_t(data.size()));
    const std::string chunk(1 << 20, '\0');
    for (qint64 left = zeros; left > 0; left -= qint64(chunk.size()))
        deflate.write(reinterpret_cast<const unsigned char *>(chunk.data()),
                      size_t(std::min<qint64>(left, qint64(chunk.size()))));
    deflate.finish();
    return QByteArray::fromStdString(out);
}

// A one-page file whose page tree lives in an object stream, with a cross-reference stream.
// `objectStreamZeros` and `xrefZeros` pad those streams' decoded data with zero bytes (white
// space to a reader), `contentZeros` the page content.
QByteArray objectStreamPdf(qint64 objectStreamZeros, qint64 xrefZeros, qint64 contentZeros)
{
    const QByteArray pages = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";
    const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
                            "/Resources << /Font << /F1 6 0 R >> >> >>";
    const QByteArray header = "2 0 3 " + QByteArray::number(pages.size() + 1) + ' ';
    const QByteArray objstm =
        deflatedWithZeros(header + pages + ' ' + page + ' ', objectStreamZeros);
    const QByteArray content = deflatedWithZeros(sampleContent(595, 842), contentZeros);

    QByteArray out = "%PDF-1.7\n";
    QMap<int, qsizetype> at;
    auto object = [&](int n, const QByteArray &body) {
        at[n] = out.size();
        out += QByteArray::number(n) + " 0 obj\n" + body + "\nendobj\n";
    };
    object(1, "<< /Type /Catalog /Pages 2 0 R >>");
    object(4, "<< /Length " + QByteArray::number(content.size()) +
                  " /Filter /FlateDecode >>\nstream\n" + content + "\nendstream");
    object(5, "<< /Type /ObjStm /N 2 /First " + QByteArray::number(header.size()) + " /Length " +
                  QByteArray::number(objstm.size()) + " /Filter /FlateDecode >>\nstream\n" +
                  objstm + "\nendstream");
    object(6, kFont);
    const qsizetype xrefAt = out.size();
    QByteArray entries;
    auto entry = [&](int type, qint64 field1, int field2) {
        entries += char(type);
        for (int b = 3; b >= 0; --b)
            entries += char((field1 >> (8 * b)) & 0xFF);
        entries += char((field2 >> 8) & 0xFF);
        entries += char(field2 & 0xFF);
    };
    entry(0, 0, 65535);
    entry(1, at[1], 0);
    entry(2, 5, 0);
    entry(2, 5, 1);
    entry(1, at[4], 0);
    entry(1, at[5], 0);
    entry(1, at[6], 0);
    entry(1, xrefAt, 0);
    const QByteArray xref = deflatedWithZeros(entries, xrefZeros);
    out += "7 0 obj\n<< /Type /XRef /Size 8 /W [1 4 2] /Root 1 0 R /Filter /FlateDecode /Length " +
           QByteArray::number(xref.size()) + " >>\nstream\n" + xref + "\nendstream\nendobj\n";
    out += "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

qint64 peakMemoryMiB()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

PdfResult stamp(Mode mode, const QString &in, const QString &out)
{
    const StampGeometry g = testStamp(QStringLiteral("08.12.07"));
    const PdfStampPlace place{1, QPointF(20, 30), 25};
    return mode == Mode::Annotation ? stampPdfFile(in, out, place, g)
                                    : flattenPdfFile(in, out, place, g);
}

} // namespace

Q_DECLARE_METATYPE(Mode)

class TestPdfDamage : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
    }

    void repaired_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QByteArray>("pdf");
        const QByteArray good = plainPdf();
        const qsizetype startxref = good.lastIndexOf("startxref\n") + 10;
        const qsizetype xref = good.lastIndexOf("xref\n0 ");
        QByteArray wrongStart = good;
        wrongStart.replace(startxref, good.indexOf('\n', startxref) - startxref,
                           QByteArray::number(xref + 7));
        QByteArray offsetsOff = good;
        for (int n = 1; n <= 5; ++n) { // every object's entry three bytes early
            const qsizetype e = xref + 9 + n * 20;
            offsetsOff.replace(
                e, 10,
                QByteArray::number(good.mid(e, 10).toLongLong() - 3).rightJustified(10, '0'));
        }
        const QByteArray truncated = good.left(xref);
        QByteArray shortLength = good;
        const qsizetype length = good.indexOf("/Length ") + 8;
        const qsizetype lengthEnd = good.indexOf(' ', length);
        shortLength.replace(length, lengthEnd - length,
                            QByteArray::number(good.mid(length, lengthEnd - length).toInt() - 20));
        for (const Mode mode : {Mode::Annotation, Mode::Flatten}) {
            const QString m =
                mode == Mode::Annotation ? QStringLiteral("annotation") : QStringLiteral("flatten");
            QTest::newRow(qPrintable(QStringLiteral("wrong startxref, %1").arg(m)))
                << mode << wrongStart;
            QTest::newRow(qPrintable(QStringLiteral("xref offsets 3 bytes off, %1").arg(m)))
                << mode << offsetsOff;
            QTest::newRow(qPrintable(QStringLiteral("truncated before the xref table, %1").arg(m)))
                << mode << truncated;
            QTest::newRow(qPrintable(QStringLiteral("stream /Length too short, %1").arg(m)))
                << mode << shortLength;
        }
    }

    // Stamped as a rewritten copy that qpdf finds sound, with one line saying so.
    void repaired()
    {
        QFETCH(Mode, mode);
        QFETCH(QByteArray, pdf);
        const QString in = path(QStringLiteral("damaged.pdf"));
        const QString out = path(QStringLiteral("repaired.pdf"));
        QVERIFY(writeFile(in, pdf));
        QVERIFY(!qpdfProblem(in).isEmpty()); // the file is damaged indeed
        const PdfResult r = stamp(mode, in, out);
        QVERIFY2(r, qPrintable(r.error));
        QVERIFY2(r.notice.startsWith(QStringLiteral("damaged.pdf is damaged (")) &&
                     r.notice.contains(QStringLiteral("repaired, rewritten")),
                 qPrintable(r.notice));
        QVERIFY(!r.notice.contains(m_dir.path()));
        QCOMPARE(qpdfProblem(out), QString());
        QCOMPARE(stampProblem(Renderer::Mupdf, in, out, 1, QRectF(20, 30, 25, 25), 1), QString());
    }

    void hostile_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("says");       // empty: stamped
        const qint64 half = 512LL * 1024 * 1024; // 32 times the limit of an object stream
        const QByteArray objectBomb = objectStreamPdf(half, 0, 0);
        const QByteArray xrefBomb = objectStreamPdf(0, half, 0);
        const QByteArray contentBomb = objectStreamPdf(0, 0, half);
        QByteArray bigArray = "[";
        for (int i = 0; i < 3'000'000; ++i)
            bigArray += "0 ";
        const QByteArray manyTokens = handmadePdf(
            {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Big 4 0 R >>", bigArray + ']'});
        for (const Mode mode : {Mode::Annotation, Mode::Flatten}) {
            const QString m =
                mode == Mode::Annotation ? QStringLiteral("annotation") : QStringLiteral("flatten");
            QTest::newRow(qPrintable(QStringLiteral("sound object streams, %1").arg(m)))
                << mode << objectStreamPdf(0, 0, 0) << QString();
            QTest::newRow(qPrintable(QStringLiteral("object stream of 512 MiB, %1").arg(m)))
                << mode << objectBomb << "object streams unpack to more than Pellimo reads";
            QTest::newRow(qPrintable(QStringLiteral("xref stream of 512 MiB, %1").arg(m)))
                << mode << xrefBomb << "cross-reference data unpacks to more than it holds";
            QTest::newRow(qPrintable(QStringLiteral("array of 3 million numbers, %1").arg(m)))
                << mode << manyTokens << "objects are larger than Pellimo reads";
        }
        // The annotation never reads the page content; drawing into the page must.
        QTest::newRow("content of 512 MiB, annotation")
            << Mode::Annotation << contentBomb << QString();
        QTest::newRow("content of 512 MiB, flatten")
            << Mode::Flatten << contentBomb << "the content of page 1 unpacks to more than";
    }

    void hostile()
    {
        QFETCH(Mode, mode);
        QFETCH(QByteArray, pdf);
        QFETCH(QString, says);
        const QString in = path(QStringLiteral("hostile.pdf"));
        const QString out = path(QStringLiteral("hostile-out.pdf"));
        QVERIFY(writeFile(in, pdf));
        QFile::remove(out);
        QElapsedTimer timer;
        timer.start();
        const PdfResult r = stamp(mode, in, out);
        qInfo("%lld ms, peak memory of the test so far %lld MiB", timer.elapsed(), peakMemoryMiB());
        if (says.isEmpty()) {
            QVERIFY2(r, qPrintable(r.error));
            if (pdf.size() < 1024 * 1024) // a renderer would inflate the large content itself
                QCOMPARE(stampProblem(Renderer::Mupdf, in, out, 1, QRectF(20, 30, 25, 25), 1),
                         QString());
        } else {
            QVERIFY2(r.error.contains(says), qPrintable(r.error));
            QVERIFY(r.error.startsWith(QStringLiteral("hostile.pdf is larger than Pellimo reads")));
            QVERIFY(!QFile::exists(out));
        }
        QVERIFY2(peakMemoryMiB() < 512, qPrintable(QString::number(peakMemoryMiB())));
    }
};

QTEST_MAIN(TestPdfDamage)
#include "test_pdfdamage.moc"
