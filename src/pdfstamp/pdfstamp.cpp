// SPDX-License-Identifier: MIT
// Reading a PDF for the caller: a page's size for choosing the place, the stamps it holds, and
// reading it on a second thread while the caller prepares the stamp.

#include "pdfstamp.h"

#include "model/stampprofile.h"
#include "openedpdf.h"
#include "outputfile.h"
#include "qpdfaccess.h"
#include "stampannotation.h"
#include "stampfit.h"
#include "stampsignature.h"

#include <QCoreApplication>
#include <QStringList>

namespace pellimo {

namespace {

QString textOf(QPDFObjectHandle value)
{
    return value.isString() ? QString::fromStdString(value.getUTF8Value()) : QString();
}

// The rectangle of an annotation on the page as shown, in millimetres; empty when unusable.
QRectF shownRectMm(const PageFrame &frame, QPDFObjectHandle rect)
{
    if (!rect.isArray() || rect.getArrayNItems() != 4)
        return {};
    double v[4];
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = rect.getArrayItem(i);
        if (!item.isNumber())
            return {};
        v[i] = item.getNumericValue();
    }
    const QPointF a = viewPoint(frame, QPointF(v[0], v[1])) / kPointsPerMm;
    const QPointF b = viewPoint(frame, QPointF(v[2], v[3])) / kPointsPerMm;
    return QRectF(a, b).normalized();
}

} // namespace

PdfStampRecord stampRecord(const StampProfile &profile, const QString &userName, int user,
                           const QDateTime &when)
{
    PdfStampRecord record;
    record.who =
        (profile.items[2].text.trimmed() + QLatin1Char(' ') + profile.items[3].text.trimmed())
            .trimmed();
    if (record.who.isEmpty())
        record.who = userName;
    record.dateText = profile.items[1].text;
    record.user = user;
    record.when = when;
    QStringList texts;
    for (const StampItem &item : profile.items)
        if (!item.text.trimmed().isEmpty())
            texts << item.text.trimmed();
    record.contents = texts.join(QLatin1Char(' '));
    return record;
}

QString describeStampEntry(const PdfStampEntry &e)
{
    const QString when = e.when.isValid() ? e.when.toString(Qt::ISODate) : QStringLiteral("-");
    QString line =
        QCoreApplication::translate("pellimo", "page %1 at %2, %3 mm (%4 x %5 mm): %6, %7, %8, %9")
            .arg(e.page)
            .arg(e.rectMm.x(), 0, 'f', 1)
            .arg(e.rectMm.y(), 0, 'f', 1)
            .arg(e.rectMm.width(), 0, 'f', 1)
            .arg(e.rectMm.height(), 0, 'f', 1)
            .arg(e.dateText.isEmpty() ? QStringLiteral("-") : e.dateText,
                 e.who.isEmpty() ? QStringLiteral("-") : e.who, when,
                 e.pellimo ? QCoreApplication::translate("pellimo", "Pellimo")
                           : QCoreApplication::translate("pellimo", "another program"));
    if (const std::optional<PdfStampSignature> &s = e.signature) {
        const QString signer = s->signer.isEmpty() ? QStringLiteral("-") : s->signer;
        const QString signedAt =
            s->when.isValid() ? s->when.toString(Qt::ISODate) : QStringLiteral("-");
        line += QStringLiteral(", ") +
                (s->verified ? QCoreApplication::translate(
                                   "pellimo", "signed by %1 at %2, the signature is valid")
                                   .arg(signer, signedAt)
                             : QCoreApplication::translate(
                                   "pellimo", "signed by %1 at %2, the signature is NOT valid: %3")
                                   .arg(signer, signedAt, s->problem));
    }
    return line;
}

PdfResult describePdfPage(const QString &in, int page, PdfPageInfo &info)
{
    try {
        const std::unique_ptr<OpenedPdf> o = openPdf(in);
        if (!o->status)
            return o->status;
        if (PdfResult r = checkPageNumber(*o, page); !r)
            return r;
        QString problem;
        const std::optional<PageFrame> frame = pageFrame(o->pages[size_t(page - 1)], problem);
        if (!frame)
            return {QCoreApplication::translate("pellimo", "page %1 of %2 cannot be stamped: %3")
                        .arg(page)
                        .arg(o->name, problem),
                    {}};
        info.pageCount = int(o->pages.size());
        info.rotation = frame->rotation;
        info.pageMm = frame->viewSize() / kPointsPerMm;
        return {{}, o->repaired ? repairedNotice(*o) : QString()};
    } catch (const std::exception &e) {
        return {
            QCoreApplication::translate("pellimo", "%1 is damaged beyond repair or not a PDF file")
                .arg(pdf::displayName(in)),
            {}};
    }
}

PdfResult listPdfStamps(const QString &in, QList<PdfStampEntry> &stamps)
{
    stamps.clear();
    try {
        const std::unique_ptr<OpenedPdf> o = openPdf(in);
        if (!o->status)
            return o->status;
        for (size_t i = 0; i < o->pages.size(); ++i) {
            QPDFObjectHandle annots = pdf::keyOf(o->pages[i], "/Annots");
            if (!annots.isArray())
                continue;
            QString problem;
            const PageFrame frame = pageFrame(o->pages[i], problem).value_or(PageFrame());
            for (QPDFObjectHandle a : annots.getArrayAsVector()) {
                QPDFObjectHandle mark = pdf::keyOf(a, kPellimoStampKey);
                // A signed stamp is the widget of a signature field that carries Pellimo's mark.
                const bool seal = pdf::keyOf(a, "/Subtype").isNameAndEquals("/Widget") &&
                                  pdf::keyOf(a, "/FT").isNameAndEquals("/Sig") &&
                                  mark.isDictionary();
                if (!seal && !pdf::keyOf(a, "/Subtype").isNameAndEquals("/Stamp"))
                    continue;
                PdfStampEntry e;
                e.page = int(i + 1);
                e.rectMm = shownRectMm(frame, pdf::keyOf(a, "/Rect"));
                e.pellimo = mark.isDictionary();
                e.dateText = e.pellimo ? textOf(pdf::keyOf(mark, "/Date"))
                                       : textOf(pdf::keyOf(a, "/Contents"));
                e.who = textOf(pdf::keyOf(a, seal ? "/TU" : "/T"));
                if (QPDFObjectHandle v = pdf::keyOf(a, "/V"); seal && v.isDictionary())
                    e.signature = checkStampSignature(v, o->fd, o->size);
                QPDFObjectHandle m = pdf::keyOf(a, "/M");
                if (!m.isString())
                    m = pdf::keyOf(a, "/CreationDate");
                if (m.isString())
                    e.when = fromPdfDate(m.getStringValue());
                stamps << e;
            }
        }
        return {{},
                o->repaired
                    ? QCoreApplication::translate(
                          "pellimo", "%1 is damaged (%2); its stamps were read from a repaired "
                                     "reading")
                          .arg(o->name, o->damage)
                    : QString()};
    } catch (const std::exception &) {
        return {
            QCoreApplication::translate("pellimo", "%1 is damaged beyond repair or not a PDF file")
                .arg(pdf::displayName(in)),
            {}};
    }
}

PdfInput::PdfInput(const QString &in)
    : m_path(in), m_reading(std::async(std::launch::async, [in] { return openPdf(in); }))
{
}

PdfInput::~PdfInput() = default;

std::unique_ptr<OpenedPdf> PdfInput::take()
{
    return m_reading.get();
}

} // namespace pellimo
