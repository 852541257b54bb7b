// SPDX-License-Identifier: MIT
#pragma once

// PDFs written byte by byte, for files no PDF library would make on purpose: a page holding a
// million `q`, pages of any size, a hundred thousand pages sharing one content stream.
#include <QByteArray>
#include <QList>
#include <QSizeF>

namespace pellimo::testing {

struct RawPdfPage {
    QSizeF sizePt{595, 842};
    int content = 0; // index into the content streams
    int rotate = 0;
    double userUnit = 0; // 0: none
};

// Object 1 the catalogue, 2 the page tree (with what every page inherits: the first page's
// MediaBox, the font F1 and `resources`), 3 the font, then the content streams, then `objects`,
// then the pages. A page says only what it does not inherit: a file of 100,000 pages stays within
// what the stamping reads.
inline QByteArray rawPdf(const QList<QByteArray> &contents, const QList<RawPdfPage> &pages,
                         const QList<QByteArray> &extra = {}, const QByteArray &resources = {})
{
    QList<QByteArray> objects;
    objects << "<< /Type /Catalog /Pages 2 0 R >>";
    QByteArray kids;
    kids.reserve(pages.size() * 10);
    const qsizetype firstPage = 4 + contents.size() + extra.size();
    for (qsizetype i = 0; i < pages.size(); ++i)
        kids += QByteArray::number(firstPage + i) + " 0 R ";
    auto box = [](QSizeF size) {
        return "[0 0 " + QByteArray::number(size.width()) + ' ' +
               QByteArray::number(size.height()) + ']';
    };
    const QSizeF inherited = pages.isEmpty() ? QSizeF(595, 842) : pages.first().sizePt;
    objects << "<< /Type /Pages /Count " + QByteArray::number(pages.size()) + " /Kids [" + kids +
                   "] /MediaBox " + box(inherited) + " /Resources << /Font << /F1 3 0 R >> " +
                   resources + " >> >>";
    objects << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    for (const QByteArray &c : contents)
        objects << "<< /Length " + QByteArray::number(c.size()) + " >>\nstream\n" + c +
                       "\nendstream";
    objects << extra;
    for (const RawPdfPage &p : pages) {
        QByteArray page =
            "<< /Type /Page /Parent 2 0 R /Contents " + QByteArray::number(4 + p.content) + " 0 R";
        if (p.sizePt != inherited)
            page += " /MediaBox " + box(p.sizePt);
        if (p.rotate)
            page += " /Rotate " + QByteArray::number(p.rotate);
        if (p.userUnit)
            page += " /UserUnit " + QByteArray::number(p.userUnit);
        objects << page + " >>";
    }
    QByteArray out = "%PDF-1.7\n%\xe2\xe3\xcf\xd3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype at : offsets)
        out += QByteArray::number(at).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

inline QByteArray textContent(const QByteArray &text)
{
    return "BT /F1 24 Tf 72 700 Td (" + text + ") Tj ET";
}

// Page 2 saves the graphics state a million times before its text.
inline QByteArray millionSavesPdf()
{
    return rawPdf({textContent("page 1"), QByteArray("q\n").repeated(1000000) + textContent("2")},
                  {{}, {QSizeF(595, 842), 1}});
}

// One page 14,400 points (5 m) square, ruled every 50 points.
inline QByteArray hugePagePdf()
{
    QByteArray c;
    for (int x = 0; x < 14400; x += 50)
        c += QByteArray::number(x) + " 0 m " + QByteArray::number(x) + " 14400 l S\n";
    c += "BT /F1 2000 Tf 1000 7000 Td (HUGE) Tj ET";
    return rawPdf({c}, {{QSizeF(14400, 14400), 0}});
}

// `count` A4 pages drawn by one content stream.
inline QByteArray manyPagesPdf(int count)
{
    return rawPdf({textContent("the same page")}, QList<RawPdfPage>(count));
}

// Page 2 draws a form that draws another form ten times, and so on `levels` deep: ten to the
// `levels` squares from a file of a few kilobytes, a page as slow as one likes.
inline QByteArray nestedFormsPdf(int levels)
{
    const QList<QByteArray> contents{textContent("page 1"), "/X0 Do"};
    QList<QByteArray> forms;
    for (int i = 0; i < levels; ++i) {
        QByteArray body, resources;
        if (i + 1 < levels) {
            for (int k = 0; k < 10; ++k)
                body += "q 0.3 0 0 0.3 " + QByteArray::number(k * 50) + ' ' +
                        QByteArray::number(k * 70) + " cm /X" + QByteArray::number(i + 1) +
                        " Do Q\n";
            resources = "/Resources << /XObject << /X" + QByteArray::number(i + 1) + ' ' +
                        QByteArray::number(4 + contents.size() + i + 1) + " 0 R >> >> ";
        } else {
            body = "0.2 0.4 0.8 rg 0 0 600 800 re f";
        }
        forms << "<< /Type /XObject /Subtype /Form /BBox [0 0 600 850] " + resources + "/Length " +
                     QByteArray::number(body.size()) + " >>\nstream\n" + body + "\nendstream";
    }
    return rawPdf(contents, {{}, {QSizeF(595, 842), 1}}, forms,
                  "/XObject << /X0 " + QByteArray::number(4 + contents.size()) + " 0 R >>");
}

} // namespace pellimo::testing
