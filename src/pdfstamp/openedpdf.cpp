// SPDX-License-Identifier: MIT
#include "openedpdf.h"

#include "objectscan.h"
#include "outputfile.h"
#include "pdflexer.h"
#include "pdflimits.h"
#include "pdfsignatures.h"
#include "qpdfaccess.h"
#include "storage/filenames.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <qpdf/QPDFExc.hh>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

// The pages in document order, from /Root /Pages down; a node met twice is skipped, as readers do.
std::vector<QPDFObjectHandle> documentPages(QPDF &pdf)
{
    std::vector<QPDFObjectHandle> pages;
    std::set<QPDFObjGen> seen;
    std::vector<std::pair<QPDFObjectHandle, int>> stack{{pdf::keyOf(pdf.getRoot(), "/Pages"), 0}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (!node.isDictionary() || depth > 256 ||
            (node.isIndirect() && !seen.insert(node.getObjGen()).second))
            continue;
        QPDFObjectHandle kids = node.getKey("/Kids");
        if (node.getKey("/Type").isNameAndEquals("/Page") || !kids.isArray()) {
            pages.push_back(node);
            continue;
        }
        const std::vector<QPDFObjectHandle> items = kids.getArrayAsVector();
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            stack.emplace_back(*it, depth + 1);
    }
    return pages;
}

// Files up to this size are read into memory for qpdf, which then reads them without a system
// call for every seek; larger ones (scans) through the descriptor, of which qpdf reads little.
constexpr int64_t kMaxInMemoryBytes = 32 * pdf::kMiB;

// Reads the file's cross-reference data with qpdf; false with the error code when it cannot.
bool readWithQpdf(OpenedPdf &o, bool repairs, qpdf_error_code_e &code)
{
    o.pdf = std::make_unique<QPDF>();
    o.pdf->setSuppressWarnings(true);
    o.pdf->setAttemptRecovery(repairs);
    if (o.size <= kMaxInMemoryBytes) {
        if (o.inMemory.empty())
            o.inMemory = pdf::readAt(o.fd, 0, o.size);
        if (int64_t(o.inMemory.size()) == o.size) {
            try {
                o.pdf->processMemoryFile(o.name.toStdString().c_str(), o.inMemory.data(),
                                         o.inMemory.size());
                return true;
            } catch (const QPDFExc &e) {
                code = e.getErrorCode();
            } catch (const std::exception &) {
                code = qpdf_e_damaged_pdf;
            }
            return false;
        }
    }
    const int copy = ::dup(o.fd);
    FILE *file = copy >= 0 ? ::fdopen(copy, "rb") : nullptr;
    if (!file) {
        if (copy >= 0)
            ::close(copy);
        code = qpdf_e_system;
        return false;
    }
    try {
        o.pdf->processFile(o.name.toStdString().c_str(), file, true);
        return true;
    } catch (const QPDFExc &e) {
        code = e.getErrorCode();
    } catch (const std::exception &) {
        code = qpdf_e_damaged_pdf;
    }
    return false;
}

// The page tree, once the objects are known to be within the limits; false when it cannot be read.
bool pagesOf(OpenedPdf &o)
{
    try {
        o.pages = documentPages(*o.pdf);
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

// qpdf rebuilds the cross-reference data of a damaged file only when it finds a trailer; a file cut
// off before its trailer is given one that names its catalog, as viewers find it, and read from
// memory (such files are refused past kMaxRescuedBytes).
constexpr int64_t kMaxRescuedBytes = 256 * pdf::kMiB;

bool readRescued(OpenedPdf &o, qpdf_error_code_e &code)
{
    if (o.size > kMaxRescuedBytes)
        return false;
    std::string bytes = pdf::readAt(o.fd, 0, o.size);
    const size_t catalog = bytes.rfind("/Catalog");
    const size_t obj =
        catalog == std::string::npos ? std::string::npos : bytes.rfind("obj", catalog);
    if (obj == std::string::npos)
        return false;
    // Back over "N G " before the keyword.
    size_t i = obj;
    std::string numbers[2];
    for (std::string &n : numbers) {
        while (i > 0 && pdf::isPdfSpace(bytes[i - 1]))
            --i;
        const size_t end = i;
        while (i > 0 && bytes[i - 1] >= '0' && bytes[i - 1] <= '9')
            --i;
        n = bytes.substr(i, end - i);
    }
    if (numbers[0].empty() || numbers[1].empty())
        return false;
    o.rescued = std::move(bytes);
    o.rescued += "\ntrailer\n<< /Size 1 /Root " + numbers[1] + ' ' + numbers[0] + " R >>\n";
    o.pdf = std::make_unique<QPDF>();
    o.pdf->setSuppressWarnings(true);
    try {
        o.pdf->processMemoryFile(o.name.toStdString().c_str(), o.rescued.data(), o.rescued.size());
        return true;
    } catch (const QPDFExc &e) {
        code = e.getErrorCode();
    } catch (const std::exception &) {
    }
    return false;
}

PdfResult qpdfRefusal(const OpenedPdf &o, qpdf_error_code_e code)
{
    if (code == qpdf_e_password)
        return refusal(QCoreApplication::translate(
                           "pellimo",
                           "%1 is encrypted and needs a password to be opened; Pellimo stamps "
                           "only PDF files that open without one")
                           .arg(o.name));
    if (code == qpdf_e_unsupported)
        return refusal(
            QCoreApplication::translate("pellimo", "%1 is encrypted in a way Pellimo cannot read")
                .arg(o.name));
    return refusal(
        QCoreApplication::translate("pellimo", "%1 is damaged beyond repair or not a PDF file")
            .arg(o.name));
}

PdfResult checkLimits(const OpenedPdf &o, const pdf::FileCheck &check)
{
    if (check.verdict == pdf::FileCheck::Verdict::TooLarge)
        return refusal(
            QCoreApplication::translate("pellimo", "%1 is larger than Pellimo reads (%2)")
                .arg(o.name, check.detail));
    return {};
}

} // namespace

OpenedPdf::~OpenedPdf()
{
    pdf.reset();
    if (fd >= 0)
        ::close(fd);
}

std::unique_ptr<OpenedPdf> openPdf(const QString &path)
{
    auto o = std::make_unique<OpenedPdf>();
    o->name = pdf::displayName(path);
    o->fd = ::open(fileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (o->fd < 0 && errno == ENOENT) {
        o->status =
            refusal(QCoreApplication::translate("pellimo", "%1: no such file").arg(o->name));
        return o;
    }
    if (o->fd < 0 || ::fstat(o->fd, &st) != 0) {
        o->status = refusal(QCoreApplication::translate("pellimo", "%1 cannot be read: %2")
                                .arg(o->name, QString::fromLocal8Bit(std::strerror(errno))));
        return o;
    }
    if (!S_ISREG(st.st_mode)) {
        o->status = refusal(
            QCoreApplication::translate("pellimo", "%1 is not a regular file").arg(o->name));
        return o;
    }
    o->size = st.st_size;
    const std::string last = pdf::readAt(o->fd, o->size - 1, 1);
    o->endsWithEol = last == "\n" || last == "\r";

    pdf::FileCheck check = pdf::checkXrefChain(o->fd, o->size, o->chain);
    if ((o->status = checkLimits(*o, check)), !o->status)
        return o;
    qpdf_error_code_e code = qpdf_e_success;
    if (check) {
        if (readWithQpdf(*o, false, code)) {
            check = pdf::checkObjects(*o->pdf, o->fd, o->size, true);
            if ((o->status = checkLimits(*o, check)), !o->status)
                return o;
            if (check && (!pagesOf(*o) || o->pdf->anyWarnings()))
                check = pdf::FileCheck::damaged(
                    QCoreApplication::translate("pellimo", "it needs repairs to be read"));
        } else if (code == qpdf_e_password || code == qpdf_e_unsupported) {
            o->status = qpdfRefusal(*o, code);
            return o;
        } else {
            check = pdf::FileCheck::damaged(
                QCoreApplication::translate("pellimo", "it needs repairs to be read"));
        }
    }
    if (check)
        return o;

    // Read again as viewers read it, repairing what is wrong.
    o->damage = check.detail;
    o->repaired = true;
    o->pages.clear();
    if (!readWithQpdf(*o, true, code) && !readRescued(*o, code)) {
        o->status = qpdfRefusal(*o, code);
        return o;
    }
    o->status = checkLimits(*o, pdf::checkObjects(*o->pdf, o->fd, o->size, false));
    if (o->status && !pagesOf(*o))
        o->status = qpdfRefusal(*o, qpdf_e_damaged_pdf);
    return o;
}

PdfResult checkPageNumber(const OpenedPdf &o, int page)
{
    if (o.pages.empty())
        return refusal(
            QCoreApplication::translate("pellimo", "%1 has no page that can be read").arg(o.name));
    if (page < 1 || size_t(page) > o.pages.size())
        return refusal(
            QCoreApplication::translate("pellimo", "page %1 does not exist: %2 has %3 page(s)")
                .arg(page)
                .arg(o.name)
                .arg(o.pages.size()));
    return {};
}

PdfResult readPageFrame(const OpenedPdf &o, int page, PageFrame &frame)
{
    QString problem;
    const std::optional<PageFrame> read = pageFrame(o.pages[size_t(page - 1)], problem);
    if (!read)
        return refusal(QCoreApplication::translate("pellimo", "page %1 of %2 cannot be stamped: %3")
                           .arg(page)
                           .arg(o.name, problem));
    frame = *read;
    return {};
}

QString repairedNotice(const OpenedPdf &o)
{
    return QCoreApplication::translate(
               "pellimo", "%1 is damaged (%2): the stamped copy is a repaired, rewritten file")
        .arg(o.name, o.damage);
}

QString signatureNames(OpenedPdf &o)
{
    return pdf::signaturesOf(*o.pdf).join(QStringLiteral(", "));
}

} // namespace pellimo
