// SPDX-License-Identifier: MIT
// Placing the stamp on a page whose numbers come from the fuzzer: MediaBox and CropBox (numbers,
// odd tokens, huge values), /Rotate (integers, reals, anything), /UserUnit, /Resources on the page,
// inherited from the tree or missing, and the stamp's place and size. Properties:
// - the page's frame is refused with a reason, or has a finite box of positive size, a rotation of
//   0, 90, 180 or 270 and a positive unit, and a point taken to user space and back is where it
//   was;
// - a stamp that fits lies inside the visible box in user space;
// - the annotation either is refused with a message and writes nothing, or writes a file that
//   starts with the input, that qpdf reads, and whose listing finds the stamp where it was put;
// - drawing the stamp into the page either is refused, or writes a file that qpdf reads.

#include "fuzzsupport.h"
#include "model/stampprofile.h"
#include "pdfstamp/pdfplacement.h"
#include "pdfstamp/pdfstamp.h"
#include "pdfstamp/stampfit.h"

#include <QFile>
#include <QGuiApplication>
#include <cmath>
#include <fuzzer/FuzzedDataProvider.h>
#include <qpdf/QPDF.hh>

using namespace pellimo;
using namespace pellimo::fuzz;

namespace {

QByteArray number(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return QByteArray::number(in.ConsumeIntegralInRange<int>(-2000, 2000));
    case 1:
        return QByteArray::number(in.ConsumeFloatingPoint<double>(), 'f', 3);
    case 2:
        return QByteArray::number(in.ConsumeIntegral<long long>());
    case 3:
        return QByteArray::number(in.ConsumeFloatingPointInRange<double>(-1000, 1000), 'f', 2);
    default: { // any token, kept out of the structure around it
        QByteArray t = QByteArray::fromStdString(in.ConsumeRandomLengthString(12));
        for (char &c : t)
            if (c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '/' ||
                c == '%' || c == '\\' || c == '\r' || c == '\n' || c == '\0' || c == '{' ||
                c == '}')
                c = '0';
        return t.isEmpty() ? QByteArray("0") : t;
    }
    }
}

QByteArray box(FuzzedDataProvider &in)
{
    return '[' + number(in) + ' ' + number(in) + ' ' + number(in) + ' ' + number(in) + ']';
}

// Page keys from the fuzzer, each on the page, on its parent, or absent.
void pageKeys(FuzzedDataProvider &in, QByteArray &page, QByteArray &parent)
{
    const QByteArray media =
        "/MediaBox " + (in.ConsumeBool() ? box(in) : QByteArray("[0 0 595 842]"));
    (in.ConsumeBool() ? page : parent) += ' ' + media;
    if (in.ConsumeBool())
        (in.ConsumeBool() ? page : parent) += " /CropBox " + box(in);
    if (in.ConsumeBool())
        (in.ConsumeBool() ? page : parent) += " /Rotate " + number(in);
    if (in.ConsumeBool())
        page += " /UserUnit " + number(in);
    if (in.ConsumeBool())
        (in.ConsumeBool() ? page : parent) += " /Resources << /Font << /F1 5 0 R >> >>";
}

QByteArray document(const QByteArray &page, const QByteArray &parent)
{
    const QByteArray content = "0.5 g 10 10 100 100 re f q 2 0 0 2 0 0 cm\n";
    const QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>",
                                       "<< /Type /Pages /Kids [3 0 R] /Count 1" + parent + " >>",
                                       "<< /Type /Page /Parent 2 0 R /Contents 4 0 R" + page +
                                           " >>",
                                       "<< /Length " + QByteArray::number(content.size()) +
                                           " >>\nstream\n" + content + "\nendstream",
                                       "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray out = "%PDF-1.7\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 6\n0000000000 65535 f\r\n";
    for (const qsizetype o : offsets)
        out += QByteArray::number(o).rightJustified(10, '0') + " 00000 n\r\n";
    return out + "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) +
           "\n%%EOF\n";
}

bool near(QPointF a, QPointF b)
{
    const double scale = std::max({1.0, std::abs(a.x()), std::abs(a.y())});
    return std::abs(a.x() - b.x()) <= 1e-6 * scale && std::abs(a.y() - b.y()) <= 1e-6 * scale;
}

// The frame's own properties, on qpdf's reading of the page.
void checkFrame(const QByteArray &pdfBytes, const PdfStampPlace &place, const StampGeometry &g)
{
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    QPDFObjectHandle page;
    try {
        pdf.processMemoryFile("fuzz", pdfBytes.constData(), size_t(pdfBytes.size()));
        page = pdf.getObjectByID(3, 0);
        if (!page.isDictionary())
            return;
    } catch (const std::exception &) {
        return;
    }
    QString problem;
    const std::optional<PageFrame> frame = pageFrame(page, problem);
    if (!frame) {
        check(!problem.isEmpty(), "a refused frame says why");
        return;
    }
    check(std::isfinite(frame->box.left()) && std::isfinite(frame->box.top()) &&
              frame->box.width() > 0 && frame->box.height() > 0,
          "the visible box is finite and not empty");
    check(frame->rotation % 90 == 0 && frame->rotation >= 0 && frame->rotation < 360,
          "the rotation is a quarter turn");
    check(frame->userUnit > 0 && std::isfinite(frame->userUnit), "the unit is positive");
    const QPointF p(place.diameterMm * 3.1, place.diameterMm * 1.7);
    check(near(viewPoint(*frame, userSpacePoint(*frame, p)), p), "user space and back",
          QStringLiteral("%1 %2").arg(p.x()).arg(p.y()));
    QRectF picture;
    if (!fitStamp(*frame, place, g, picture))
        return;
    const QPDFObjectHandle::Rectangle r = userSpaceRect(*frame, picture);
    const QRectF box = frame->box;
    const double slack = 1e-6 * std::max(1.0, box.width() + box.height()) +
                         2 * picture.width() / frame->userUnit; // the picture's margin
    check(r.llx >= box.left() - slack && r.urx <= box.right() + slack &&
              r.lly >= box.top() - slack && r.ury <= box.bottom() + slack,
          "the stamp lies on the visible box",
          QStringLiteral("stamp %1 %2 %3 %4 on box %5 %6 %7 %8, rotation %9, unit %10, slack %11")
              .arg(r.llx)
              .arg(r.lly)
              .arg(r.urx)
              .arg(r.ury)
              .arg(box.left())
              .arg(box.top())
              .arg(box.right())
              .arg(box.bottom())
              .arg(frame->rotation)
              .arg(frame->userUnit)
              .arg(slack));
}

StampGeometry &stamp()
{
    static StampGeometry g = [] {
        StampProfile profile;
        loadDefaultProfile(profile);
        profile.items[1].text = QStringLiteral("08.12.07");
        return stampGeometry(profile);
    }();
    return g;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_pdfplacement";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    stamp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    QByteArray page, parent;
    pageKeys(in, page, parent);
    PdfStampPlace place;
    place.diameterMm = in.ConsumeFloatingPointInRange<double>(-1, 300);
    if (in.ConsumeBool())
        place.atMm = QPointF(in.ConsumeFloatingPointInRange<double>(-100, 2000),
                             in.ConsumeFloatingPointInRange<double>(-100, 2000));
    const QByteArray pdfBytes = document(page, parent);
    checkFrame(pdfBytes, place, stamp());

    const QString inPath = scratchPath(QStringLiteral("in.pdf"));
    const QString outPath = scratchPath(QStringLiteral("out.pdf"));
    writeWholeFile(inPath, pdfBytes);
    QFile::remove(outPath);
    const PdfResult annotated = stampPdfFile(inPath, outPath, place, stamp());
    bool ok = false;
    const QByteArray out = readWholeFile(outPath, &ok);
    if (!annotated) {
        check(!annotated.error.isEmpty() && !ok, "a refusal says why and writes nothing");
    } else {
        check(ok && (!annotated.notice.isEmpty() || out.startsWith(pdfBytes)),
              "the input is the prefix of the output");
        QList<PdfStampEntry> stamps;
        check(bool(listPdfStamps(outPath, stamps)) && stamps.size() == 1, "the stamp is listed");
        const double d = place.diameterMm;
        const QPointF at = place.atMm.value_or(stamps[0].rectMm.center() - QPointF(d / 2, d / 2));
        check(
            stamps[0].rectMm.adjusted(-0.01, -0.01, 0.01, 0.01).contains(QRectF(at, QSizeF(d, d))),
            "the stamp is listed where it was put", describeStampEntry(stamps[0]));
    }

    QFile::remove(outPath);
    if (flattenPdfFile(inPath, outPath, place, stamp())) {
        QPDF reread;
        reread.setSuppressWarnings(true);
        try {
            reread.processFile(QFile::encodeName(outPath).constData());
            reread.getAllObjects();
        } catch (const std::exception &e) {
            fail("the flattened file is read back", QString::fromUtf8(e.what()));
        }
    }
    return 0;
}
