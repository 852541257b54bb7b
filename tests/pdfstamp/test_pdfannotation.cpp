// SPDX-License-Identifier: MIT
// stampPdfFile: the stamp as an annotation in an incremental update, on files of every kind qpdf
// writes, upright on turned pages, twice in a row, on encrypted files, and found again by
// listPdfStamps; checked with cmp, qpdf, pikepdf, pdftoppm, mutool and pdftotext.

#include "model/stampprofile.h"
#include "pdfstamp/pdfstamp.h"
#include "stampcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <csignal>
#include <sys/resource.h>

using namespace pellimo;
using namespace pellimo::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kDate = QStringLiteral("08.12.07");
const double kNaturalMm = 70 * 25.4 / 96; // the default stamp's diameter

PdfStampRecord record()
{
    PdfStampRecord r;
    r.who = QStringLiteral(u"山田 太郎");
    r.dateText = kDate;
    r.user = 2;
    r.when = QDateTime(QDate(2026, 12, 7), QTime(10, 15, 30), QTimeZone(9 * 3600));
    r.contents = QStringLiteral(u"総務部 08.12.07 山田 太郎");
    return r;
}

} // namespace

class TestPdfAnnotation : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    StampGeometry m_stamp;
    QMap<QString, QString> m_inputs; // kind -> file

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString qpdfCopy(const QString &name, const QStringList &args, const QString &from)
    {
        const QString out = path(name);
        const Ran r = run(QStringLiteral("qpdf"), args + QStringList{from, out});
        return r.status == 0 ? out : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
        m_stamp = testStamp(kDate);
        const QString qt = path(QStringLiteral("qt.pdf"));
        QVERIFY(writeQtPdf(qt, 3));
        m_inputs[QStringLiteral("table")] =
            qpdfCopy(QStringLiteral("table.pdf"), {QStringLiteral("--object-streams=disable")}, qt);
        m_inputs[QStringLiteral("stream")] = qpdfCopy(
            QStringLiteral("stream.pdf"), {QStringLiteral("--object-streams=generate")}, qt);
        m_inputs[QStringLiteral("linearized")] =
            qpdfCopy(QStringLiteral("linear.pdf"), {QStringLiteral("--linearize")}, qt);
        m_inputs[QStringLiteral("turned")] = qpdfCopy(
            QStringLiteral("turned.pdf"),
            {QStringLiteral("--rotate=+90:1"), QStringLiteral("--rotate=+270:2"),
             QStringLiteral("--rotate=+180:3"), QStringLiteral("--object-streams=generate")},
            qt);
        m_inputs[QStringLiteral("hybrid")] = path(QStringLiteral("hybrid.pdf"));
        QVERIFY(writeFile(m_inputs[QStringLiteral("hybrid")], hybridPdf()));
        for (const QString &file : m_inputs)
            QVERIFY(!file.isEmpty());
    }

    void placed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("page");
        QTest::addColumn<std::optional<QPointF>>("atMm");
        QTest::addColumn<double>("sizeMm");
        QTest::addColumn<QRectF>("squareMm"); // where the circle's square must land, as shown
        QTest::addColumn<QList<double>>("matrix");

        const double d = kNaturalMm;
        const QList<double> upright{1, 0, 0, 1, 0, 0};
        QTest::newRow("table, default place") << "table" << 1 << std::optional<QPointF>() << d
                                              << QRectF(210 - 15 - d, 15, d, d) << upright;
        QTest::newRow("xref stream, page 2 at 20,30 size 25")
            << "stream" << 2 << std::optional<QPointF>(QPointF(20, 30)) << 25.0
            << QRectF(20, 30, 25, 25) << upright;
        QTest::newRow("linearized, page 3 at 120.4,200.2")
            << "linearized" << 3 << std::optional<QPointF>(QPointF(120.4, 200.2)) << d
            << QRectF(120.4, 200.2, d, d) << upright;
        QTest::newRow("hybrid reference, page only in the hidden object stream")
            << "hybrid" << 1 << std::optional<QPointF>(QPointF(20, 30)) << 25.0
            << QRectF(20, 30, 25, 25) << upright;
        QTest::newRow("turned 90, default place")
            << "turned" << 1 << std::optional<QPointF>() << d << QRectF(297 - 15 - d, 15, d, d)
            << QList<double>{0, 1, -1, 0, 0, 0};
        QTest::newRow("turned 270, at 150,120 size 40")
            << "turned" << 2 << std::optional<QPointF>(QPointF(150, 120)) << 40.0
            << QRectF(150, 120, 40, 40) << QList<double>{0, -1, 1, 0, 0, 0};
        QTest::newRow("turned 180, at 30,40 size 30")
            << "turned" << 3 << std::optional<QPointF>(QPointF(30, 40)) << 30.0
            << QRectF(30, 40, 30, 30) << QList<double>{-1, 0, 0, -1, 0, 0};
    }

    // IN is OUT's prefix; qpdf finds nothing wrong; both renderers show the stamp in the square
    // and nothing else changed; pikepdf reads the annotation's keys; pdftotext still finds the
    // page's text; the listing finds the stamp.
    void placed()
    {
        QFETCH(QString, kind);
        QFETCH(int, page);
        QFETCH(std::optional<QPointF>, atMm);
        QFETCH(double, sizeMm);
        QFETCH(QRectF, squareMm);
        QFETCH(QList<double>, matrix);
        const QString in = m_inputs.value(kind);
        const QString out = path(QStringLiteral("out-%1.pdf").arg(QTest::currentDataTag()));
        const PdfResult r = stampPdfFile(in, out, {page, atMm, sizeMm}, m_stamp, record());
        QVERIFY2(r, qPrintable(r.error));
        QCOMPARE(r.notice, QString());

        QCOMPARE(prefixProblem(in, out), QString());
        QCOMPARE(qpdfProblem(out), QString());
        const bool hybrid = kind == QStringLiteral("hybrid");
        for (const Renderer renderer : {Renderer::Poppler, Renderer::Mupdf})
            QCOMPARE(stampProblem(renderer, in, out, page, squareMm, hybrid ? 1 : 3), QString());
        QVERIFY(pageText(out, page).contains(
            hybrid ? QStringLiteral("Handmade") : QStringLiteral("Sample page %1 of 3").arg(page)));

        const Ran read = readLastAnnotation(out, page);
        QVERIFY2(read.status == 0, qPrintable(read.err));
        const QJsonObject a = QJsonDocument::fromJson(read.out.toUtf8()).object();
        QCOMPARE(a.value(QStringLiteral("count")).toInt(), 1);
        QCOMPARE(a.value(QStringLiteral("/Subtype")).toString(), QStringLiteral("/Stamp"));
        QCOMPARE(a.value(QStringLiteral("/F")).toInt(), 4);
        QCOMPARE(a.value(QStringLiteral("/P")).toBool(), true);
        QCOMPARE(a.value(QStringLiteral("/T")).toString(), QStringLiteral(u"山田 太郎"));
        QCOMPARE(a.value(QStringLiteral("/Subj")).toString(), QStringLiteral(u"日付印"));
        QCOMPARE(a.value(QStringLiteral("/Contents")).toString(),
                 QStringLiteral(u"総務部 08.12.07 山田 太郎"));
        QCOMPARE(a.value(QStringLiteral("/M")).toString(),
                 QStringLiteral("D:20261207101530+09'00'"));
        QCOMPARE(a.value(QStringLiteral("/CreationDate")).toString(),
                 QStringLiteral("D:20261207101530+09'00'"));
        QCOMPARE(a.value(QStringLiteral("/NM")).toString().size(), 36); // a UUID
        const QJsonObject mark = a.value(QStringLiteral("/PellimoStamp")).toObject();
        QCOMPARE(mark.value(QStringLiteral("Date")).toString(), kDate);
        QCOMPARE(mark.value(QStringLiteral("User")).toInt(), 2);
        const QJsonObject ap = a.value(QStringLiteral("ap")).toObject();
        QCOMPARE(ap.value(QStringLiteral("Subtype")).toString(), QStringLiteral("/Form"));
        QList<double> m;
        for (const QJsonValue &v : ap.value(QStringLiteral("Matrix")).toArray())
            m << v.toDouble();
        QCOMPARE(m, matrix);
        QVERIFY(ap.value(QStringLiteral("fonts")).toInt() >= 1); // the texts are text

        QList<PdfStampEntry> stamps;
        const PdfResult listed = listPdfStamps(out, stamps);
        QVERIFY2(listed, qPrintable(listed.error));
        QCOMPARE(stamps.size(), 1);
        QCOMPARE(stamps[0].page, page);
        QVERIFY(stamps[0].pellimo);
        QCOMPARE(stamps[0].dateText, kDate);
        QCOMPARE(stamps[0].who, QStringLiteral(u"山田 太郎"));
        QCOMPARE(stamps[0].when, record().when);
        // The annotation is the picture: the square and its blank margin.
        QVERIFY2(stamps[0].rectMm.adjusted(-0.01, -0.01, 0.01, 0.01).contains(squareMm),
                 qPrintable(describeStampEntry(stamps[0])));
        QVERIFY(squareMm.adjusted(-3, -3, 3, 3).contains(stamps[0].rectMm));
    }

    // On a turned page the stamp reads upright as shown: its ink is the ink of the same stamp on
    // an upright page.
    void uprightOnTurnedPages_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("page turned 90") << 1;
        QTest::newRow("page turned 270") << 2;
        QTest::newRow("page turned 180") << 3;
    }

    void uprightOnTurnedPages()
    {
        QFETCH(int, page);
        const PdfStampPlace place{page, QPointF(33, 41), 30};
        const QString upright = path(QStringLiteral("upright-%1.pdf").arg(page));
        const QString turned = path(QStringLiteral("turned-%1.pdf").arg(page));
        QVERIFY(stampPdfFile(m_inputs[QStringLiteral("table")], upright, place, m_stamp, record()));
        QVERIFY(stampPdfFile(m_inputs[QStringLiteral("turned")], turned, place, m_stamp, record()));
        const QRect square(33 * kPxPerMm - 3, 41 * kPxPerMm - 3, 30 * kPxPerMm + 6,
                           30 * kPxPerMm + 6);
        for (const Renderer renderer : {Renderer::Poppler, Renderer::Mupdf}) {
            const QImage a = redMask(renderPage(renderer, upright, page, kDpi), square);
            const QImage b = redMask(renderPage(renderer, turned, page, kDpi), square);
            const int ink = inkCount(a);
            QVERIFY(ink > 500);
            QVERIFY2(mismatches(a, b) * 100 < ink, qPrintable(QStringLiteral("%1: %2 of %3")
                                                                  .arg(rendererName(renderer))
                                                                  .arg(mismatches(a, b))
                                                                  .arg(ink)));
        }
    }

    // Stamping the stamped file appends a second update; both stamps are there.
    void twoInARow()
    {
        const QString in = m_inputs[QStringLiteral("stream")];
        const QString once = path(QStringLiteral("once.pdf"));
        const QString twice = path(QStringLiteral("twice.pdf"));
        QVERIFY(stampPdfFile(in, once, {1, QPointF(20, 20), 20}, m_stamp, record()));
        QVERIFY(stampPdfFile(once, twice, {1, QPointF(100, 20), 20}, m_stamp, record()));
        QCOMPARE(prefixProblem(in, once), QString());
        QCOMPARE(prefixProblem(once, twice), QString());
        QCOMPARE(qpdfProblem(twice), QString());
        QList<PdfStampEntry> stamps;
        QVERIFY(listPdfStamps(twice, stamps));
        QCOMPARE(stamps.size(), 2);
        QVERIFY(stamps[0].rectMm.contains(QPointF(30, 30)));
        QVERIFY(stamps[1].rectMm.contains(QPointF(110, 30)));
        QCOMPARE(stampProblem(Renderer::Mupdf, once, twice, 1, QRectF(100, 20, 20, 20), 3),
                 QString());
    }

    void encrypted_data()
    {
        QTest::addColumn<QStringList>("encryption"); // qpdf --encrypt arguments
        QTest::addColumn<QString>("refusal");        // empty: stamped
        QTest::newRow("owner password only, RC4 40-bit")
            << QStringList{"", "owner", "40"} << QString();
        QTest::newRow("owner password only, RC4 128-bit")
            << QStringList{"", "owner", "128", "--use-aes=n"} << QString();
        QTest::newRow("owner password only, AES 128-bit")
            << QStringList{"", "owner", "128", "--use-aes=y"} << QString();
        QTest::newRow("owner password only, AES 256-bit")
            << QStringList{"", "owner", "256"} << QString();
        QTest::newRow("annotations not allowed")
            << QStringList{"", "owner", "256", "--annotate=n"}
            << "its permissions do not allow adding annotations";
        QTest::newRow("annotations not allowed, RC4 40-bit")
            << QStringList{"", "owner", "40", "--annotate=n"}
            << "its permissions do not allow adding annotations";
        QTest::newRow("user password")
            << QStringList{"user", "owner", "256"} << "needs a password to be opened";
    }

    // Stamped and still encrypted with the same key: readers decrypt the new strings; or refused
    // with a message that says why, and nothing written.
    void encrypted()
    {
        QFETCH(QStringList, encryption);
        QFETCH(QString, refusal);
        const QString name = QString::fromLatin1(QTest::currentDataTag())
                                 .replace(QLatin1Char(' '), QLatin1Char('-'));
        const QString in = qpdfCopy(
            name + QStringLiteral(".pdf"),
            QStringList{QStringLiteral("--allow-weak-crypto"), QStringLiteral("--encrypt")} +
                encryption + QStringList{QStringLiteral("--")},
            m_inputs[QStringLiteral("table")]);
        QVERIFY(!in.isEmpty());
        const QString out = path(name + QStringLiteral("-out.pdf"));
        const PdfResult r = stampPdfFile(in, out, {1, QPointF(20, 30), 25}, m_stamp, record());
        if (!refusal.isEmpty()) {
            QVERIFY2(r.error.contains(refusal), qPrintable(r.error));
            QVERIFY(r.error.contains(name + QStringLiteral(".pdf")));
            QVERIFY(!r.error.contains(m_dir.path())); // the file's name, never its folder
            QVERIFY(!QFile::exists(out));
            return;
        }
        QVERIFY2(r, qPrintable(r.error));
        QCOMPARE(prefixProblem(in, out), QString());
        QCOMPARE(qpdfProblem(out), QString());
        const Ran shown = run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), out});
        QVERIFY2(!shown.out.contains(QStringLiteral("not encrypted")), qPrintable(shown.out));
        const Ran read = readLastAnnotation(out, 1);
        QVERIFY2(read.status == 0, qPrintable(read.err));
        const QJsonObject a = QJsonDocument::fromJson(read.out.toUtf8()).object();
        QCOMPARE(a.value(QStringLiteral("/T")).toString(), QStringLiteral(u"山田 太郎"));
        QVERIFY(a.value(QStringLiteral("ap")).toObject().value(QStringLiteral("bytes")).toInt() >
                100);
        QCOMPARE(stampProblem(Renderer::Poppler, in, out, 1, QRectF(20, 30, 25, 25), 3), QString());
        QCOMPARE(stampProblem(Renderer::Mupdf, in, out, 1, QRectF(20, 30, 25, 25), 3), QString());
    }

    // A write that fails (here past the file size limit, as a full disk would) names the cause,
    // leaves an existing OUT as it was and no temporary file behind; outputs that are not regular
    // files are refused.
    void writeFailures_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("says");
        QTest::newRow("file size limit") << "out.pdf"
                                         << "out.pdf cannot be written: File too large";
        QTest::newRow("a device") << "/dev/null"
                                  << "null cannot be written: Not a regular file";
        QTest::newRow("a link to nothing")
            << "dangling.pdf"
            << "dangling.pdf cannot be written: A link to a file that does not exist";
    }

    void writeFailures()
    {
        QFETCH(QString, target);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere.pdf")),
                            dir.filePath(QStringLiteral("dangling.pdf"))));
        const QString out = target.startsWith(QLatin1Char('/')) ? target : dir.filePath(target);
        if (target == QStringLiteral("out.pdf"))
            QVERIFY(writeFile(out, "old bytes"));
        const QStringList before =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        struct rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = rlim_t(QFileInfo(m_inputs[QStringLiteral("table")]).size() / 2);
        setrlimit(RLIMIT_FSIZE, &small);
        const PdfResult r = stampPdfFile(m_inputs[QStringLiteral("table")], out,
                                         {1, QPointF(20, 30), 25}, m_stamp, record());
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY2(r.error.startsWith(says), qPrintable(r.error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden),
                 before);
        if (target == QStringLiteral("out.pdf"))
            QCOMPARE(readFile(out), QByteArray("old bytes"));
    }

    void recordFromProfile_data()
    {
        QTest::addColumn<QString>("name1");
        QTest::addColumn<QString>("name2");
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("contents");
        QTest::newRow("name row") << u"山田"_qs << u"太郎"_qs << u"山田 太郎"_qs
                                  << u"総務部 08.12.07 山田 太郎"_qs;
        QTest::newRow("family name only")
            << u"山田"_qs << u" "_qs << u"山田"_qs << u"総務部 08.12.07 山田"_qs;
        QTest::newRow("no name row: the user's name")
            << QString() << QString() << u"ユーザー2"_qs << u"総務部 08.12.07"_qs;
    }

    void recordFromProfile()
    {
        QFETCH(QString, name1);
        QFETCH(QString, name2);
        QFETCH(QString, who);
        QFETCH(QString, contents);
        StampProfile profile;
        loadDefaultProfile(profile);
        profile.items[0].text = u"総務部"_qs;
        profile.items[1].text = kDate;
        profile.items[2].text = name1;
        profile.items[3].text = name2;
        const QDateTime when = record().when;
        const PdfStampRecord r = stampRecord(profile, u"ユーザー2"_qs, 2, when);
        QCOMPARE(r.who, who);
        QCOMPARE(r.contents, contents);
        QCOMPARE(r.dateText, kDate);
        QCOMPARE(r.user, 2);
        QCOMPARE(r.when, when);
    }

    // The default stamp makes the file at most 64 KB larger.
    void growth()
    {
        const QString in = m_inputs[QStringLiteral("table")];
        const QString out = path(QStringLiteral("growth.pdf"));
        QVERIFY(stampPdfFile(in, out, {1, std::nullopt, kNaturalMm}, m_stamp, record()));
        const qint64 grown = QFileInfo(out).size() - QFileInfo(in).size();
        qInfo("the default stamp added %lld bytes", grown);
        QVERIFY(grown > 0 && grown <= 64 * 1024);
    }
};

QTEST_MAIN(TestPdfAnnotation)
#include "test_pdfannotation.moc"
