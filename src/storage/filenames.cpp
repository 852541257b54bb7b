// SPDX-License-Identifier: MIT
#include "filenames.h"

#include <sys/stat.h>

namespace pellimo {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// The valid UTF-8 sequence at `at` as its character(s), or nothing when the bytes there are not
// one: the length comes from the lead byte, and the decoder marks an overlong form, a surrogate or
// a missing trail byte with U+FFFD, which then does not encode back to the same bytes.
QString sequenceAt(const QByteArray &bytes, qsizetype at)
{
    const auto lead = uchar(bytes[at]);
    const qsizetype length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
    const QByteArray sequence = bytes.mid(at, length);
    const QString text = QString::fromUtf8(sequence);
    return length > 0 && sequence.size() == length && text.toUtf8() == sequence ? text : QString();
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    QString name;
    for (qsizetype at = 0; at < bytes.size();) {
        const QString sequence = sequenceAt(bytes, at);
        name += sequence.isEmpty() ? QString(QChar(char16_t(kEscapeBase + uchar(bytes[at]))))
                                   : sequence;
        at += sequence.isEmpty() ? 1 : sequence.toUtf8().size();
    }
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    QByteArray bytes;
    qsizetype from = 0; // start of the text not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool paired = i > 0 && name.at(i - 1).isHighSurrogate();
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && !paired) {
            bytes += QStringView(name).sliced(from, i - from).toUtf8() + char(c - kEscapeBase);
            from = i + 1;
        }
    }
    return bytes + QStringView(name).sliced(from).toUtf8();
}

bool isFolderName(const QString &name)
{
    struct stat st {};
    return !name.isEmpty() && ::stat(fileNameBytes(name).constData(), &st) == 0 &&
           S_ISDIR(st.st_mode);
}

} // namespace pellimo
