// SPDX-License-Identifier: MIT
#include "cp932.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <utility>
#include <vector>

namespace pellimo {

namespace {

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Opens a fresh converter per call: the files are small, and a fresh converter carries no state
// from an earlier conversion that stopped half-way.
Converter openCp932()
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-932", &status));
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

// ICU's own substitute for a bad single byte in this code page is U+001A, which would look like a
// harmless control character; we want the visible replacement character instead.
void toUnicodeReplacement(const void *, UConverterToUnicodeArgs *args, const char *, int32_t,
                          UConverterCallbackReason reason, UErrorCode *status)
{
    if (reason > UCNV_IRREGULAR)
        return; // reset, close, clone: nothing to write
    *status = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

// Collects the code points that have no CP932 form and writes nothing for them.
struct Unencodable {
    std::vector<char32_t> codePoints;
};

void fromUnicodeCollect(const void *context, UConverterFromUnicodeArgs *, const UChar *, int32_t,
                        UChar32 codePoint, UConverterCallbackReason reason, UErrorCode *status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    auto *found = static_cast<Unencodable *>(const_cast<void *>(context));
    found->codePoints.push_back(static_cast<char32_t>(codePoint));
    *status = U_ZERO_ERROR;
}

// Converts the text, recording every character that CP932 cannot hold. Returns false when the
// converter itself is unusable.
bool fromUnicode(const QString &text, QByteArray &bytes, Unencodable &found)
{
    bytes.clear();
    if (text.isEmpty())
        return true;
    Converter converter = openCp932();
    if (!converter)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), fromUnicodeCollect, &found, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return false;

    // CP932 needs at most two bytes per UTF-16 unit.
    bytes.resize(qsizetype(text.size()) * 2 + 16);
    const UChar *source = reinterpret_cast<const UChar *>(text.utf16());
    const UChar *sourceEnd = source + text.size();
    char *target = bytes.data();
    const char *targetStart = target;
    ucnv_fromUnicode(converter.get(), &target, targetStart + bytes.size(), &source, sourceEnd,
                     nullptr, true, &status);
    if (U_FAILURE(status))
        return false;
    bytes.truncate(target - targetStart);
    return true;
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace

QString decodeCp932(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    Converter converter = openCp932();
    if (!converter)
        return QString(bytes.size(), QChar(0xFFFD));
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), toUnicodeReplacement, nullptr, nullptr, nullptr, &status);

    // Every byte gives at most one UTF-16 unit, a pair of bytes at most two.
    QString text(bytes.size() + 16, Qt::Uninitialized);
    UChar *target = reinterpret_cast<UChar *>(text.data());
    const UChar *targetStart = target;
    const char *source = bytes.constData();
    ucnv_toUnicode(converter.get(), &target, targetStart + text.size(), &source,
                   source + bytes.size(), nullptr, true, &status);
    if (U_FAILURE(status))
        return QString(bytes.size(), QChar(0xFFFD));
    text.truncate(target - targetStart);
    return text;
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    QByteArray bytes;
    Unencodable found;
    if (!fromUnicode(text, bytes, found) || !found.codePoints.empty())
        return std::nullopt;
    return bytes;
}

QString charactersOutsideCp932(const QString &text)
{
    QByteArray bytes;
    Unencodable found;
    if (!fromUnicode(text, bytes, found))
        return text; // no converter: nothing can be stored
    QString distinct;
    std::vector<char32_t> seen;
    for (char32_t codePoint : found.codePoints) {
        if (std::find(seen.begin(), seen.end(), codePoint) != seen.end())
            continue;
        seen.push_back(codePoint);
        distinct += QString::fromUcs4(&codePoint, 1);
    }
    return distinct;
}

QString replaceCp932LookAlikes(QString text)
{
    static constexpr std::array<std::pair<char16_t, char16_t>, 7> lookAlikes = {{
        {u'\u301C', u'\uFF5E'}, // WAVE DASH → FULLWIDTH TILDE
        {u'\u2212', u'\uFF0D'}, // MINUS SIGN → FULLWIDTH HYPHEN-MINUS
        {u'\u2016', u'\u2225'}, // DOUBLE VERTICAL LINE → PARALLEL TO
        {u'\u2014', u'\u2015'}, // EM DASH → HORIZONTAL BAR
        {u'\u00A2', u'\uFFE0'}, // CENT SIGN → FULLWIDTH CENT SIGN
        {u'\u00A3', u'\uFFE1'}, // POUND SIGN → FULLWIDTH POUND SIGN
        {u'\u00AC', u'\uFFE2'}, // NOT SIGN → FULLWIDTH NOT SIGN
    }};
    for (const auto &[from, to] : lookAlikes)
        text.replace(QChar(from), QChar(to));
    return text;
}

QByteArray truncateCp932(const QByteArray &bytes, int maxBytes)
{
    if (maxBytes <= 0)
        return QByteArray();
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype width =
            (isLeadByte(static_cast<unsigned char>(bytes[end])) && end + 1 < bytes.size()) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return bytes.left(end);
}

} // namespace pellimo
