// SPDX-License-Identifier: MIT
#include "stampcheck.h"

#include <QFileInfo>

namespace pellimo::testing {

QString prefixProblem(const QString &in, const QString &out)
{
    const Ran r = run(QStringLiteral("cmp"),
                      {QStringLiteral("-n"), QString::number(QFileInfo(in).size()), in, out});
    return r.status == 0 ? QString() : QStringLiteral("cmp: %1%2").arg(r.out, r.err);
}

QString qpdfProblem(const QString &pdf)
{
    const Ran r = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
    return r.status == 0 ? QString() : QStringLiteral("qpdf --check: %1%2").arg(r.out, r.err);
}

QString stampProblem(Renderer renderer, const QString &in, const QString &out, int page,
                     const QRectF &squareMm, int pageCount)
{
    const QString tool = rendererName(renderer);
    const QImage before = renderPage(renderer, in, page, kDpi);
    const QImage after = renderPage(renderer, out, page, kDpi);
    if (before.isNull() || after.isNull() || before.size() != after.size())
        return tool + QStringLiteral(": the pages could not be drawn, or differ in size");
    const QRect square(qRound(squareMm.x() * kPxPerMm), qRound(squareMm.y() * kPxPerMm),
                       qRound(squareMm.width() * kPxPerMm), qRound(squareMm.height() * kPxPerMm));
    int outside = 0;
    const QRect red = changedRed(before, after, square.adjusted(-3, -3, 3, 3), outside);
    if (outside)
        return tool + QStringLiteral(": %1 pixels changed outside the stamp").arg(outside);
    auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
    if (!close(red.left(), square.left()) || !close(red.top(), square.top()) ||
        !close(red.right(), square.right()) || !close(red.bottom(), square.bottom()))
        return tool + QStringLiteral(": red ink (%1,%2)-(%3,%4), square (%5,%6)-(%7,%8)")
                          .arg(red.left())
                          .arg(red.top())
                          .arg(red.right())
                          .arg(red.bottom())
                          .arg(square.left())
                          .arg(square.top())
                          .arg(square.right())
                          .arg(square.bottom());
    for (int other = 1; other <= pageCount; ++other)
        if (other != page &&
            renderPage(renderer, out, other, 30) != renderPage(renderer, in, other, 30))
            return tool + QStringLiteral(": page %1 changed").arg(other);
    return {};
}

Ran readLastAnnotation(const QString &pdf, int page)
{
    return pikepdf(QStringLiteral(R"(
import sys, json, pikepdf
pdf = pikepdf.open(sys.argv[1])
page = pdf.pages[int(sys.argv[2]) - 1]
annots = page.obj.get("/Annots", [])
a = annots[len(annots) - 1]
out = {"count": len(annots)}
for k, v in a.items():
    if isinstance(v, pikepdf.String):
        out[k] = str(v)
    elif isinstance(v, pikepdf.Name):
        out[k] = str(v)
    elif k in ("/F",):
        out[k] = int(v)
    elif k == "/Rect":
        out[k] = [float(x) for x in v]
    elif k == "/PellimoStamp":
        out[k] = {"Date": str(v.Date), "User": int(v.User)}
    elif k == "/P":
        out[k] = v.objgen == page.obj.objgen
n = a.AP.N
out["ap"] = {"Subtype": str(n.Subtype), "Matrix": [float(x) for x in n.get("/Matrix", [1,0,0,1,0,0])],
             "fonts": len(n.Resources.get("/Font", {})), "bytes": len(n.read_bytes())}
print(json.dumps(out, ensure_ascii=False))
)"),
                   {pdf, QString::number(page)});
}

} // namespace pellimo::testing
