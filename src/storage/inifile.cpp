// SPDX-License-Identifier: MIT
#include "inifile.h"

namespace pellimo {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QByteArray trimBlanks(const QByteArray &bytes)
{
    qsizetype start = 0;
    qsizetype end = bytes.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (start < end && blank(bytes.at(start)))
        ++start;
    while (end > start && blank(bytes.at(end - 1)))
        --end;
    return bytes.mid(start, end - start);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names the program looks up are ASCII. A CP932 name that holds a two-byte character always has
// a byte of 0x81 or above, so comparing bytes with ASCII case folding is exact, and it needs no
// conversion per line (start-up reads the file once per entry).
bool sameName(const QByteArray &bytes, const QString &name)
{
    if (bytes.size() != name.size())
        return false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char16_t wanted = name.at(i).unicode();
        if (wanted > 0x7F || asciiLower(bytes.at(i)) != asciiLower(static_cast<char>(wanted)))
            return false;
    }
    return true;
}

// The name of a section header line, or nothing for any other line.
std::optional<QByteArray> sectionName(const QByteArray &line)
{
    const QByteArray trimmed = trimBlanks(line);
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.lastIndexOf(']');
    if (close < 1)
        return std::nullopt;
    return trimBlanks(trimmed.mid(1, close - 1));
}

struct Entry {
    QByteArray key;
    QByteArray value;
};

// The key and value of an entry line. "=" (0x3D) is never the second byte of a CP932 character,
// so the first "=" byte is the separator.
std::optional<Entry> entry(const QByteArray &line)
{
    const QByteArray trimmed = trimBlanks(line);
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    const QByteArray key = trimBlanks(trimmed.left(equals));
    if (key.isEmpty())
        return std::nullopt;
    return Entry{key, trimBlanks(trimmed.mid(equals + 1))};
}

} // namespace

IniFile IniFile::parse(const QByteArray &bytes)
{
    IniFile file;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            file.m_lines.push_back({bytes.mid(start), QByteArray()});
            break;
        }
        qsizetype textEnd = newline;
        if (textEnd > start && bytes.at(textEnd - 1) == '\r')
            --textEnd;
        file.m_lines.push_back(
            {bytes.mid(start, textEnd - start), bytes.mid(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    return file;
}

std::optional<size_t> IniFile::findSection(const QString &section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
        if (name && sameName(*name, section))
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> IniFile::findEntry(const QString &section, const QString &key) const
{
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const QByteArray &text = m_lines[i].text;
        if (const auto name = sectionName(text)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        const auto found = entry(text);
        if (found && sameName(found->key, key))
            return i;
    }
    return std::nullopt;
}

std::optional<QByteArray> IniFile::value(const QString &section, const QString &key) const
{
    const auto index = findEntry(section, key);
    if (!index)
        return std::nullopt;
    return entry(m_lines[*index].text)->value;
}

void IniFile::insertLine(size_t index, const QByteArray &text)
{
    // The line before gets a line end if it was the file's last line and had none.
    if (index > 0 && m_lines[index - 1].end.isEmpty())
        m_lines[index - 1].end = kLineEnd;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index), Line{text, kLineEnd});
}

void IniFile::setValue(const QString &section, const QString &key, const QByteArray &value)
{
    const QByteArray line = key.toLatin1() + '=' + value;
    if (const auto index = findEntry(section, key)) {
        m_lines[*index].text = line;
        return;
    }
    if (const auto header = findSection(section)) {
        size_t insertAt = *header + 1;
        for (size_t i = *header + 1; i < m_lines.size() && !sectionName(m_lines[i].text); ++i) {
            if (!trimBlanks(m_lines[i].text).isEmpty())
                insertAt = i + 1;
        }
        insertLine(insertAt, line);
        return;
    }
    insertLine(m_lines.size(), '[' + section.toLatin1() + ']');
    insertLine(m_lines.size(), line);
}

QByteArray IniFile::toBytes() const
{
    QByteArray bytes;
    for (const Line &line : m_lines)
        bytes += line.text + line.end;
    return bytes;
}

} // namespace pellimo
