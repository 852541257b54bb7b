// SPDX-License-Identifier: MIT
// pellimo-stamp --onto (the stamp as an annotation, appended in an incremental update) against
// qpdf --overlay of the same stamp page onto the same page, each as the whole command a script
// would run, on two documents made here:
//   - 100 A4 pages of text, a table and a picture (about 400 KB);
//   - a 40-page scan of about 150 MB (pages of JPEG noise, as a scanner writes them);
// and the stamp's library call alone, as the dialog makes it in a running program. Prints the
// medians of the time, the peak memory of each command (its maximum resident set), and the
// bytes the default stamp adds.
//   pdfstamp_bench [runs [folder]]
// 9 runs of each by default, alternating; with a folder, the documents are kept there.

#include "model/stampprofile.h"
#include "pdfstamp/pdfstamp.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

// 100 A4 pages of running text, a table and a picture: a typical office document.
bool writeDocument(const QString &path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    QFont font(QStringLiteral("IPAMincho"));
    font.setPixelSize(40);
    painter.setFont(font);
    QImage logo(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            logo.setPixel(x, y, qRgb(x, y, (x * y) % 256));
    for (int page = 1; page <= 100; ++page) {
        if (page > 1)
            writer.newPage();
        painter.drawImage(QRectF(1900, 50, 400, 400), logo);
        for (int line = 0; line < 60; ++line)
            painter.drawText(QPointF(100, 500 + line * 50),
                             QStringLiteral(u"第%1頁 %2行: 申請書の記載事項を確認しました。"
                                            u"Lorem ipsum dolor sit amet %3")
                                 .arg(page)
                                 .arg(line + 1)
                                 .arg(page * line));
        for (int row = 0; row < 10; ++row)
            painter.drawRect(QRectF(100, 3200 + row * 40, 2200, 40));
    }
    return painter.end();
}

// A scan: every page one JPEG of grey noise, 2480 x 3508 pixels (A4 at 300 dpi), stored as it is
// (DCTDecode), the way scanners write their PDFs.
bool writeScan(const QString &path, int pages)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QList<qint64> offsets;
    auto object = [&](const QByteArray &head, const QByteArray &data = {}) {
        offsets << out.pos();
        out.write(QByteArray::number(offsets.size()) + " 0 obj\n" + head);
        if (!data.isNull())
            out.write("\nstream\n" + data + "\nendstream");
        out.write("\nendobj\n");
    };
    out.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    QByteArray kids;
    for (int p = 0; p < pages; ++p)
        kids += QByteArray::number(3 + 3 * p) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages) + " >>");
    QImage noise(2480, 3508, QImage::Format_Grayscale8);
    QRandomGenerator random(7);
    for (int p = 0; p < pages; ++p) {
        for (int y = 0; y < noise.height(); ++y) {
            uchar *line = noise.scanLine(y);
            for (int x = 0; x < noise.width(); ++x)
                line[x] = uchar(random.bounded(256));
        }
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(50);
        if (!writer.write(noise))
            return false;
        const QByteArray content = "q 595 0 0 842 0 0 cm /Scan Do Q";
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents " +
               QByteArray::number(offsets.size() + 2) + " 0 R /Resources << /XObject << /Scan " +
               QByteArray::number(offsets.size() + 3) + " 0 R >> >> >>");
        object("<< /Length " + QByteArray::number(content.size()) + " >>", content);
        object("<< /Type /XObject /Subtype /Image /Width 2480 /Height 3508 /ColorSpace "
               "/DeviceGray /BitsPerComponent 8 /Filter /DCTDecode /Length " +
                   QByteArray::number(jpeg.size()) + " >>",
               jpeg);
    }
    const qint64 xref = out.pos();
    out.write("xref\n0 " + QByteArray::number(offsets.size() + 1) + "\n0000000000 65535 f\r\n");
    for (const qint64 o : offsets)
        out.write(QByteArray::number(o).rightJustified(10, '0') + " 00000 n\r\n");
    out.write("trailer\n<< /Size " + QByteArray::number(offsets.size() + 1) +
              " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
    return out.flush();
}

struct Measure {
    double ms = -1;
    double peakMiB = 0;
};

// The command run to its end under /usr/bin/time (GNU time, a small process, so that the peak
// memory is the command's own): wall time and its maximum resident set.
Measure measured(const QString &program, const QStringList &args)
{
    QTemporaryDir dir;
    const QByteArray report = QFile::encodeName(dir.filePath(QStringLiteral("time")));
    std::vector<QByteArray> bytes{"/usr/bin/time",           "-f", "%M", "-o", report,
                                  QFile::encodeName(program)};
    for (const QString &a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return {};
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QFile kib(dir.filePath(QStringLiteral("time")));
    if (!kib.open(QIODevice::ReadOnly))
        return {};
    return {ms, kib.readAll().trimmed().toDouble() / 1024};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Times both commands on page 1 of `doc`, alternating; false when one failed.
bool compare(const char *what, const QString &tool, const QString &doc, const QString &stampPage,
             const QString &folder, int runs)
{
    std::vector<double> ours, theirs, oursMem, theirsMem;
    const QString mine = folder + QStringLiteral("/ours.pdf");
    for (int i = 0; i < runs; ++i) {
        const Measure a =
            measured(tool, {QStringLiteral("--date"), QStringLiteral("2026-12-07"),
                            QStringLiteral("--onto"), doc, QStringLiteral("-o"), mine});
        const Measure b =
            measured(QStringLiteral("qpdf"),
                     {QStringLiteral("--overlay"), stampPage, QStringLiteral("--to=1"),
                      QStringLiteral("--"), doc, folder + QStringLiteral("/theirs.pdf")});
        if (a.ms < 0 || b.ms < 0)
            return false;
        ours.push_back(a.ms);
        theirs.push_back(b.ms);
        oursMem.push_back(a.peakMiB);
        theirsMem.push_back(b.peakMiB);
    }
    const double x = median(ours), y = median(theirs);
    std::printf("%s, %lld bytes:\n", what, QFileInfo(doc).size());
    std::printf("  pellimo-stamp --onto  %8.1f ms  %6.1f MiB peak\n", x, median(oursMem));
    std::printf("  qpdf --overlay        %8.1f ms  %6.1f MiB peak\n", y, median(theirsMem));
    std::printf("  ratio %.2f; the stamp added %lld bytes\n", x / y,
                QFileInfo(mine).size() - QFileInfo(doc).size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 9;
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    const QString doc = folder + QStringLiteral("/document.pdf");
    const QString scan = folder + QStringLiteral("/scan.pdf");
    const QString stampPage = folder + QStringLiteral("/stamp.pdf");
    const QString tool = QStringLiteral(PELLIMO_STAMP_EXE);
    if ((!QFileInfo::exists(doc) && !writeDocument(doc)) ||
        (!QFileInfo::exists(scan) && !writeScan(scan, 40)) ||
        measured(tool, {QStringLiteral("--pdf"), stampPage, QStringLiteral("--date"),
                        QStringLiteral("2026-12-07")})
                .ms < 0)
        return 1;

    if (!compare("100-page document", tool, doc, stampPage, folder, runs) ||
        !compare("40-page scan", tool, scan, stampPage, folder, runs))
        return 1;

    // The library call alone, as the dialog makes it in a running program.
    pellimo::StampProfile profile;
    pellimo::loadDefaultProfile(profile);
    profile.items[1].text = QStringLiteral("08.12.07");
    const pellimo::StampGeometry g = pellimo::stampGeometry(profile);
    for (const QString &input : {doc, scan}) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            const pellimo::PdfResult r = pellimo::stampPdfFile(
                input, folder + QStringLiteral("/call.pdf"), {1, std::nullopt, 18.52}, g);
            if (!r) {
                std::fprintf(stderr, "%s\n", qPrintable(r.error));
                return 1;
            }
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("stampPdfFile in a running program, %s: %.1f ms\n",
                    qPrintable(QFileInfo(input).fileName()), median(times));
    }
    return 0;
}
