// SPDX-License-Identifier: MIT
// pellimo-stamp with many files (--outdir), several pages (--pages) and places measured from any
// corner (--corner), checked with qpdf, pikepdf and pdftoppm; and refusals that come before any
// PDF is read (a FIFO nobody writes to stands for an input that takes long to read).

#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellimo::testing;

namespace {

constexpr int kDpi = 127; // 5 pixels a millimetre
constexpr int kPxPerMm = 5;
const QString kDay = QStringLiteral("2026-12-07");

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The pages that hold a Stamp annotation, one number per annotation.
QList<int> stampedPages(const QString &pdf)
{
    const Ran ran = python(QStringLiteral(R"(
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
for n, page in enumerate(pdf.pages, 1):
    for a in page.obj.get('/Annots', []):
        if a.get('/Subtype') == '/Stamp':
            print(n)
)"),
                           {pdf});
    QList<int> pages;
    for (const QString &line : ran.out.split(u'\n', Qt::SkipEmptyParts))
        pages << line.toInt();
    return pages;
}

// The box of the stamp's red ink on a page drawn by pdftoppm, in pixels.
QRect redInk(const QImage &page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qRed(p) > 150 && qRed(p) - std::max(qGreen(p), qBlue(p)) > 80)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

class TestStampBatch : public QObject {
    Q_OBJECT

    QTemporaryDir m_program; // pellimo-stamp and a damaged user05.dat
    QTemporaryDir m_dir;
    QString m_tool;
    QString m_three; // three blank A4 pages
    QString m_mixed; // A4 upright, A4 shown turned by /Rotate 90, A4 landscape by its MediaBox

    QString path(const QString &name) const { return m_dir.filePath(name); }
    Ran tool(const QStringList &args) { return run(m_tool, args, m_dir.path()); }

private Q_SLOTS:
    void initTestCase()
    {
        m_tool = installTool(m_program.path());
        QVERIFY(!m_tool.isEmpty());
        QVERIFY(writeBytes(m_program.filePath(QStringLiteral("user05.dat")), "255,1,35,35,35\r\n"));
        m_three = path(QStringLiteral("three.pdf"));
        m_mixed = path(QStringLiteral("mixed.pdf"));
        const Ran made = python(QStringLiteral(R"(
import sys, pikepdf
three = pikepdf.new()
for i in range(3):
    three.add_blank_page(page_size=(595.28, 841.89))
three.save(sys.argv[1])
mixed = pikepdf.new()
for size in [(595.28, 841.89), (595.28, 841.89), (841.89, 595.28)]:
    mixed.add_blank_page(page_size=size)
mixed.pages[1].Rotate = 90
mixed.save(sys.argv[2])
)"),
                                {m_three, m_mixed});
        QVERIFY2(made.status == 0, qPrintable(made.err));
    }

    void pages_data()
    {
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QList<int>>("stamped");
        QTest::newRow("first") << "first" << QList<int>{1};
        QTest::newRow("last") << "last" << QList<int>{3};
        QTest::newRow("all") << "all" << QList<int>{1, 2, 3};
        QTest::newRow("a list, out of order and twice") << "3,1-1,1" << QList<int>{1, 3};
        QTest::newRow("a range") << "2-3" << QList<int>{2, 3};
    }

    // One annotation on each page named, all in one update appended to IN.
    void pages()
    {
        QFETCH(QString, pages);
        QFETCH(QList<int>, stamped);
        const QString out = path(QStringLiteral("pages.pdf"));
        const Ran ran = tool({QStringLiteral("--onto"), m_three, QStringLiteral("--pages"), pages,
                              QStringLiteral("-o"), out});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const QByteArray in = bytesOf(m_three);
        const QByteArray written = bytesOf(out);
        QVERIFY(written.startsWith(in));
        QCOMPARE(written.mid(in.size()).count("startxref"), 1);
        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out));
        QCOMPARE(stampedPages(out), stamped);
    }

    void pageMissing()
    {
        const QString out = path(QStringLiteral("missing-page.pdf"));
        const Ran ran = tool({QStringLiteral("--onto"), m_three, QStringLiteral("--pages"),
                              QStringLiteral("1,4-5"), QStringLiteral("-o"), out});
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(QStringLiteral("page 4 does not exist: three.pdf has 3 page(s)")),
                 qPrintable(ran.err));
        QVERIFY(!QFile::exists(out));
    }

    void corners_data()
    {
        QTest::addColumn<QString>("corner");
        QTest::addColumn<QStringList>("at"); // empty: the default place
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("bottom");
        QTest::addColumn<QPointF>("inset"); // from the corner to the stamp's square, mm
        QTest::newRow("top-left") << "top-left" << QStringList{"--at", "10,20"} << false << false
                                  << QPointF(10, 20);
        QTest::newRow("top-right")
            << "top-right" << QStringList{"--at", "10,20"} << true << false << QPointF(10, 20);
        QTest::newRow("bottom-left")
            << "bottom-left" << QStringList{"--at", "10,20"} << false << true << QPointF(10, 20);
        QTest::newRow("bottom-right")
            << "bottom-right" << QStringList{"--at", "10,20"} << true << true << QPointF(10, 20);
        QTest::newRow("bottom-right, default inset")
            << "bottom-right" << QStringList() << true << true << QPointF(15, 15);
    }

    // One command puts the stamp in the same corner of upright, turned and landscape pages.
    void corners()
    {
        QFETCH(QString, corner);
        QFETCH(QStringList, at);
        QFETCH(bool, right);
        QFETCH(bool, bottom);
        QFETCH(QPointF, inset);
        const QString out = path(QStringLiteral("corner.pdf"));
        const Ran ran = tool(
            QStringList{QStringLiteral("--onto"), m_mixed, QStringLiteral("--pages"),
                        QStringLiteral("all"), QStringLiteral("--corner"), corner,
                        QStringLiteral("--size"), QStringLiteral("20"), QStringLiteral("-o"), out} +
            at);
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        for (int page = 1; page <= 3; ++page) {
            const QImage image = renderPage(out, page, kDpi);
            QVERIFY(!image.isNull());
            const double w = page == 1 ? 210 : 297, h = page == 1 ? 297 : 210; // as shown
            const double x = right ? w - inset.x() - 20 : inset.x();
            const double y = bottom ? h - inset.y() - 20 : inset.y();
            const QRect expected(qRound(x * kPxPerMm), qRound(y * kPxPerMm), 20 * kPxPerMm,
                                 20 * kPxPerMm);
            const QRect ink = redInk(image);
            auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
            QVERIFY2(close(ink.left(), expected.left()) && close(ink.top(), expected.top()) &&
                         close(ink.right(), expected.right()) &&
                         close(ink.bottom(), expected.bottom()),
                     qPrintable(QStringLiteral("page %1: ink (%2,%3)-(%4,%5), expected (%6,%7)")
                                    .arg(page)
                                    .arg(ink.left())
                                    .arg(ink.top())
                                    .arg(ink.right())
                                    .arg(ink.bottom())
                                    .arg(expected.left())
                                    .arg(expected.top())));
        }
    }

    void batch_data()
    {
        QTest::addColumn<QString>("how"); // the inputs given as files, a folder, or on stdin
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("files") << "files" << QStringList() << "-stamped";
        QTest::newRow("a folder") << "folder" << QStringList() << "-stamped";
        QTest::newRow("names on standard input") << "stdin" << QStringList() << "-stamped";
        QTest::newRow("a suffix") << "files" << QStringList{"--suffix", "_approved"} << "_approved";
    }

    // Each file stamped as one --onto would; a failure is named and the others are still done;
    // status 1, a summary at the end.
    void batch()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, extra);
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in"));
        const QString outDir = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(outDir));
        const QStringList good = {QStringLiteral("a.pdf"), QStringLiteral("b.PDF"),
                                  QStringLiteral("c d.pdf")};
        for (const QString &name : good)
            QVERIFY(QFile::copy(m_three, QDir(in).filePath(name)));
        QVERIFY(writeBytes(QDir(in).filePath(QStringLiteral("broken.pdf")), "not a PDF\n"));
        QVERIFY(writeBytes(QDir(in).filePath(QStringLiteral("notes.txt")), "not stamped\n"));

        QStringList names = good;
        names.insert(1, QStringLiteral("broken.pdf"));
        QStringList args = {QStringLiteral("--date"), kDay, QStringLiteral("--outdir"), outDir};
        args += extra;
        Ran ran;
        if (how == QStringLiteral("folder")) {
            ran = run(m_tool, args + QStringList{QStringLiteral("--onto"), in}, in);
        } else if (how == QStringLiteral("stdin")) {
            QString list;
            for (const QString &name : names)
                list += QDir(in).filePath(name) + u'\n';
            ran = run(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("printf '%s' \"$1\" | \"$0\" --onto - ") + args.join(u' '),
                       m_tool, list});
        } else {
            ran = run(m_tool, args + QStringList{QStringLiteral("--onto")} + names, in);
        }
        QCOMPARE(ran.status, 1);
        const QStringList lines = ran.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].contains(QStringLiteral("broken.pdf: ")), qPrintable(ran.err));
        QVERIFY2(lines[1].contains(QStringLiteral("3 of 4 files stamped")) &&
                     lines[1].contains(QStringLiteral("1 failed")),
                 qPrintable(ran.err));

        QStringList expected;
        for (const QString &name : good)
            expected << QFileInfo(name).completeBaseName() + suffix + QStringLiteral(".pdf");
        expected.sort();
        QCOMPARE(QDir(outDir).entryList(QDir::Files, QDir::Name), expected);
        const QByteArray original = bytesOf(m_three);
        for (const QString &name : expected) {
            const QString out = QDir(outDir).filePath(name);
            QVERIFY(bytesOf(out).startsWith(original));
            QCOMPARE(stampedPages(out), QList<int>{1});
        }
        // The same stamp in the same place as one --onto of the same file puts it.
        const QString single = dir.filePath(QStringLiteral("single.pdf"));
        QCOMPARE(tool({QStringLiteral("--date"), kDay, QStringLiteral("--onto"), m_three,
                       QStringLiteral("-o"), single})
                     .status,
                 0);
        QCOMPARE(renderPage(QDir(outDir).filePath(expected.constFirst()), 1, 50),
                 renderPage(single, 1, 50));
    }

    // Two inputs of one name from two folders: the second would replace the first's copy.
    void sameNameTwice()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("x")) &&
                QDir(dir.path()).mkpath(QStringLiteral("y")) &&
                QDir(dir.path()).mkpath(QStringLiteral("out")));
        QVERIFY(QFile::copy(m_three, dir.filePath(QStringLiteral("x/same.pdf"))));
        QVERIFY(QFile::copy(m_mixed, dir.filePath(QStringLiteral("y/same.pdf"))));
        const Ran ran =
            run(m_tool,
                {QStringLiteral("--onto"), QStringLiteral("x/same.pdf"),
                 QStringLiteral("y/same.pdf"), QStringLiteral("--outdir"), QStringLiteral("out")},
                dir.path());
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(QStringLiteral("y/same.pdf: its copy")), qPrintable(ran.err));
        QVERIFY(bytesOf(dir.filePath(QStringLiteral("out/same-stamped.pdf")))
                    .startsWith(bytesOf(m_three)));
    }

    // A file named in CP932 bytes, as unpacked from a Windows archive, found in a folder or named
    // on the command line: stamped like the others, its copy named with the same bytes.
    void nameNotUtf8_data()
    {
        QTest::addColumn<QString>("command"); // run by sh in the test folder; $0 is the tool
        QTest::newRow("in a folder") << "exec \"$0\" --onto in --outdir out";
        QTest::newRow("named") << "exec \"$0\" --onto \"$(printf 'in/\\214\\216\\225\\361.pdf')\" "
                                  "in/plain.pdf --outdir out";
    }

    void nameNotUtf8()
    {
        QFETCH(QString, command);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("in")) &&
                QDir(dir.path()).mkpath(QStringLiteral("out")));
        QVERIFY(QFile::copy(m_three, dir.filePath(QStringLiteral("in/plain.pdf"))));
        const QByteArray folder = QFile::encodeName(dir.path());
        const QByteArray odd = folder + "/in/\x8c\x8e\x95\xf1.pdf"; // 月報
        const QByteArray copy = folder + "/out/\x8c\x8e\x95\xf1-stamped.pdf";
        const auto removeOdd = qScopeGuard([&] {
            ::unlink(odd.constData());
            ::unlink(copy.constData());
        });
        const QByteArray bytes = bytesOf(m_three);
        const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
        const Ran ran =
            run(QStringLiteral("sh"), {QStringLiteral("-c"), command, m_tool}, dir.path());
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QVERIFY2(ran.err.contains(QStringLiteral("2 of 2 files stamped")), qPrintable(ran.err));
        QVERIFY(bytesOf(dir.filePath(QStringLiteral("out/plain-stamped.pdf"))).startsWith(bytes));
        QFile stamped;
        const int out = ::open(copy.constData(), O_RDONLY);
        QVERIFY2(out >= 0, "no copy under the name's own bytes");
        QVERIFY(stamped.open(out, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        const QByteArray written = stamped.readAll();
        QVERIFY(written.startsWith(bytes) && written.size() > bytes.size());
    }

    void progress_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::newRow("standard error is a terminal") << true;
        QTest::newRow("standard error is a pipe") << false;
    }

    // A batch held up for two seconds (by a FIFO among its inputs) shows how far it is on a
    // terminal, and says nothing of it into a pipe.
    void progress()
    {
        QFETCH(bool, terminal);
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("slow.pdf"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out")));
        const Ran ran =
            python(QStringLiteral(R"(
import os, pty, select, subprocess, sys, time
tool, fifo, out, terminal, *inputs = sys.argv[1:]
if terminal == '1':
    master, slave = pty.openpty()
else:
    master, slave = os.pipe()
p = subprocess.Popen([tool, '--onto', *inputs, '--outdir', out], stdout=subprocess.DEVNULL,
                     stderr=slave)
os.close(slave)
said = b''
def drain(seconds):
    global said
    end = time.time() + seconds
    while time.time() < end:
        if select.select([master], [], [], 0.1)[0]:
            try:
                chunk = os.read(master, 4096)
            except OSError:
                return
            if not chunk:
                return
            said += chunk
drain(2.5)
said += b'\n--- released ---\n'
try:
    os.close(os.open(fifo, os.O_WRONLY | os.O_NONBLOCK))
except OSError as e:
    said += b'nobody reads the FIFO\n'
p.wait(timeout=60)
drain(0.5)
sys.stdout.write(said.decode('utf-8', 'replace'))
sys.exit(p.returncode)
)"),
                   {m_tool, fifo, dir.filePath(QStringLiteral("out")),
                    terminal ? QStringLiteral("1") : QStringLiteral("0"), m_three, fifo, m_mixed});
        QCOMPARE(ran.status, 1); // the FIFO is no PDF file
        const QString before = ran.out.section(QStringLiteral("--- released ---"), 0, 0);
        const QString after = ran.out.section(QStringLiteral("--- released ---"), 1);
        static const QRegularExpression line(QStringLiteral("[12] of 3 files done, [12] left"));
        QCOMPARE(before.contains(line), terminal);
        QVERIFY2(after.contains(QStringLiteral("2 of 3 files stamped")), qPrintable(ran.out));
        QVERIFY2(!after.contains(QStringLiteral("nobody reads")), qPrintable(ran.out));
    }

    void eraDays_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("day");
        QTest::addColumn<int>("status");
        QTest::newRow("PNG, year 1") << "--png"
                                     << "0001-01-01" << 1;
        QTest::newRow("SVG, the day before the first era") << "--svg"
                                                           << "0645-06-21" << 1;
        QTest::newRow("PDF, the first day of the first era") << "--pdf"
                                                             << "0645-06-22" << 0;
    }

    // With the default pattern (it writes the era) a day before the first era the calendar
    // knows is refused in every output, never written with an era year below 1.
    void eraDays()
    {
        QFETCH(QString, output);
        QFETCH(QString, day);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("stamp"));
        const Ran ran = run(m_tool, {QStringLiteral("--date"), day, output, file}, dir.path());
        QCOMPARE(ran.status, status);
        QCOMPARE(QFile::exists(file), status == 0);
        if (status != 0)
            QVERIFY2(ran.err.contains(QStringLiteral("lies before 0645-06-22")),
                     qPrintable(ran.err));
    }

    void refusedBeforeReading_data()
    {
        QTest::addColumn<QStringList>("args"); // IN is a FIFO nobody writes to
        QTest::addColumn<QString>("says");
        QTest::newRow("OUT is IN")
            << QStringList{"-o", "IN"} << "the output file is the input file";
        QTest::newRow("damaged profile")
            << QStringList{"--user", "5", "-o", "out.pdf"} << "user05.dat cannot be read";
        QTest::newRow("a day before the first era")
            << QStringList{"--date", "0001-01-01", "-o", "out.pdf"}
            << "--date 0001-01-01 lies before 0645-";
        QTest::newRow("a stamp too small to read")
            << QStringList{"--size", "4.9", "-o", "out.pdf"} << "from 5 to 500";
        QTest::newRow("--outdir no folder")
            << QStringList{"--outdir", "nowhere"} << "nowhere is not a folder";
        QTest::newRow("--flatten, OUT is IN")
            << QStringList{"--flatten", "-o", "IN"} << "the output file is the input file";
    }

    // A refusal known before the PDF is read comes at once: the input is never opened (a FIFO
    // that nobody writes to would hold up a program that opened it).
    void refusedBeforeReading()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("in.pdf"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        args.replaceInStrings(QRegularExpression(QStringLiteral("^IN$")), fifo);
        const Ran ran = run(m_tool, QStringList{QStringLiteral("--onto"), fifo} + args, dir.path());
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), QStringList{"in.pdf"});
    }
};

QTEST_MAIN(TestStampBatch)
#include "test_stampbatch.moc"
