// SPDX-License-Identifier: MIT
#include "filenames.h"

namespace pellimo {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// The length of the valid UTF-8 sequence at `at`, or 0 when it is not one.
qsizetype sequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes[i]) : 0; };
    const uchar lead = byte(at);
    qsizetype length = 0;
    uchar low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const uchar lead = uchar(bytes[at]);
        const qsizetype length = lead < 0x80 ? 1 : sequenceLength(bytes, at);
        if (length == 0) {
            name += QChar(char16_t(kEscapeBase + lead));
            ++at;
        } else {
            name += QString::fromUtf8(bytes.constData() + at, length);
            at += length;
        }
    }
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype from = 0; // start of the text not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool afterHigh = i > 0 && name.at(i - 1).isHighSurrogate();
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && !afterHigh) {
            bytes += QStringView(name).sliced(from, i - from).toUtf8();
            bytes += char(c - kEscapeBase);
            from = i + 1;
        }
    }
    bytes += QStringView(name).sliced(from).toUtf8();
    return bytes;
}

} // namespace pellimo
