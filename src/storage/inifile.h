// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace pellimo {

// An INI file held as its lines, edited the way the Windows private-profile functions edit one:
// - "[name]" starts a section; a line "key=value" inside a section is an entry; every other line
//   (comments starting with ";", blank lines, lines without "=", lines before the first section) is
//   kept as it is and never matched;
// - section and key names match without regard to case; blanks around names and values are
//   ignored on reading; when a section or key appears twice, the first one counts;
// - setting an existing entry rewrites that one line; a new entry goes after the last non-blank
//   line of its section; a new section goes at the end of the file. Every other line keeps its
//   bytes and its line end; new lines end with CR LF.
// Values are bytes (the files are in CP932); quotes around a value are part of the value.
class IniFile {
public:
    static IniFile parse(const QByteArray &bytes);

    // The value bytes with surrounding blanks removed, or nothing when the entry is missing.
    std::optional<QByteArray> value(const QString &section, const QString &key) const;

    // Section and key names are ASCII.
    void setValue(const QString &section, const QString &key, const QByteArray &value);

    QByteArray toBytes() const;

private:
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n" or "" for a last line without one
    };

    std::optional<size_t> findEntry(const QString &section, const QString &key) const;
    std::optional<size_t> findSection(const QString &section) const;
    void insertLine(size_t index, const QByteArray &text);

    std::vector<Line> m_lines;
};

} // namespace pellimo
