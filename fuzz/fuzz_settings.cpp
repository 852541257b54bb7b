// SPDX-License-Identifier: MIT
// The settings reader and editor. The input is an existing settings file, optionally followed by
// the bytes 00 FF and the parameters of an edit (which entry, which value) and of a settings
// record to save. Properties:
// - parsing keeps every byte: the file's bytes come back unchanged when nothing was set;
// - after setValue, value() gives what was set (without surrounding blanks), and every other line
//   keeps its bytes;
// - loadSettings on any file gives a start-up user in 1..5 and leaves the file as it was;
// - loadSettings after a successful saveSettings gives back what was saved, values cut to their
//   first 255 bytes on a character boundary; a refused save leaves the file as it was.

#include "fuzzsupport.h"
#include "storage/cp932.h"
#include "storage/inifile.h"
#include "storage/settingsfile.h"

#include <QFile>
#include <fuzzer/FuzzedDataProvider.h>

using namespace pellimo;
using namespace pellimo::fuzz;

namespace {

struct Name {
    QString section;
    QString key;
};

// The program's own entries, in the order saveSettings writes them.
const std::array<Name, 8> kProgramEntries{{
    {QStringLiteral("User"), QStringLiteral("Default")},
    {QStringLiteral("User"), QStringLiteral("User1")},
    {QStringLiteral("User"), QStringLiteral("User2")},
    {QStringLiteral("User"), QStringLiteral("User3")},
    {QStringLiteral("User"), QStringLiteral("User4")},
    {QStringLiteral("User"), QStringLiteral("User5")},
    {QStringLiteral("Setting"), QStringLiteral("DateFormat")},
    {QStringLiteral("Setting"), QStringLiteral("AutoClose")},
}};

// Where the file ends and the parameters begin; the whole input is the file when there is none.
qsizetype markerAt(const uint8_t *data, size_t size)
{
    for (size_t i = 0; i + 1 < size; ++i) {
        if (data[i] == 0x00 && data[i + 1] == 0xFF)
            return qsizetype(i);
    }
    return -1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray withoutSurroundingBlanks(const QByteArray &bytes)
{
    qsizetype start = 0;
    qsizetype end = bytes.size();
    while (start < end && isBlank(bytes.at(start)))
        ++start;
    while (end > start && isBlank(bytes.at(end - 1)))
        --end;
    return bytes.mid(start, end - start);
}

// An ASCII name made of letters, digits and "_" (what the program's own names are made of).
QString plainName(FuzzedDataProvider &in)
{
    QString name;
    for (char c : in.ConsumeRandomLengthString(12)) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            name += QLatin1Char(c);
    }
    return name.isEmpty() ? QStringLiteral("Extra") : name;
}

Name pickName(FuzzedDataProvider &in)
{
    const uint8_t pick = in.ConsumeIntegral<uint8_t>();
    if (pick < 8 * 3) {
        Name name = kProgramEntries[pick % 8];
        if (pick / 8 == 1)
            name = {name.section.toLower(), name.key.toUpper()}; // names match in any case
        return name;
    }
    const QString section = (pick & 1) ? QStringLiteral("User") : plainName(in);
    return {section, plainName(in)};
}

QByteArray valueBytes(FuzzedDataProvider &in)
{
    QByteArray value = QByteArray::fromStdString(in.ConsumeRandomLengthString(400));
    value.replace('\r', ' ').replace('\n', ' '); // no caller ever sets a line break
    return value;
}

struct Line {
    QByteArray text;
    QByteArray end;
};

// The lines of a file as the editor keeps them: text and line end.
std::vector<Line> linesOf(const QByteArray &bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({bytes.mid(start), QByteArray()});
            break;
        }
        const qsizetype textEnd = (nl > start && bytes.at(nl - 1) == '\r') ? nl - 1 : nl;
        lines.push_back({bytes.mid(start, textEnd - start), bytes.mid(textEnd, nl + 1 - textEnd)});
        start = nl + 1;
    }
    return lines;
}

// The key of a line "key=value", without surrounding blanks; a stray CR counts as a blank there.
QByteArray keyOf(const QByteArray &line)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return QByteArray();
    return withoutSurroundingBlanks(line.left(equals).replace('\r', ' '));
}

// `before` with `inserted` lines put in at `at` equals `after`, allowing that the line before
// the insertion, when it was the file's last one and had no line end, gained CR LF.
bool sameExceptInserted(const std::vector<Line> &before, const std::vector<Line> &after, size_t at,
                        size_t inserted)
{
    if (after.size() != before.size() + inserted)
        return false;
    for (size_t i = 0; i < before.size(); ++i) {
        const Line &b = before[i];
        const Line &a = after[i < at ? i : i + inserted];
        const bool gainedEnd = i + 1 == at && at == before.size() && b.end.isEmpty() &&
                               a.end == QByteArrayLiteral("\r\n");
        if (a.text != b.text || (a.end != b.end && !gainedEnd))
            return false;
    }
    for (size_t i = at; i < at + inserted; ++i) {
        if (after[i].end != QByteArrayLiteral("\r\n"))
            return false;
    }
    return true;
}

void checkEdit(const QByteArray &file, const Name &name, const QByteArray &value)
{
    IniFile ini = IniFile::parse(file);
    check(ini.toBytes() == file, "parsing changed the file's bytes");

    ini.setValue(name.section, name.key, value);
    const QByteArray expected = withoutSurroundingBlanks(value);
    check(ini.value(name.section, name.key) == expected, "value() differs from what was set");
    const QByteArray edited = ini.toBytes();
    check(IniFile::parse(edited).value(name.section, name.key) == expected,
          "the written file reads back a different value");

    // Exactly one line was rewritten, or the entry (and perhaps its section) was added.
    const QByteArray entryLine = name.key.toLatin1() + '=' + value;
    const std::vector<Line> before = linesOf(file);
    const std::vector<Line> after = linesOf(edited);
    bool explained = false;
    if (after.size() == before.size()) {
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            if (before[i].end != after[i].end)
                fail("a line end changed");
            if (before[i].text != after[i].text) {
                ++changed;
                check(after[i].text == entryLine, "a line other than the entry changed");
                check(keyOf(before[i].text).compare(name.key.toLatin1(), Qt::CaseInsensitive) == 0,
                      "setValue rewrote the line of another entry");
            }
        }
        explained = changed <= 1;
    } else if (after.size() == before.size() + 2) {
        explained = after[before.size()].text == '[' + name.section.toLatin1() + ']' &&
                    after[before.size() + 1].text == entryLine &&
                    sameExceptInserted(before, after, before.size(), 2);
    } else if (after.size() == before.size() + 1) {
        for (size_t at = 0; at < after.size() && !explained; ++at)
            explained = after[at].text == entryLine && sameExceptInserted(before, after, at, 1);
    }
    check(explained, "setValue touched lines other than its entry",
          QString::fromLatin1(file.toPercentEncoding()) + QStringLiteral("\n--- after:\n") +
              QString::fromLatin1(edited.toPercentEncoding()));
}

AppSettings settingsToSave(FuzzedDataProvider &in)
{
    AppSettings s;
    s.defaultUser = int16_t(in.ConsumeIntegralInRange<int>(1, 5));
    for (QString &name : s.userNames)
        name = decodeCp932(QByteArray::fromStdString(in.ConsumeRandomLengthString(400)));
    s.dateFormat = decodeCp932(QByteArray::fromStdString(in.ConsumeRandomLengthString(400)));
    s.autoClose = in.ConsumeBool();
    return s;
}

// What a value reads back as: surrounding blanks dropped, then at most 255 bytes of whole
// characters.
void checkReadBack(const QString &saved, const QString &loaded)
{
    QString trimmed = saved;
    while (!trimmed.isEmpty() && (trimmed.front() == u' ' || trimmed.front() == u'\t'))
        trimmed.remove(0, 1);
    while (!trimmed.isEmpty() && (trimmed.back() == u' ' || trimmed.back() == u'\t'))
        trimmed.chop(1);
    const qsizetype fullBytes = encodeCp932(trimmed).value().size();
    if (fullBytes <= 255) {
        check(loaded == trimmed, "a value read back differently", saved + u'\n' + loaded);
        return;
    }
    check(trimmed.startsWith(loaded), "a long value is not cut to a start of itself");
    const qsizetype loadedBytes = encodeCp932(loaded).value().size();
    const qsizetype nextBytes = encodeCp932(trimmed.mid(loaded.size(), 1)).value().size();
    check(loadedBytes <= 255 && loadedBytes + nextBytes > 255,
          "a long value is not cut at the last whole character within 255 bytes");
}

void checkFileRoundTrip(const QByteArray &file, bool fileExists, const AppSettings &toSave)
{
    const QString path = scratchPath(QStringLiteral("pellimo.ini"));
    if (fileExists)
        writeWholeFile(path, file);
    else
        QFile::remove(path);

    AppSettings loaded;
    loaded.defaultUser = 0;
    loadSettings(loaded, path);
    check(loaded.defaultUser >= 1 && loaded.defaultUser <= 5, "start-up user outside 1..5");

    const SaveStatus status = saveSettings(toSave, path);
    if (!status.ok) {
        bool readable = false;
        const QByteArray afterSave = fileExists ? readWholeFile(path, &readable) : QByteArray();
        check(fileExists ? (readable && afterSave == file) : !QFile::exists(path),
              "a refused save changed the file", status.error);
        return;
    }

    AppSettings back;
    loadDefaultSettings(back);
    back.defaultUser = 0;
    loadSettings(back, path);
    check(back.defaultUser == toSave.defaultUser, "the start-up user read back differently");
    check(back.autoClose == toSave.autoClose, "auto-close read back differently");
    for (size_t n = 0; n < toSave.userNames.size(); ++n)
        checkReadBack(toSave.userNames[n], back.userNames[n]);
    checkReadBack(toSave.dateFormat, back.dateFormat);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    countWarnings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const qsizetype marker = markerAt(data, size);
    const size_t fileSize = marker < 0 ? size : size_t(marker);
    const QByteArray file = rawBytes(data, fileSize);
    const size_t paramsAt = marker < 0 ? size : size_t(marker) + 2;
    FuzzedDataProvider params(data + paramsAt, size - paramsAt);

    const bool fileExists = !file.isEmpty() || params.ConsumeBool();
    const Name name = pickName(params);
    const QByteArray value = valueBytes(params);
    checkEdit(file, name, value);
    checkFileRoundTrip(file, fileExists, settingsToSave(params));
    return 0;
}
