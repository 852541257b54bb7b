// SPDX-License-Identifier: MIT
#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

namespace pellimo::testing {

Ran run(const QString &program, const QStringList &args, const QString &folder,
        const std::function<void()> &inChild)
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(program, args);
    Ran ran;
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000))
        return ran;
    ran.outBytes = process.readAllStandardOutput();
    ran.out = QString::fromLocal8Bit(ran.outBytes);
    ran.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        ran.status = process.exitCode();
    return ran;
}

QString installTool(const QString &folder)
{
    const QString path = folder + QStringLiteral("/pellimo-stamp");
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(PELLIMO_STAMP_EXE), path))
        return {};
    return path;
}

Ran python(const QString &script, const QStringList &args)
{
    return run(QStringLiteral("/usr/bin/python3"),
               QStringList{QStringLiteral("-c"), script} + args);
}

QImage renderPage(const QString &pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    const Ran ran = run(QStringLiteral("pdftoppm"),
                        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
    if (ran.status != 0)
        return {};
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QString pageText(const QString &pdf, int page)
{
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), pdf, QStringLiteral("-")})
        .out;
}

bool writeFormPdf(const QString &path, int pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(720);
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    const double mm = 720 / 25.4;
    for (int p = 1; p <= pages; ++p) {
        if (p > 1 && !writer.newPage())
            return false;
        painter.setPen(QPen(Qt::gray, 0.3 * mm));
        for (int x = 10; x < 210; x += 10)
            painter.drawLine(QPointF(x * mm, 0), QPointF(x * mm, 297 * mm));
        for (int y = 10; y < 297; y += 10)
            painter.drawLine(QPointF(0, y * mm), QPointF(210 * mm, y * mm));
        painter.setPen(QPen(Qt::black, 0.5 * mm));
        painter.drawRect(QRectF(5 * mm, 5 * mm, 200 * mm, 287 * mm));
        painter.fillRect(QRectF(20 * mm, 200 * mm, 60 * mm, 40 * mm), Qt::darkBlue);
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(int(8 * mm));
        painter.setFont(font);
        painter.drawText(QPointF(20 * mm, 150 * mm), QStringLiteral("Form page %1").arg(p));
    }
    return painter.end();
}

} // namespace pellimo::testing
