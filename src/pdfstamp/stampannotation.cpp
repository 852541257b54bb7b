// SPDX-License-Identifier: MIT
#include "stampannotation.h"

#include "pdfplacement.h"

#include <QStringList>
#include <QTimeZone>
#include <QUuid>
#include <cstdio>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

namespace pellimo {

namespace {

QPDFObjectHandle textString(const QString &text)
{
    // PDFDocEncoding when the text fits it, else UTF-16BE with its byte order mark.
    return QPDFObjectHandle::newUnicodeString(text.toStdString());
}

} // namespace

std::unique_ptr<QPDF> readStampPage(const QByteArray &pdfBytes)
{
    auto page = std::make_unique<QPDF>();
    page->setSuppressWarnings(true);
    page->processMemoryFile("stamp", pdfBytes.constData(), size_t(pdfBytes.size()));
    return page;
}

QPDFObjectHandle stampForm(QPDF &pdf, QPDF &stampPage, int rotation)
{
    QPDFObjectHandle form =
        QPDFPageDocumentHelper(stampPage).getAllPages().at(0).getFormXObjectForPage(false);
    form = pdf.copyForeignObject(form);
    const std::array<double, 6> m = uprightMatrix(rotation);
    form.getDict().replaceKey("/Matrix", QPDFObjectHandle::newArray(QPDFObjectHandle::Matrix(
                                             m[0], m[1], m[2], m[3], m[4], m[5])));
    return form;
}

QPDFObjectHandle stampAnnotation(QPDF &pdf, QPDFObjectHandle page, QPDFObjectHandle form,
                                 const QPDFObjectHandle::Rectangle &rect,
                                 const PdfStampRecord &record, const StampGeometry &geometry)
{
    const QDateTime when = record.when.isValid() ? record.when : QDateTime::currentDateTime();
    QString contents = record.contents;
    if (contents.isEmpty()) {
        QStringList texts;
        for (const PlacedText &t : geometry.texts)
            texts << t.text;
        contents = texts.join(QLatin1Char(' '));
    }
    QPDFObjectHandle mark = QPDFObjectHandle::newDictionary();
    mark.replaceKey("/Date", textString(record.dateText));
    mark.replaceKey("/User", QPDFObjectHandle::newInteger(record.user));

    QPDFObjectHandle appearance = QPDFObjectHandle::newDictionary();
    appearance.replaceKey("/N", form);

    QPDFObjectHandle a = QPDFObjectHandle::newDictionary();
    a.replaceKey("/Type", QPDFObjectHandle::newName("/Annot"));
    a.replaceKey("/Subtype", QPDFObjectHandle::newName("/Stamp"));
    a.replaceKey("/Rect", QPDFObjectHandle::newArray(rect));
    a.replaceKey("/F", QPDFObjectHandle::newInteger(4)); // printed
    a.replaceKey("/P", page);
    a.replaceKey("/AP", appearance);
    if (!record.who.isEmpty())
        a.replaceKey("/T", textString(record.who));
    a.replaceKey("/Subj", textString(kStampSubject));
    a.replaceKey("/Contents", textString(contents));
    a.replaceKey("/CreationDate", QPDFObjectHandle::newString(pdfDate(when)));
    a.replaceKey("/M", QPDFObjectHandle::newString(pdfDate(when)));
    a.replaceKey("/NM", textString(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    a.replaceKey(kPellimoStampKey, mark);
    return pdf.makeIndirectObject(a);
}

std::string pdfDate(const QDateTime &when)
{
    const int offset = when.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d'%02d'", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return "D:" + when.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() + zone;
}

QDateTime fromPdfDate(const std::string &text)
{
    std::string s = text.rfind("D:", 0) == 0 ? text.substr(2) : text;
    auto digits = [&](size_t at, size_t n, int fallback) {
        if (s.size() < at + n)
            return fallback;
        int v = 0;
        for (size_t i = at; i < at + n; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    const int year = digits(0, 4, -1), month = digits(4, 2, 1), day = digits(6, 2, 1);
    const int hour = digits(8, 2, 0), minute = digits(10, 2, 0), second = digits(12, 2, 0);
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (year < 0 || !date.isValid() || !time.isValid())
        return {};
    if (s.size() <= 14 || s[14] == 'Z')
        return QDateTime(date, time, QTimeZone::utc());
    if (s[14] != '+' && s[14] != '-')
        return {};
    const int zh = digits(15, 2, 0);
    const int zm = s.size() > 17 && s[17] == '\'' ? digits(18, 2, 0) : digits(17, 2, 0);
    if (zh < 0 || zm < 0 || zh > 23 || zm > 59)
        return {};
    const int offset = (s[14] == '-' ? -1 : 1) * (zh * 3600 + zm * 60);
    return QDateTime(date, time, QTimeZone(offset));
}

} // namespace pellimo
