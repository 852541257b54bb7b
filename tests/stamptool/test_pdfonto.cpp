// SPDX-License-Identifier: MIT
// pellimo-stamp --onto, checked with tools of other projects: qpdf checks every output, pdftoppm
// draws the pages, pdftotext reads them.

#include "toolrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo::testing;

namespace {

constexpr int kDpi = 127; // 5 pixels a millimetre
constexpr int kPxPerMm = 5;
const QString kDay = QStringLiteral("2026-12-07");
const QString kDateText = QStringLiteral("08.12.07"); // the default pattern ee.mm.dd

bool isRed(QRgb p)
{
    return qRed(p) > 150 && qRed(p) - std::max(qGreen(p), qBlue(p)) > 80;
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The stamp's red pixels inside the rectangle, as a white image with black ink.
QImage redMask(const QImage &page, const QRect &r)
{
    QImage mask(r.size(), QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (page.valid(r.x() + x, r.y() + y) && isRed(page.pixel(r.x() + x, r.y() + y)))
                mask.setPixel(x, y, 0xFF000000);
    return mask;
}

int inkCount(const QImage &mask)
{
    int n = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            n += mask.pixel(x, y) != 0xFFFFFFFF;
    return n;
}

int mismatches(const QImage &a, const QImage &b)
{
    // ink of one with no ink of the other within one pixel
    int n = 0;
    for (const auto &[p, q] : {std::pair{&a, &b}, std::pair{&b, &a}})
        for (int y = 0; y < p->height(); ++y)
            for (int x = 0; x < p->width(); ++x) {
                if (p->pixel(x, y) == 0xFFFFFFFF)
                    continue;
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = q->valid(x + dx, y + dy) && q->pixel(x + dx, y + dy) != 0xFFFFFFFF;
                n += !found;
            }
    return n;
}

} // namespace

class TestPdfOnto : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_tool;
    QString m_plain;   // three A4 pages
    QString m_rotated; // the same, page 1 and 3 turned 90 degrees clockwise, page 2 by 270

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_tool = installTool(m_dir.path());
        QVERIFY(!m_tool.isEmpty());
        m_plain = path(QStringLiteral("form.pdf"));
        m_rotated = path(QStringLiteral("form-rotated.pdf"));
        QVERIFY(writeFormPdf(m_plain, 3));
        QCOMPARE(run(QStringLiteral("qpdf"),
                     {QStringLiteral("--rotate=+90:1,3"), m_plain, path(QStringLiteral("r1.pdf"))})
                     .status,
                 0);
        QCOMPARE(run(QStringLiteral("qpdf"),
                     {QStringLiteral("--rotate=+270:2"), path(QStringLiteral("r1.pdf")), m_rotated})
                     .status,
                 0);
    }

    void placed_data()
    {
        QTest::addColumn<bool>("rotated");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("place"); // --at / --size arguments
        QTest::addColumn<QRectF>("squareMm");   // where the circle's square must land, as shown

        // Default size: radius 35 at 96 dpi is 70 px = 18.521 mm; 15 mm from top and right.
        const double d = 70 * 25.4 / 96;
        QTest::newRow("upright, default place")
            << false << 1 << QStringList() << QRectF(210 - 15 - d, 15, d, d);
        QTest::newRow("upright, at 20,30 size 25")
            << false << 1 << QStringList{"--at", "20,30", "--size", "25"} << QRectF(20, 30, 25, 25);
        QTest::newRow("upright, page 2, at 120.4,200.2")
            << false << 2 << QStringList{"--at", "120.4,200.2"} << QRectF(120.4, 200.2, d, d);
        QTest::newRow("turned 90, default place")
            << true << 1 << QStringList() << QRectF(297 - 15 - d, 15, d, d);
        QTest::newRow("turned 90, at 20,30 size 25")
            << true << 1 << QStringList{"--at", "20,30", "--size", "25"} << QRectF(20, 30, 25, 25);
        QTest::newRow("turned 270, page 2, at 150,120 size 40")
            << true << 2 << QStringList{"--at", "150,120", "--size", "40"}
            << QRectF(150, 120, 40, 40);
    }

    // The stamped page differs from the original only in the stamp's square, where the red ink
    // fills the square given; the date is text on the page; qpdf finds nothing wrong.
    void placed()
    {
        QFETCH(bool, rotated);
        QFETCH(int, page);
        QFETCH(QStringList, place);
        QFETCH(QRectF, squareMm);
        const QString in = rotated ? m_rotated : m_plain;
        const QString out = path(QStringLiteral("out-%1.pdf").arg(QTest::currentDataTag()));
        const QByteArray inHash = fileHash(in);

        const Ran ran =
            run(m_tool, QStringList{QStringLiteral("--date"), kDay, QStringLiteral("--onto"), in,
                                    QStringLiteral("-o"), out, QStringLiteral("--page"),
                                    QString::number(page)} +
                            place);
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QCOMPARE(fileHash(in), inHash);
        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out + check.err));

        const QImage before = renderPage(in, page, kDpi);
        const QImage after = renderPage(out, page, kDpi);
        QVERIFY(!before.isNull() && !after.isNull());
        QCOMPARE(after.size(), before.size());

        const QRect square(qRound(squareMm.x() * kPxPerMm), qRound(squareMm.y() * kPxPerMm),
                           qRound(squareMm.width() * kPxPerMm),
                           qRound(squareMm.height() * kPxPerMm));
        const QRect near = square.adjusted(-2, -2, 2, 2);
        int changedOutside = 0;
        QRect red;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const bool differs = before.pixel(x, y) != after.pixel(x, y);
                if (!near.contains(x, y))
                    changedOutside += differs;
                else if (differs && isRed(after.pixel(x, y)))
                    red |= QRect(x, y, 1, 1);
            }
        QCOMPARE(changedOutside, 0);
        auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
        QVERIFY2(close(red.left(), square.left()) && close(red.top(), square.top()) &&
                     close(red.right(), square.right()) && close(red.bottom(), square.bottom()),
                 qPrintable(QStringLiteral("red ink (%1,%2)-(%3,%4), square (%5,%6)-(%7,%8)")
                                .arg(red.left())
                                .arg(red.top())
                                .arg(red.right())
                                .arg(red.bottom())
                                .arg(square.left())
                                .arg(square.top())
                                .arg(square.right())
                                .arg(square.bottom())));

        QVERIFY(pageText(out, page).contains(kDateText));
        QVERIFY(!pageText(in, page).contains(kDateText));
        // The other pages are left as they were.
        const int other = page == 1 ? 2 : 1;
        QCOMPARE(renderPage(out, other, 30), renderPage(in, other, 30));
        QVERIFY(!pageText(out, other).contains(kDateText));
    }

    // On a turned page the stamp reads upright as shown: its ink is the ink of the same stamp on
    // an upright page.
    void uprightOnTurnedPages_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("page turned 90") << 1;
        QTest::newRow("page turned 270") << 2;
    }

    void uprightOnTurnedPages()
    {
        QFETCH(int, page);
        const QStringList place = {QStringLiteral("--date"), kDay,
                                   QStringLiteral("--at"),   QStringLiteral("33,41"),
                                   QStringLiteral("--size"), QStringLiteral("30")};
        const QString upright = path(QStringLiteral("upright.pdf"));
        const QString turned = path(QStringLiteral("turned.pdf"));
        QCOMPARE(run(m_tool, place + QStringList{QStringLiteral("--onto"), m_plain,
                                                 QStringLiteral("-o"), upright})
                     .status,
                 0);
        QCOMPARE(run(m_tool, place + QStringList{QStringLiteral("--onto"), m_rotated,
                                                 QStringLiteral("--page"), QString::number(page),
                                                 QStringLiteral("-o"), turned})
                     .status,
                 0);
        const QRect square(33 * kPxPerMm - 3, 41 * kPxPerMm - 3, 30 * kPxPerMm + 6,
                           30 * kPxPerMm + 6);
        const QImage a = redMask(renderPage(upright, 1, kDpi), square);
        const QImage b = redMask(renderPage(turned, page, kDpi), square);
        const int ink = inkCount(a);
        QVERIFY(ink > 500);
        QVERIFY2(mismatches(a, b) * 100 < ink,
                 qPrintable(QStringLiteral("%1 of %2").arg(mismatches(a, b)).arg(ink)));
    }

    void stampedNow_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("encrypted, opens without a password") << "owner-only";
        QTest::newRow("truncated") << "truncated";
    }

    // Files refused before the stamp became an annotation: one protected by an owner password
    // only is stamped and stays encrypted; one cut off is stamped as a repaired copy.
    void stampedNow()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.pdf"));
        const QString out = dir.filePath(QStringLiteral("out.pdf"));
        if (kind == QStringLiteral("owner-only")) {
            QCOMPARE(run(QStringLiteral("qpdf"),
                         {QStringLiteral("--encrypt"), QString(), QStringLiteral("o"),
                          QStringLiteral("256"), QStringLiteral("--"), m_plain, in})
                         .status,
                     0);
        } else {
            QFile f(m_plain);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QFile t(in);
            QVERIFY(t.open(QIODevice::WriteOnly));
            t.write(bytes.left(bytes.lastIndexOf("\nxref"))); // cut off before its xref table
        }
        const Ran ran = run(m_tool, {QStringLiteral("--onto"), in, QStringLiteral("-o"), out});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
        const bool encrypted =
            !run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), out})
                 .out.contains(QStringLiteral("not encrypted"));
        QCOMPARE(encrypted, kind == QStringLiteral("owner-only"));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("input");     // a file name in the test folder
        QTest::addColumn<QStringList>("extra"); // further arguments
        QTest::addColumn<QString>("output");    // empty: out.pdf in the test folder
        QTest::addColumn<QString>("says");

        QTest::newRow("encrypted, with a password") << "locked.pdf" << QStringList() << ""
                                                    << "needs a password to be opened";
        QTest::newRow("not a PDF") << "text.pdf" << QStringList() << ""
                                   << "damaged";
        QTest::newRow("no such file") << "missing.pdf" << QStringList() << ""
                                      << "no such file";
        QTest::newRow("page 0") << "form.pdf" << QStringList{"--page", "0"} << ""
                                << "--page takes a page number";
        QTest::newRow("page 4 of 3") << "form.pdf" << QStringList{"--page", "4"} << ""
                                     << "page 4 does not exist: form.pdf has 3 page(s)";
        QTest::newRow("OUT is IN") << "form.pdf" << QStringList() << "form.pdf"
                                   << "the output file is the input file";
        QTest::newRow("OUT is IN by another path")
            << "form.pdf" << QStringList() << "sub/../form.pdf"
            << "the output file is the input";
        QTest::newRow("OUT is IN through a link") << "form.pdf" << QStringList() << "link.pdf"
                                                  << "the output file is the input file";
        QTest::newRow("stamp off the page") << "form.pdf" << QStringList{"--at", "195,10"} << ""
                                            << "does not fit on page 1";
        QTest::newRow("stamp larger than the page")
            << "form.pdf" << QStringList{"--at", "0,0", "--size", "300"} << ""
            << "does not fit";
        QTest::newRow("OUT in a missing folder") << "form.pdf" << QStringList() << "nowhere/out.pdf"
                                                 << "cannot be written";
    }

    // Status 1, a message naming the reason, IN untouched and no OUT written; an OUT that was
    // there keeps its bytes.
    void refused()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, extra);
        QFETCH(QString, output);
        QFETCH(QString, says);

        QTemporaryDir dir;
        const QString in = dir.filePath(input);
        QVERIFY(QFile::copy(m_plain, dir.filePath(QStringLiteral("form.pdf"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("form.pdf")),
                            dir.filePath(QStringLiteral("link.pdf"))));
        const QString form = dir.filePath(QStringLiteral("form.pdf"));
        if (input == QStringLiteral("locked.pdf"))
            QCOMPARE(run(QStringLiteral("qpdf"),
                         {QStringLiteral("--encrypt"), QStringLiteral("u"), QStringLiteral("o"),
                          QStringLiteral("256"), QStringLiteral("--"), form, in})
                         .status,
                     0);
        if (input == QStringLiteral("text.pdf")) {
            QFile t(in);
            QVERIFY(t.open(QIODevice::WriteOnly));
            t.write("%PDF-1.4\nnot really\n");
        }

        const QString out = dir.filePath(output.isEmpty() ? QStringLiteral("out.pdf") : output);
        const bool outExisted = QFile::exists(out);
        if (!outExisted && !out.contains(QStringLiteral("nowhere"))) {
            QFile old(out);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old bytes");
        }
        const QByteArray inHash = fileHash(in);
        const QByteArray outHash = fileHash(out);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        const Ran ran = run(
            m_tool, QStringList{QStringLiteral("--onto"), in, QStringLiteral("-o"), out} + extra);
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        QCOMPARE(fileHash(in), inHash);
        QCOMPARE(fileHash(out), outHash);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }
};

QTEST_MAIN(TestPdfOnto)
#include "test_pdfonto.moc"
