// SPDX-License-Identifier: MIT
#include "pdftesttools.h"

#include "model/stampprofile.h"

#include <QFile>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

namespace pellimo::testing {

Ran run(const QString &program, const QStringList &args, const QString &folder)
{
    QProcess p;
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, args);
    Ran r;
    if (!p.waitForStarted(30000))
        return r;
    p.closeWriteChannel();
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

Ran pikepdf(const QString &script, const QStringList &args)
{
    return run(QStringLiteral("/usr/bin/python3"),
               QStringList{QStringLiteral("-c"), script} + args);
}

QString rendererName(Renderer renderer)
{
    return renderer == Renderer::Poppler ? QStringLiteral("pdftoppm") : QStringLiteral("mutool");
}

QImage renderPage(Renderer renderer, const QString &pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    Ran r;
    if (renderer == Renderer::Poppler)
        r = run(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-cropbox"), QStringLiteral("-r"),
                 QString::number(dpi), QStringLiteral("-f"), QString::number(page),
                 QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), pdf,
                 dir.filePath(QStringLiteral("page"))});
    else
        r = run(QStringLiteral("mutool"),
                {QStringLiteral("draw"), QStringLiteral("-q"), QStringLiteral("-r"),
                 QString::number(dpi), QStringLiteral("-o"), png, pdf, QString::number(page)});
    if (r.status != 0)
        return {};
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

QString pageText(const QString &pdf, int page)
{
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), pdf, QStringLiteral("-")})
        .out;
}

bool writeQtPdf(const QString &path, int pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(254); // 10 dots a millimetre
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.setPen(QPen(Qt::lightGray, 2));
        for (int x = 0; x <= 2100; x += 100)
            painter.drawLine(x, 0, x, 2970);
        for (int y = 0; y <= 2970; y += 100)
            painter.drawLine(0, y, 2100, y);
        painter.setPen(QPen(Qt::black, 4));
        painter.drawRect(100, 100, 1900, 2770);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(60);
        painter.setFont(font);
        painter.drawText(QPointF(200, 400),
                         QStringLiteral("Sample page %1 of %2").arg(page).arg(pages));
    }
    return painter.end();
}

QByteArray handmadePdf(const QList<QByteArray> &objects, const QByteArray &trailerExtra)
{
    QByteArray out = "%PDF-1.7\n%\xe2\xe3\xcf\xd3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f\r\n";
    for (const qsizetype o : offsets)
        out += QByteArray::number(o).rightJustified(10, '0') + " 00000 n\r\n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " +
           trailerExtra + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

QByteArray hybridPdf()
{
    const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
                            "/Resources << /Font << /F1 6 0 R >> >> >>";
    const QByteArray objstm = "3 0 " + page;
    QByteArray out = "%PDF-1.5\n";
    QMap<int, qsizetype> at;
    auto object = [&](int n, const QByteArray &body) {
        at[n] = out.size();
        out += QByteArray::number(n) + " 0 obj\n" + body + "\nendobj\n";
    };
    object(1, "<< /Type /Catalog /Pages 2 0 R >>");
    object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    object(4, contentObject(sampleContent(595, 842)));
    object(5, "<< /Type /ObjStm /N 1 /First 4 /Length " + QByteArray::number(objstm.size()) +
                  " >>\nstream\n" + objstm + "\nendstream");
    object(6, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    QByteArray entries;
    for (const int field : {2, 5, 0}) // object 3: type 2, in object stream 5, index 0
        entries += char(field);
    const qsizetype xrefStm = out.size();
    object(7, "<< /Type /XRef /Size 8 /W [1 1 1] /Index [3 1] /Length 3 >>\nstream\n" + entries +
                  "\nendstream");
    const qsizetype table = out.size();
    out += "xref\n0 3\n0000000000 65535 f\r\n";
    for (const int n : {1, 2})
        out += QByteArray::number(at[n]).rightJustified(10, '0') + " 00000 n\r\n";
    out += "4 4\n";
    for (const int n : {4, 5, 6})
        out += QByteArray::number(at[n]).rightJustified(10, '0') + " 00000 n\r\n";
    out += QByteArray::number(xrefStm).rightJustified(10, '0') + " 00000 n\r\n";
    out += "trailer\n<< /Size 8 /Root 1 0 R /XRefStm " + QByteArray::number(xrefStm) +
           " >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return out;
}

QByteArray contentObject(const QByteArray &content)
{
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content +
           "\nendstream";
}

QByteArray sampleContent(double width, double height)
{
    const QByteArray w = QByteArray::number(width), h = QByteArray::number(height);
    return "0.6 G 4 w 20 20 " + QByteArray::number(width - 40) + ' ' +
           QByteArray::number(height - 40) + " re S\n0.3 g 60 60 80 80 re f\nBT /F1 24 Tf 60 " +
           QByteArray::number(height - 100) + " Td (Handmade page " + w + 'x' + h + ") Tj ET\n";
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

StampGeometry testStamp(const QString &dateText)
{
    StampProfile profile;
    loadDefaultProfile(profile);
    profile.items[1].text = dateText;
    return stampGeometry(profile);
}

bool isRed(QRgb p)
{
    return qRed(p) > 150 && qRed(p) - std::max(qGreen(p), qBlue(p)) > 80;
}

QRect changedRed(const QImage &before, const QImage &after, const QRect &allowed, int &outside)
{
    outside = 0;
    QRect red;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            const bool differs = !before.valid(x, y) || before.pixel(x, y) != after.pixel(x, y);
            if (differs && !allowed.contains(x, y))
                ++outside;
            else if (differs && isRed(after.pixel(x, y)))
                red |= QRect(x, y, 1, 1);
        }
    return red;
}

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

} // namespace pellimo::testing
