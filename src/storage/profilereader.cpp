// SPDX-License-Identifier: MIT
#include "profilereader.h"

#include "cp932.h"

#include <cstdint>
#include <limits>
#include <optional>

// What the reader accepts. The writer produces exactly one form: fields separated by one comma,
// lines ended by CR LF, strings in double quotes, integers in plain decimal, Booleans as #TRUE# or
// #FALSE#. The reader takes that form and is lenient in these ways only:
// - a comma and a line end (CR LF, LF or CR) both end a field, so the line breaks may lie anywhere;
//   blank lines are skipped;
// - blanks (spaces, tabs) around a field are ignored;
// - a quoted field is the text up to the next double quote, line ends included; only blanks may
//   follow that quote before the next comma or line end;
// - a string field without quotes is taken as its text, trimmed;
// - Booleans match without regard to case ("#true#");
// - integers may have leading zeros.
// It refuses: an empty field (",," or a comma at the end of a line), a field missing at the end,
// a quote that is never closed, anything but blanks after a closing quote (a double quote inside
// a text: the format has no escape for it, and cutting the text there would lose its rest), a
// number with a sign other than a leading minus, a fraction, an exponent or any other character,
// a number outside its field's width, a quoted field where a number or a Boolean is due, and any
// other spelling of a Boolean.

namespace pellimo {

namespace {

struct Field {
    QByteArray bytes;
    bool quoted = false;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

class FieldReader {
public:
    FieldReader(const QByteArray &bytes, bool complete) : m_bytes(bytes), m_complete(complete) {}

    std::optional<Field> next()
    {
        skipBlanks(m_afterComma ? SkipLineEnds::No : SkipLineEnds::Yes);
        m_afterComma = false;
        if (atEnd())
            return std::nullopt;
        if (peek() == '"')
            return quoted();
        return unquoted();
    }

private:
    enum class SkipLineEnds { No, Yes };

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    char peek() const { return m_bytes.at(m_pos); }

    void skipBlanks(SkipLineEnds lineEnds)
    {
        while (!atEnd() &&
               (isBlank(peek()) || (lineEnds == SkipLineEnds::Yes && isLineEnd(peek()))))
            ++m_pos;
    }

    // Past the end of a field: a comma is taken, a line end is left for the next field to skip.
    // Reaching the end of bytes that are not the whole file means the field may go on.
    bool endField()
    {
        if (atEnd())
            return m_complete;
        if (peek() == ',') {
            ++m_pos;
            m_afterComma = true;
        }
        return true;
    }

    std::optional<Field> quoted()
    {
        const qsizetype open = m_pos;
        const qsizetype close = m_bytes.indexOf('"', open + 1);
        if (close < 0)
            return std::nullopt;
        Field field{m_bytes.mid(open + 1, close - open - 1), true};
        m_pos = close + 1;
        skipBlanks(SkipLineEnds::No);
        if (!atEnd() && peek() != ',' && !isLineEnd(peek()))
            return std::nullopt;
        if (!endField())
            return std::nullopt;
        return field;
    }

    std::optional<Field> unquoted()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() != ',' && !isLineEnd(peek()))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && isBlank(m_bytes.at(end - 1)))
            --end;
        if (end == start || !endField())
            return std::nullopt;
        return Field{m_bytes.mid(start, end - start), false};
    }

    const QByteArray &m_bytes;
    const bool m_complete;
    qsizetype m_pos = 0;
    bool m_afterComma = false;
};

template <typename Int> std::optional<Int> toInteger(const std::optional<Field> &field)
{
    if (!field || field->quoted)
        return std::nullopt;
    const QByteArray &b = field->bytes;
    qsizetype i = 0;
    const bool negative = b.startsWith('-');
    if (negative)
        ++i;
    if (i == b.size())
        return std::nullopt;
    // Accumulated as a negative number so that the type's minimum fits; stops at the first digit
    // that takes it past the type's range.
    const int64_t limit = negative ? int64_t(std::numeric_limits<Int>::min())
                                   : -int64_t(std::numeric_limits<Int>::max());
    int64_t value = 0;
    for (; i < b.size(); ++i) {
        const char c = b.at(i);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 - (c - '0');
        if (value < limit)
            return std::nullopt;
    }
    return static_cast<Int>(negative ? value : -value);
}

std::optional<bool> toBoolean(const std::optional<Field> &field)
{
    if (!field || field->quoted)
        return std::nullopt;
    if (field->bytes.compare("#TRUE#", Qt::CaseInsensitive) == 0)
        return true;
    if (field->bytes.compare("#FALSE#", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

std::optional<QString> toText(const std::optional<Field> &field)
{
    if (!field)
        return std::nullopt;
    return decodeCp932(field->bytes);
}

// Line 1: colour, lineWidth, bottomAreaPercent, topAreaPercent, radius.
bool readFrame(FieldReader &reader, StampProfile &profile)
{
    const auto colour = toInteger<int32_t>(reader.next());
    if (!colour)
        return false;
    const auto lineWidth = toInteger<int16_t>(reader.next());
    if (!lineWidth)
        return false;
    const auto bottom = toInteger<int16_t>(reader.next());
    if (!bottom)
        return false;
    const auto top = toInteger<int16_t>(reader.next());
    if (!top)
        return false;
    const auto radius = toInteger<int16_t>(reader.next());
    if (!radius)
        return false;
    profile.colour = *colour;
    profile.lineWidth = *lineWidth;
    profile.bottomAreaPercent = *bottom;
    profile.topAreaPercent = *top;
    profile.radius = *radius;
    return true;
}

// An item line: bold, fontName, italic, fontSize, text, offsetX, offsetY.
bool readItem(FieldReader &reader, StampItem &item)
{
    const auto bold = toBoolean(reader.next());
    if (!bold)
        return false;
    const auto fontName = toText(reader.next());
    if (!fontName)
        return false;
    const auto italic = toBoolean(reader.next());
    if (!italic)
        return false;
    const auto fontSize = toInteger<int16_t>(reader.next());
    if (!fontSize)
        return false;
    const auto text = toText(reader.next());
    if (!text)
        return false;
    const auto offsetX = toInteger<int16_t>(reader.next());
    if (!offsetX)
        return false;
    const auto offsetY = toInteger<int16_t>(reader.next());
    if (!offsetY)
        return false;
    item.bold = *bold;
    item.fontName = *fontName;
    item.italic = *italic;
    item.fontSize = *fontSize;
    item.text = *text;
    item.offsetX = *offsetX;
    item.offsetY = *offsetY;
    return true;
}

} // namespace

bool readProfileFields(const QByteArray &bytes, bool complete, StampProfile &profile)
{
    FieldReader reader(bytes, complete);
    if (!readFrame(reader, profile))
        return false;
    for (StampItem &item : profile.items) {
        if (!readItem(reader, item))
            return false;
    }
    return true;
}

} // namespace pellimo
