// SPDX-License-Identifier: MIT
#include "pdfstamp.h"

#include "pdfplacement.h"
#include "render/stampvector.h"
#include "storage/datafileio.h"

#include <QFile>
#include <QFileInfo>
#include <future>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <sys/stat.h>

namespace pellimo {

// A PDF read in full: every object parsed, so that writing it out only copies.
struct OpenedPdf {
    QPDF pdf;
    PdfResult status;
    std::vector<QPDFPageObjectHelper> pages;
};

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

PdfResult failure(const QString &text)
{
    return {text};
}

// The same file under two names: the same path once links are resolved, or the same inode.
bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo ia(a), ib(b);
    if (ia.absoluteFilePath() == ib.absoluteFilePath())
        return true;
    if (!ia.exists() || !ib.exists())
        return false;
    if (ia.canonicalFilePath() == ib.canonicalFilePath())
        return true;
    struct stat sa {};
    struct stat sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Opens a PDF for reading; a file that needs repairs is damaged, one with encryption refused.
PdfResult openPdf(QPDF &pdf, const QString &path)
{
    pdf.setSuppressWarnings(true);
    pdf.setAttemptRecovery(false);
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        return failure(QStringLiteral("%1: no such file").arg(path));
    try {
        pdf.processFile(QFile::encodeName(path).constData());
    } catch (const QPDFExc &e) {
        if (e.getErrorCode() == qpdf_e_password)
            return failure(QStringLiteral("%1 is encrypted; only unencrypted PDF files can be "
                                          "stamped")
                               .arg(name));
        return failure(QStringLiteral("%1 is damaged or not a PDF file (%2)")
                           .arg(name, QString::fromStdString(e.getMessageDetail())));
    } catch (const std::exception &e) {
        return failure(
            QStringLiteral("%1 cannot be read (%2)").arg(name, QString::fromUtf8(e.what())));
    }
    if (pdf.isEncrypted())
        return failure(
            QStringLiteral("%1 is encrypted; only unencrypted PDF files can be stamped").arg(name));
    if (pdf.anyWarnings())
        return failure(QStringLiteral("%1 is damaged (it needs repairs to be read)").arg(name));
    return {};
}

PdfResult checkPage(const std::vector<QPDFPageObjectHelper> &pages, int page, const QString &in)
{
    if (page < 1 || size_t(page) > pages.size())
        return failure(QStringLiteral("page %1 does not exist: %2 has %3 page(s)")
                           .arg(page)
                           .arg(QFileInfo(in).fileName())
                           .arg(pages.size()));
    return {};
}

std::unique_ptr<OpenedPdf> readWhole(const QString &path)
{
    auto opened = std::make_unique<OpenedPdf>();
    try {
        opened->status = openPdf(opened->pdf, path);
        if (opened->status) {
            opened->pages = QPDFPageDocumentHelper(opened->pdf).getAllPages();
            (void)opened->pdf.getAllObjects();
        }
    } catch (const std::exception &e) {
        opened->status = failure(QStringLiteral("%1 is damaged (%2)")
                                     .arg(QFileInfo(path).fileName(), QString::fromUtf8(e.what())));
    }
    return opened;
}

} // namespace

QPointF defaultStampCorner(QSizeF pageMm, double diameterMm)
{
    return {pageMm.width() - kDefaultStampInsetMm - diameterMm, kDefaultStampInsetMm};
}

PdfResult describePdfPage(const QString &in, int page, PdfPageInfo &info)
{
    try {
        QPDF pdf;
        if (PdfResult r = openPdf(pdf, in); !r)
            return r;
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (PdfResult r = checkPage(pages, page, in); !r)
            return r;
        QPDFPageObjectHelper target = pages[size_t(page - 1)];
        const PageFrame frame = pageFrame(target);
        info.pageCount = int(pages.size());
        info.rotation = frame.rotation;
        info.pageMm = frame.viewSize() / kPointsPerMm;
        if (pdf.anyWarnings())
            return failure(QStringLiteral("%1 is damaged").arg(QFileInfo(in).fileName()));
    } catch (const std::exception &e) {
        return failure(QStringLiteral("%1 is damaged (%2)")
                           .arg(QFileInfo(in).fileName(), QString::fromUtf8(e.what())));
    }
    return {};
}

PdfInput::PdfInput(const QString &in)
    : m_path(in), m_reading(std::async(std::launch::async, [in] { return readWhole(in); }))
{
}

PdfInput::~PdfInput() = default;

std::unique_ptr<OpenedPdf> PdfInput::take()
{
    return m_reading.get();
}

PdfResult stampPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry)
{
    PdfInput input(in);
    return stampPdfFile(input, out, place, geometry);
}

PdfResult stampPdfFile(PdfInput &reading, const QString &out, const PdfStampPlace &place,
                       const StampGeometry &geometry)
{
    const QString &in = reading.path();
    if (sameFile(in, out))
        return failure(QStringLiteral("the output file is the input file; choose another name "
                                      "(the input is never changed)"));
    if (!(place.diameterMm > 0))
        return failure(QStringLiteral("the stamp size must be more than 0 mm"));
    try {
        // qpdf goes on reading the input on its thread while Qt draws the stamp page on this one.
        const QByteArray stampBytes = stampPdf(geometry, place.diameterMm);
        const std::unique_ptr<OpenedPdf> input = reading.take();
        if (!input->status)
            return input->status;
        QPDF &pdf = input->pdf;
        if (PdfResult r = checkPage(input->pages, place.page, in); !r)
            return r;
        QPDFPageObjectHelper target = input->pages[size_t(place.page - 1)];
        const PageFrame frame = pageFrame(target);

        // The picture is the circle's square widened by the margin on each side.
        const double squarePt = place.diameterMm * kPointsPerMm;
        const QSizeF viewMm = frame.viewSize() / kPointsPerMm;
        const QPointF cornerMm = place.atMm.value_or(defaultStampCorner(viewMm, place.diameterMm));
        const QRectF squareView(cornerMm * kPointsPerMm, QSizeF(squarePt, squarePt));
        if (!QRectF(QPointF(0, 0), frame.viewSize()).contains(squareView))
            return failure(QStringLiteral("the stamp (%1 mm at %2, %3 mm) does not fit on page %4 "
                                          "(%5 x %6 mm)")
                               .arg(place.diameterMm, 0, 'f', 1)
                               .arg(cornerMm.x(), 0, 'f', 1)
                               .arg(cornerMm.y(), 0, 'f', 1)
                               .arg(place.page)
                               .arg(viewMm.width(), 0, 'f', 1)
                               .arg(viewMm.height(), 0, 'f', 1));
        const double marginPt = squarePt * geometry.margin / geometry.diameter;
        const QRectF pictureView = squareView.adjusted(-marginPt, -marginPt, marginPt, marginPt);

        // The stamp page from Qt, as a form XObject of the document.
        if (stampBytes.isEmpty())
            return failure(QStringLiteral("the stamp could not be drawn as PDF"));
        QPDF stampDoc;
        stampDoc.setSuppressWarnings(true);
        stampDoc.processMemoryFile("stamp", stampBytes.constData(), size_t(stampBytes.size()));
        QPDFObjectHandle form =
            QPDFPageDocumentHelper(stampDoc).getAllPages().at(0).getFormXObjectForPage();
        form = pdf.copyForeignObject(form);

        QPDFObjectHandle resources = target.getAttribute("/Resources", true);
        if (!resources.isDictionary())
            return failure(QStringLiteral("page %1 has unusable resources").arg(place.page));
        int suffix = 1;
        const std::string name = resources.getUniqueResourceName("/Pellimo", suffix);
        // Upright as the page is shown: qpdf undoes the page's /Rotate for the placed form.
        const std::string placing = target.placeFormXObject(
            form, name, userSpaceRect(frame, pictureView), true, true, true);
        resources.mergeResources(QPDFObjectHandle::parse("<< /XObject << >> >>"));
        resources.getKey("/XObject").replaceKey(name, form);
        // The page's own content is wrapped in q ... Q, so the stamp starts from a clean state.
        target.addPageContents(pdf.newStream("q\n"), true);
        target.addPageContents(pdf.newStream("\nQ\n" + placing), false);

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.write();
        if (pdf.anyWarnings())
            return failure(QStringLiteral("%1 is damaged (it needs repairs to be read)")
                               .arg(QFileInfo(in).fileName()));
        const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();

        QString why;
        if (!writeFileAtomically(
                out,
                QByteArray::fromRawData(reinterpret_cast<const char *>(written->getBuffer()),
                                        qsizetype(written->getSize())),
                &why))
            return failure(QStringLiteral("%1 cannot be written: %2").arg(out, why));
    } catch (const std::exception &e) {
        return failure(QStringLiteral("%1 cannot be stamped: %2")
                           .arg(QFileInfo(in).fileName(), QString::fromUtf8(e.what())));
    }
    return {};
}

} // namespace pellimo
