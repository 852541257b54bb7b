// SPDX-License-Identifier: MIT
// Pages that look fine and used to get no visible stamp, for the annotation and for the stamp
// drawn into the page alike: a CropBox reaching outside the MediaBox, unbalanced q/Q in the
// content, /UserUnit, /Rotate -90 and 450, a page without /Resources; and pages whose numbers
// cannot be used (a /Rotate that is not a whole quarter turn, boxes of 1e30), refused, as is a
// stamp too small to read.

#include "pdfstamp/pdfstamp.h"
#include "stampcheck.h"

#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

enum class Mode { Annotation, Flatten };

// One A4 page (595 x 842 points unless the page keys say otherwise), made by hand: `pageKeys`
// go into the page dictionary, `content` before the sample drawing.
QByteArray onePage(const QByteArray &pageKeys, const QByteArray &contentBefore = {},
                   bool resources = true)
{
    const QByteArray font = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    QByteArray page = "<< /Type /Page /Parent 2 0 R /Contents 4 0 R " + pageKeys;
    if (resources)
        page += " /Resources << /Font << /F1 5 0 R >> >>";
    page += " >>";
    const QByteArray content = contentBefore + (resources ? sampleContent(595, 842)
                                                          : QByteArray("0.3 g 60 60 80 80 re f\n"));
    return handmadePdf({"<< /Type /Catalog /Pages 2 0 R >>",
                        "<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 595 842] >>", page,
                        contentObject(content), font});
}

PdfResult stamp(Mode mode, const QString &in, const QString &out, const PdfStampPlace &place)
{
    const StampGeometry g = testStamp(QStringLiteral("08.12.07"));
    return mode == Mode::Annotation ? stampPdfFile(in, out, place, g)
                                    : flattenPdfFile(in, out, place, g);
}

} // namespace

Q_DECLARE_METATYPE(Mode)

class TestPdfPlacement : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static void bothModes(const char *name, const QByteArray &pdf, const std::optional<QPointF> &at,
                          double size, const QRectF &square, bool poppler)
    {
        for (const Mode mode : {Mode::Annotation, Mode::Flatten})
            QTest::newRow(QStringLiteral("%1, %2")
                              .arg(QLatin1String(name), mode == Mode::Annotation
                                                            ? QStringLiteral("annotation")
                                                            : QStringLiteral("flatten"))
                              .toLatin1()
                              .constData())
                << mode << pdf << at << size << square << poppler;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
    }

    void placed_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<std::optional<QPointF>>("atMm");
        QTest::addColumn<double>("sizeMm");
        QTest::addColumn<QRectF>("squareMm"); // as shown, from the visible box's top-left corner
        QTest::addColumn<bool>("poppler");    // pdftoppm shows the page as viewers do

        const double a4w = 595 / 72.0 * 25.4;
        // The visible part of a CropBox reaching out of the page is 500 x 842 points.
        const double cropW = 500 / 72.0 * 25.4;
        bothModes("CropBox reaching outside the MediaBox, default place",
                  onePage("/CropBox [-200 -200 500 900]"), std::nullopt, 20,
                  QRectF(cropW - 15 - 20, 15, 20, 20), true);
        bothModes("CropBox inside the MediaBox", onePage("/CropBox [100 100 500 700]"),
                  QPointF(10, 10), 20, QRectF(10, 10, 20, 20), true);
        bothModes("content leaving two q open with a scale",
                  onePage({}, "q 0.5 0 0 0.5 0 0 cm q 0.5 0 0 0.5 0 0 cm\n"), QPointF(120, 40), 30,
                  QRectF(120, 40, 30, 30), true);
        // pdftoppm draws nothing of such a page.
        bothModes("content with more Q than q, then a scale",
                  onePage({}, "Q Q 0.5 0 0 0.5 100 0 cm\n"), QPointF(120, 40), 30,
                  QRectF(120, 40, 30, 30), false);
        bothModes("UserUnit 2", onePage("/UserUnit 2 /MediaBox [0 0 297.5 421]"), QPointF(20, 30),
                  25, QRectF(20, 30, 25, 25), false);
        bothModes("UserUnit 0.5", onePage("/UserUnit 0.5 /MediaBox [0 0 1190 1684]"),
                  QPointF(20, 30), 25, QRectF(20, 30, 25, 25), false);
        // Turned as shown: the page is 842 points wide, 595 high.
        bothModes("Rotate -90", onePage("/Rotate -90"), QPointF(40, 30), 30, QRectF(40, 30, 30, 30),
                  true);
        bothModes("Rotate 450", onePage("/Rotate 450"), QPointF(40, 30), 30, QRectF(40, 30, 30, 30),
                  true);
        bothModes("Rotate 90 inherited",
                  handmadePdf(
                      {"<< /Type /Catalog /Pages 2 0 R >>",
                       "<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 595 842] /Rotate 90 "
                       "/Resources << /Font << /F1 5 0 R >> >> >>",
                       "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
                       contentObject(sampleContent(595, 842)),
                       "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"}),
                  QPointF(40, 30), 30, QRectF(40, 30, 30, 30), true);
        bothModes("page without Resources", onePage({}, {}, false), std::nullopt, 20,
                  QRectF(a4w - 15 - 20, 15, 20, 20), true);
    }

    // The stamp's red ink fills the square where it was placed, as the viewers show the page, and
    // nothing else on the page changed; the stamp reads as it does on a plain upright page.
    void placed()
    {
        QFETCH(Mode, mode);
        QFETCH(QByteArray, pdf);
        QFETCH(std::optional<QPointF>, atMm);
        QFETCH(double, sizeMm);
        QFETCH(QRectF, squareMm);
        QFETCH(bool, poppler);
        const QString in = path(QStringLiteral("in-%1.pdf").arg(QTest::currentDataTag()));
        const QString out = path(QStringLiteral("out-%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(writeFile(in, pdf));
        QCOMPARE(qpdfProblem(in), QString());
        const PdfResult r = stamp(mode, in, out, {1, atMm, sizeMm});
        QVERIFY2(r, qPrintable(r.error));
        QCOMPARE(r.notice, QString());
        QCOMPARE(qpdfProblem(out), QString());
        if (mode == Mode::Annotation)
            QCOMPARE(prefixProblem(in, out), QString());
        QCOMPARE(stampProblem(Renderer::Mupdf, in, out, 1, squareMm, 1), QString());
        if (poppler)
            QCOMPARE(stampProblem(Renderer::Poppler, in, out, 1, squareMm, 1), QString());

        const QString plain = path(QStringLiteral("plain.pdf"));
        const QString reference = path(QStringLiteral("reference.pdf"));
        QVERIFY(writeFile(plain, onePage({})));
        QVERIFY(stamp(Mode::Annotation, plain, reference, {1, squareMm.topLeft(), sizeMm}));
        const QRect square = QRectF(squareMm.topLeft() * kPxPerMm, squareMm.size() * kPxPerMm)
                                 .toAlignedRect()
                                 .adjusted(-3, -3, 3, 3);
        const QImage a = redMask(renderPage(Renderer::Mupdf, reference, 1, kDpi), square);
        const QImage b = redMask(renderPage(Renderer::Mupdf, out, 1, kDpi), square);
        QVERIFY2(
            mismatches(a, b) * 100 < inkCount(a),
            qPrintable(QStringLiteral("the stamp differs from an upright one in %1 of %2 pixels")
                           .arg(mismatches(a, b))
                           .arg(inkCount(a))));
    }

    void flattenEncrypted_data()
    {
        QTest::addColumn<QStringList>("encryption");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("owner password only") << QStringList{"", "owner", "256"} << QString();
        QTest::newRow("changes not allowed") << QStringList{"", "owner", "256", "--modify=none"}
                                             << "its permissions do not allow changing its pages";
    }

    // Drawn into the page of a file protected by an owner password only, which stays encrypted;
    // refused where the permissions forbid changes.
    void flattenEncrypted()
    {
        QFETCH(QStringList, encryption);
        QFETCH(QString, refusal);
        const QString plain = path(QStringLiteral("plain-for-encryption.pdf"));
        const QString in = path(QStringLiteral("encrypted.pdf"));
        const QString out = path(QStringLiteral("encrypted-out.pdf"));
        QFile::remove(out);
        QVERIFY(writeFile(plain, onePage({})));
        QCOMPARE(run(QStringLiteral("qpdf"), QStringList{QStringLiteral("--encrypt")} + encryption +
                                                 QStringList{QStringLiteral("--"), plain, in})
                     .status,
                 0);
        const PdfResult r = stamp(Mode::Flatten, in, out, {1, QPointF(20, 30), 25});
        if (!refusal.isEmpty()) {
            QVERIFY2(r.error.contains(refusal), qPrintable(r.error));
            QVERIFY(!QFile::exists(out));
            return;
        }
        QVERIFY2(r, qPrintable(r.error));
        QCOMPARE(qpdfProblem(out), QString());
        QVERIFY(!run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), out})
                     .out.contains(QStringLiteral("not encrypted")));
        QCOMPARE(stampProblem(Renderer::Mupdf, in, out, 1, QRectF(20, 30, 25, 25), 1), QString());
    }

    void refused_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<double>("sizeMm");
        QTest::addColumn<QString>("says");
        for (const Mode mode : {Mode::Annotation, Mode::Flatten}) {
            const char *m = mode == Mode::Annotation ? "annotation" : "flatten";
            auto row = [&](const char *name) {
                return &QTest::newRow(QStringLiteral("%1, %2")
                                          .arg(QLatin1String(name), QLatin1String(m))
                                          .toLatin1()
                                          .constData());
            };
            *row("Rotate 45") << mode << onePage("/Rotate 45") << 20.0
                              << "is not a whole number of quarter turns";
            *row("Rotate 90.0") << mode << onePage("/Rotate 90.0") << 20.0
                                << "is not a whole number";
            *row("Rotate 1000000000") << mode << onePage("/Rotate 1000000000") << 20.0
                                      << "is not a whole number of quarter turns";
            const QByteArray huge = '1' + QByteArray(30, '0') + ".0"; // 1e30, as PDF writes it
            *row("MediaBox of 1e30") << mode << onePage("/MediaBox [0 0 " + huge + ' ' + huge + ']')
                                     << 20.0 << "numbers too large";
            *row("CropBox of -1e30") << mode << onePage("/CropBox [-" + huge + " 0 595 842]")
                                     << 20.0 << "numbers too large";
            // An integer qpdf cannot hold: the page cannot be read at all.
            *row("MediaBox of a 31-digit integer")
                << mode << onePage("/MediaBox [0 0 1" + QByteArray(30, '0') + " 842]") << 20.0
                << "has no page that can be read";
            *row("stamp of 0.1 mm") << mode << onePage({}) << 0.1 << "at least 5 mm";
            *row("stamp of 4.9 mm") << mode << onePage({}) << 4.9 << "at least 5 mm";
        }
    }

    // Refused with a message that says why, and nothing written.
    void refused()
    {
        QFETCH(Mode, mode);
        QFETCH(QByteArray, pdf);
        QFETCH(double, sizeMm);
        QFETCH(QString, says);
        const QString in = path(QStringLiteral("refused.pdf"));
        const QString out = path(QStringLiteral("refused-out.pdf"));
        QVERIFY(writeFile(in, pdf));
        QFile::remove(out);
        const PdfResult r = stamp(mode, in, out, {1, QPointF(20, 20), sizeMm});
        QVERIFY2(r.error.contains(says), qPrintable(r.error));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestPdfPlacement)
#include "test_pdfplacement.moc"
