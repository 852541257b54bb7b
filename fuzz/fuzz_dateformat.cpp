// SPDX-License-Identifier: MIT
// The date formatter takes any pattern a user types and any date the clock gives. The input is
// the pattern (UTF-8, or UTF-16 code units when the mode byte asks for it, so lone surrogates are
// reached too) followed by 13 bytes that choose the date and time. Properties:
// - it never crashes or hangs, for valid, far-off and invalid dates alike;
// - the text is at most a fixed number of characters per pattern character;
// - a pattern without letters, quotes or backslashes comes back unchanged;
// - the same date and pattern give the same text twice.

#include "datefmt/dateformat.h"
#include "fuzzsupport.h"

#include <QDateTime>
#include <fuzzer/FuzzedDataProvider.h>

using namespace pellimo;
using namespace pellimo::fuzz;

namespace {

// The longest piece one pattern character can give: "c" with a ten-digit negative year,
// "-2147483648/12/31 23:59:59", is 26 characters.
constexpr qsizetype kMaxPerCharacter = 32;

QDate dateFrom(uint8_t mode, int64_t raw)
{
    switch (mode % 4) {
    case 0: // the years people use: 1800 to 2347
        return QDate::fromJulianDay(2378497 + raw % 200000);
    case 1: // around the era boundaries
        return QDate(1989, 1, 8).addDays(raw % 40000);
    case 2: // anywhere QDate can go
        return QDate::fromJulianDay(raw);
    default:
        return QDate();
    }
}

bool holdsNoTokenCharacter(const QString &pattern)
{
    for (QChar c : pattern) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'"' || u == u'\\')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    countWarnings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // Taken from the end of the input, so the pattern stays readable at its front.
    const uint8_t mode = in.ConsumeIntegral<uint8_t>();
    const int64_t day = in.ConsumeIntegral<int64_t>();
    const uint32_t msecs = in.ConsumeIntegral<uint32_t>();
    const std::vector<uint8_t> rest = in.ConsumeRemainingBytes<uint8_t>();

    QString pattern;
    if (mode & 0x80) {
        pattern.resize(qsizetype(rest.size() / 2));
        for (qsizetype i = 0; i < pattern.size(); ++i)
            pattern[i] = QChar(char16_t(rest[size_t(2 * i)] | rest[size_t(2 * i + 1)] << 8));
    } else {
        pattern =
            QString::fromUtf8(reinterpret_cast<const char *>(rest.data()), qsizetype(rest.size()));
    }

    const QDate date = dateFrom(mode, day);
    const QTime time = (mode & 0x40) ? QTime() : QTime::fromMSecsSinceStartOfDay(msecs % 86400000);
    const QDateTime now(date, time.isValid() ? time : QTime(0, 0),
                        (mode & 0x20) ? Qt::UTC : Qt::LocalTime);

    const QString text = formatDate(now, pattern);
    const qsizetype bound = kMaxPerCharacter * std::max<qsizetype>(pattern.size(), 1);
    check(text.size() <= bound, "the text is longer than the pattern allows",
          QStringLiteral("pattern %1 chars, text %2 chars").arg(pattern.size()).arg(text.size()));
    if (!pattern.isEmpty() && holdsNoTokenCharacter(pattern))
        check(text == pattern, "a pattern without tokens did not come back unchanged");
    check(formatDate(now, pattern) == text, "the same input formatted twice gave different texts");
    return 0;
}
