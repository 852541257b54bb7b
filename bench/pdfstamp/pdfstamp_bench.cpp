// SPDX-License-Identifier: MIT
// Stamping page 1 of a 100-page PDF with pellimo-stamp --onto against qpdf --overlay of the same
// stamp page onto the same page, each as the whole command a script would run:
//   pdfstamp_bench [runs [document.pdf]]
// 15 runs of each by default, alternating; prints the medians. With a file name the generated
// document is also kept there, to look at or to time by hand.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

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

// Milliseconds the command takes, or -1 when it fails.
double timed(const QString &program, const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("document.pdf"));
    const QString stampPage = dir.filePath(QStringLiteral("stamp.pdf"));
    const QString tool = QStringLiteral(PELLIMO_STAMP_EXE);
    if (!writeDocument(doc) ||
        timed(tool, {QStringLiteral("--pdf"), stampPage, QStringLiteral("--date"),
                     QStringLiteral("2026-12-07")}) < 0)
        return 1;
    if (argc > 2) {
        QFile::remove(QString::fromLocal8Bit(argv[2]));
        QFile::copy(doc, QString::fromLocal8Bit(argv[2]));
    }
    std::printf("document: 100 pages, %lld bytes\n", QFileInfo(doc).size());

    std::vector<double> ours, theirs;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(timed(tool, {QStringLiteral("--date"), QStringLiteral("2026-12-07"),
                                    QStringLiteral("--onto"), doc, QStringLiteral("-o"),
                                    dir.filePath(QStringLiteral("ours.pdf"))}));
        theirs.push_back(
            timed(QStringLiteral("qpdf"),
                  {QStringLiteral("--overlay"), stampPage, QStringLiteral("--to=1"),
                   QStringLiteral("--"), doc, dir.filePath(QStringLiteral("theirs.pdf"))}));
        if (ours.back() < 0 || theirs.back() < 0)
            return 1;
    }
    const double a = median(ours), b = median(theirs);
    std::printf("pellimo-stamp --onto, page 1: %.1f ms (median of %d)\n", a, runs);
    std::printf("qpdf --overlay, page 1:       %.1f ms (median of %d)\n", b, runs);
    std::printf("ratio: %.2f (goal: at most 2)\n", a / b);
    return 0;
}
