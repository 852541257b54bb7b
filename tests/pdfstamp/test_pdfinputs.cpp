// SPDX-License-Identifier: MIT
// The annotation on files as producers write them (LibreOffice, Ghostscript's pdfwrite, pdfTeX,
// cairo) and on page trees that inherit their attributes, share resources between pages, or
// already carry annotations and form fields, which stay as they were.

#include "pdfstamp/pdfstamp.h"
#include "stampcheck.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QByteArray kFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";

// Two pages inheriting /MediaBox, /Rotate and /Resources from an intermediate node of the tree.
QByteArray inheritingTree()
{
    return handmadePdf({"<< /Type /Catalog /Pages 2 0 R >>",
                        "<< /Type /Pages /Kids [3 0 R] /Count 2 /Resources << /Font << /F1 7 0 R "
                        ">> >> >>",
                        "<< /Type /Pages /Parent 2 0 R /Kids [4 0 R 5 0 R] /Count 2 "
                        "/MediaBox [0 0 595 842] /Rotate 90 >>",
                        "<< /Type /Page /Parent 3 0 R /Contents 6 0 R >>",
                        "<< /Type /Page /Parent 3 0 R /Contents 6 0 R /Rotate 0 >>",
                        contentObject(sampleContent(595, 842)), kFont});
}

// Three pages pointing at one /Resources object.
QByteArray sharedResources()
{
    return handmadePdf(
        {"<< /Type /Catalog /Pages 2 0 R >>",
         "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 /MediaBox [0 0 595 842] "
         ">>",
         "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources 7 0 R >>",
         "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources 7 0 R >>",
         "<< /Type /Page /Parent 2 0 R /Contents 6 0 R /Resources 7 0 R >>",
         contentObject(sampleContent(595, 842)), "<< /Font << /F1 8 0 R >> >>", kFont});
}

// A page with a link, a text note and a filled-in text field; the field is in the form.
QByteArray annotatedPage(bool indirectAnnots)
{
    const QByteArray annots = "[8 0 R 9 0 R 10 0 R]";
    return handmadePdf(
        {"<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [10 0 R] /DA (/Helv 0 Tf 0 g) "
         "/DR << /Font << /Helv 5 0 R >> >> >> >>",
         "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R /Resources << "
         "/Font << /F1 5 0 R >> >> /Annots " +
             (indirectAnnots ? QByteArray("7 0 R") : annots) + " >>",
         contentObject(sampleContent(595, 842)), kFont, contentObject("0 0 1 rg 0 0 150 20 re f"),
         annots,
         "<< /Type /Annot /Subtype /Link /Rect [60 700 200 720] /Border [0 0 0] /A << /S /URI "
         "/URI (https://example.invalid/) >> >>",
         "<< /Type /Annot /Subtype /Text /Rect [300 600 320 620] /Contents (A note) /Open false "
         ">>",
         "<< /Type /Annot /Subtype /Widget /FT /Tx /T (name) /V (Taro) /Rect [60 500 210 520] "
         "/F 4 /P 3 0 R /AP << /N 11 0 R >> >>",
         "<< /Type /XObject /Subtype /Form /BBox [0 0 150 20] /Length 24 >>\nstream\n0 0 1 rg 0 "
         "0 150 20 re f\nendstream"});
}

const char *kAnnotationsAndFields = R"(
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
for i, page in enumerate(pdf.pages):
    print(i + 1, " ".join(str(a.Subtype) for a in page.obj.get("/Annots", [])))
acro = pdf.Root.get("/AcroForm")
if acro is not None:
    print("fields", " ".join(str(f.T) + "=" + str(f.V) for f in acro.Fields))
)";

} // namespace

class TestPdfInputs : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    StampGeometry m_stamp;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Stamps `in` on `page` at (20, 30), 25 mm, and checks what every stamped file gets.
    void stampAndCheck(const QString &in, int page, int pages, bool popplerToo = true)
    {
        const QString out = in + QStringLiteral(".stamped.pdf");
        const PdfResult r = stampPdfFile(in, out, {page, QPointF(20, 30), 25}, m_stamp);
        QVERIFY2(r, qPrintable(r.error));
        QCOMPARE(r.notice, QString());
        QCOMPARE(prefixProblem(in, out), QString());
        QCOMPARE(qpdfProblem(out), QString());
        QCOMPARE(stampProblem(Renderer::Mupdf, in, out, page, QRectF(20, 30, 25, 25), pages),
                 QString());
        if (popplerToo)
            QCOMPARE(stampProblem(Renderer::Poppler, in, out, page, QRectF(20, 30, 25, 25), pages),
                     QString());
        QList<PdfStampEntry> stamps;
        QVERIFY(listPdfStamps(out, stamps));
        QCOMPARE(stamps.size(), 1);
        QCOMPARE(stamps[0].page, page);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
        m_stamp = testStamp(QStringLiteral("08.12.07"));
    }

    void producers_data()
    {
        QTest::addColumn<QString>("producer");
        QTest::newRow("LibreOffice") << "soffice";
        QTest::newRow("Ghostscript pdfwrite") << "gs";
        QTest::newRow("pdfTeX") << "pdflatex";
        QTest::newRow("cairo (pdftocairo)") << "pdftocairo";
    }

    // A two-page document as each producer writes it, stamped on its second page.
    void producers()
    {
        QFETCH(QString, producer);
        QTemporaryDir work;
        QString pdf;
        if (producer == QStringLiteral("soffice")) {
            QVERIFY(writeFile(work.filePath(QStringLiteral("letter.txt")),
                              "Dear reader,\n\nthis letter was written by LibreOffice.\f"
                              "Second page of the letter.\n"));
            const Ran r = run(producer,
                              {QStringLiteral("-env:UserInstallation=file://") + work.path() +
                                   QStringLiteral("/profile"),
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                               QStringLiteral("pdf"), QStringLiteral("letter.txt")},
                              work.path());
            QVERIFY2(r.status == 0, qPrintable(r.err));
            pdf = work.filePath(QStringLiteral("letter.pdf"));
        } else if (producer == QStringLiteral("gs")) {
            QVERIFY(writeFile(work.filePath(QStringLiteral("doc.ps")),
                              "%!PS\n/Helvetica findfont 24 scalefont setfont\n"
                              "72 700 moveto (Page one from Ghostscript) show showpage\n"
                              "72 700 moveto (Page two from Ghostscript) show 0.5 setgray 100 100 "
                              "200 200 rectfill showpage\n"));
            const Ran r =
                run(producer,
                    {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                     QStringLiteral("-dSAFER"), QStringLiteral("-sPAPERSIZE=a4"),
                     QStringLiteral("-sDEVICE=pdfwrite"), QStringLiteral("-sOutputFile=doc.pdf"),
                     QStringLiteral("doc.ps")},
                    work.path());
            QVERIFY2(r.status == 0, qPrintable(r.err));
            pdf = work.filePath(QStringLiteral("doc.pdf"));
        } else if (producer == QStringLiteral("pdflatex")) {
            QVERIFY(
                writeFile(work.filePath(QStringLiteral("doc.tex")),
                          "\\documentclass[a4paper]{article}\\begin{document}\\section{One}Text "
                          "on page one.\\newpage\\section{Two}Text on page two.\\end{document}\n"));
            const Ran r = run(
                producer, {QStringLiteral("-interaction=nonstopmode"), QStringLiteral("doc.tex")},
                work.path());
            QVERIFY2(r.status == 0, qPrintable(r.out.right(2000)));
            pdf = work.filePath(QStringLiteral("doc.pdf"));
        } else {
            QVERIFY(writeQtPdf(work.filePath(QStringLiteral("qt.pdf")), 2));
            const Ran r =
                run(producer,
                    {QStringLiteral("-pdf"), QStringLiteral("qt.pdf"), QStringLiteral("cairo.pdf")},
                    work.path());
            QVERIFY2(r.status == 0, qPrintable(r.err));
            pdf = work.filePath(QStringLiteral("cairo.pdf"));
        }
        const QString in =
            path(QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(' '), 0, 0) +
                 QStringLiteral(".pdf"));
        QFile::remove(in);
        QVERIFY(QFile::copy(pdf, in));
        const QString before = pageText(in, 2);
        QVERIFY(!before.trimmed().isEmpty());
        stampAndCheck(in, 2, 2);
        // Every word of the page is still found; the stamp's date is text too.
        const QStringList after = pageText(in + QStringLiteral(".stamped.pdf"), 2)
                                      .split(QRegularExpression(QStringLiteral("\\s+")));
        for (const QString &word :
             before.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            QVERIFY2(after.contains(word), qPrintable(word));
        QVERIFY(after.contains(QStringLiteral("08.12.07")));
    }

    void pageTrees_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::newRow("inherited MediaBox, Rotate and Resources, turned page")
            << inheritingTree() << 1 << 2;
        QTest::newRow("inherited MediaBox and Resources, own Rotate 0")
            << inheritingTree() << 2 << 2;
        QTest::newRow("Resources shared by every page, the middle one stamped")
            << sharedResources() << 2 << 3;
    }

    void pageTrees()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(int, page);
        QFETCH(int, pages);
        const QString in = path(QStringLiteral("tree-%1.pdf")
                                    .arg(QString::fromLatin1(QTest::currentDataTag()).left(20)));
        QVERIFY(writeFile(in, pdf));
        stampAndCheck(in, page, pages);
        // Only the stamped page gained an annotation.
        const Ran read = pikepdf(QString::fromUtf8(kAnnotationsAndFields),
                                 {in + QStringLiteral(".stamped.pdf")});
        QVERIFY2(read.status == 0, qPrintable(read.err));
        for (int p = 1; p <= pages; ++p)
            QVERIFY2(read.out.contains(QStringLiteral("%1 %2\n").arg(p).arg(
                         p == page ? QStringLiteral("/Stamp") : QString())),
                     qPrintable(read.out));
    }

    void existingAnnotations_data()
    {
        QTest::addColumn<bool>("indirectAnnots");
        QTest::newRow("/Annots in the page") << false;
        QTest::newRow("/Annots an object of its own") << true;
    }

    // The link, the note and the field stay, the field keeps its value, the stamp comes last.
    void existingAnnotations()
    {
        QFETCH(bool, indirectAnnots);
        const QString in = path(QStringLiteral("annotated-%1.pdf").arg(indirectAnnots));
        QVERIFY(writeFile(in, annotatedPage(indirectAnnots)));
        stampAndCheck(in, 1, 1);
        const Ran read = pikepdf(QString::fromUtf8(kAnnotationsAndFields),
                                 {in + QStringLiteral(".stamped.pdf")});
        QVERIFY2(read.status == 0, qPrintable(read.err));
        QCOMPARE(read.out, QStringLiteral("1 /Link /Text /Widget /Stamp\nfields name=Taro\n"));
    }
};

QTEST_MAIN(TestPdfInputs)
#include "test_pdfinputs.moc"
