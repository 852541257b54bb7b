// SPDX-License-Identifier: MIT
#include "datefmt/dateformat.h"

#include "datefmt/datepattern.h"
#include "datefmt/japaneseera.h"

#include <QStringView>
#include <cstdlib>
#include <optional>

namespace pellimo {

namespace {

// The classic language gives English weekday and month names even on Japanese systems.
const char16_t *const kWeekdayShort[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
const char16_t *const kWeekdayLong[] = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                                        u"Friday", u"Saturday", u"Sunday"};
const char16_t *const kWeekdayJa[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
const char16_t *const kMonthShort[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                       u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
const char16_t *const kMonthLong[] = {u"January",   u"February", u"March",    u"April",
                                      u"May",       u"June",     u"July",     u"August",
                                      u"September", u"October",  u"November", u"December"};

// A number with at least `width` digits; a minus sign stands before the zeros.
void appendNumber(QString &out, qint64 value, int width = 1)
{
    if (value < 0)
        out += u'-';
    const QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype k = digits.size(); k < width; ++k)
        out += u'0';
    out += digits;
}

// Everything a pattern can ask for, taken once from the date and time being formatted.
class DateFields {
public:
    explicit DateFields(const QDateTime &now)
        : date_(now.date()), time_(now.time().isValid() ? now.time() : QTime(0, 0))
    {
    }

    int year() const { return date_.year(); }
    int month() const { return date_.month(); }
    int day() const { return date_.day(); }
    int hour() const { return time_.hour(); }
    int minute() const { return time_.minute(); }
    int second() const { return time_.second(); }
    bool valid() const { return date_.isValid(); }

    int dayOfYear() const { return date_.dayOfYear(); }
    // 0 = Monday .. 6 = Sunday, the order of the name tables.
    int weekdayIndex() const { return date_.dayOfWeek() - 1; }
    // 1 = Sunday .. 7 = Saturday.
    int dayOfWeek() const { return date_.dayOfWeek() % 7 + 1; }

    // Week 1 holds 1 January and weeks start on Sunday; 31 December stays in its own year.
    int weekOfYear() const
    {
        const int firstDaySundayBased = QDate(date_.year(), 1, 1).dayOfWeek() % 7;
        return (date_.dayOfYear() - 1 + firstDaySundayBased) / 7 + 1;
    }

    const JapaneseEra &era()
    {
        if (!era_)
            era_ = japaneseEra(date_);
        return *era_;
    }

    // The year within the era; for a day without an era (before the first one) its Western
    // year. 0 when there is neither: an invalid day, or one before the year 1.
    int eraYear()
    {
        if (!era().name.isEmpty())
            return era().year;
        return valid() && year() > 0 ? year() : 0;
    }

private:
    QDate date_;
    QTime time_;
    std::optional<JapaneseEra> era_;
};

void appendShortDate(QString &out, const DateFields &f)
{
    appendNumber(out, f.year(), 4);
    out += u'/';
    appendNumber(out, f.month(), 2);
    out += u'/';
    appendNumber(out, f.day(), 2);
}

void appendLongTime(QString &out, const DateFields &f)
{
    appendNumber(out, f.hour());
    out += u':';
    appendNumber(out, f.minute(), 2);
    out += u':';
    appendNumber(out, f.second(), 2);
}

// Names, era tokens and calendar counts give nothing (or 0) for an invalid date: never a crash.
void appendToken(QString &out, const DatePiece &piece, const QString &pattern, bool twelveHour,
                 DateFields &f)
{
    const bool valid = f.valid();
    const int hour12 = f.hour() % 12 == 0 ? 12 : f.hour() % 12;
    const int hour = twelveHour ? hour12 : f.hour();
    switch (piece.token) {
    case DateToken::Literal:
        out += QStringView(pattern).mid(piece.pos, piece.len);
        break;
    case DateToken::Day:
        appendNumber(out, f.day());
        break;
    case DateToken::Day2:
        appendNumber(out, f.day(), 2);
        break;
    case DateToken::WeekdayShort:
        if (valid)
            out += QStringView(kWeekdayShort[f.weekdayIndex()]);
        break;
    case DateToken::WeekdayLong:
        if (valid)
            out += QStringView(kWeekdayLong[f.weekdayIndex()]);
        break;
    case DateToken::ShortDate:
        appendShortDate(out, f);
        break;
    case DateToken::LongDate:
        appendNumber(out, f.year(), 4);
        out += u'年';
        appendNumber(out, f.month());
        out += u'月';
        appendNumber(out, f.day());
        out += u'日';
        break;
    case DateToken::WeekdayJaShort:
        if (valid)
            out += QStringView(kWeekdayJa[f.weekdayIndex()]);
        break;
    case DateToken::WeekdayJaLong:
        if (valid) {
            out += QStringView(kWeekdayJa[f.weekdayIndex()]);
            out += u"曜日";
        }
        break;
    case DateToken::DayOfWeek:
        appendNumber(out, valid ? f.dayOfWeek() : 0);
        break;
    case DateToken::WeekOfYear:
        appendNumber(out, valid ? f.weekOfYear() : 0);
        break;
    case DateToken::Month:
        appendNumber(out, f.month());
        break;
    case DateToken::Month2:
        appendNumber(out, f.month(), 2);
        break;
    case DateToken::MonthShort:
        if (valid)
            out += QStringView(kMonthShort[f.month() - 1]);
        break;
    case DateToken::MonthLong:
        if (valid)
            out += QStringView(kMonthLong[f.month() - 1]);
        break;
    case DateToken::MonthJa:
        if (valid) {
            appendNumber(out, f.month());
            out += u'月';
        }
        break;
    case DateToken::Quarter:
        appendNumber(out, valid ? (f.month() - 1) / 3 + 1 : 0);
        break;
    case DateToken::DayOfYear:
        appendNumber(out, valid ? f.dayOfYear() : 0);
        break;
    case DateToken::Year2:
        appendNumber(out, std::abs(f.year()) % 100, 2);
        break;
    case DateToken::Year4:
        appendNumber(out, f.year(), 4);
        break;
    case DateToken::EraLetter:
        out += f.era().letter;
        break;
    case DateToken::EraFirstChar: {
        const QString &name = f.era().name;
        if (!name.isEmpty())
            out += QStringView(name).left(name.at(0).isHighSurrogate() ? 2 : 1);
        break;
    }
    case DateToken::EraName:
        out += f.era().name;
        break;
    case DateToken::EraYear:
        if (const int year = f.eraYear())
            appendNumber(out, year);
        break;
    case DateToken::EraYear2:
        if (const int year = f.eraYear())
            appendNumber(out, year, 2);
        break;
    case DateToken::Hour:
        appendNumber(out, hour);
        break;
    case DateToken::Hour2:
        appendNumber(out, hour, 2);
        break;
    case DateToken::Minute:
        appendNumber(out, f.minute());
        break;
    case DateToken::Minute2:
        appendNumber(out, f.minute(), 2);
        break;
    case DateToken::Second:
        appendNumber(out, f.second());
        break;
    case DateToken::Second2:
        appendNumber(out, f.second(), 2);
        break;
    case DateToken::LongTime:
        appendLongTime(out, f);
        break;
    case DateToken::DateTime:
        appendShortDate(out, f);
        out += u' ';
        appendLongTime(out, f);
        break;
    case DateToken::AmPmMarker: {
        // "AM/PM" or "A/P" in whatever case it was typed: the half before or after the slash.
        const qsizetype half = (piece.len - 1) / 2;
        const qsizetype start = f.hour() < 12 ? piece.pos : piece.pos + half + 1;
        out += QStringView(pattern).mid(start, half);
        break;
    }
    case DateToken::AmPmJa:
        out += f.hour() < 12 ? u"午前" : u"午後";
        break;
    }
}

} // namespace

QString formatDate(const QDateTime &now, const QString &pattern)
{
    // No pattern: the general date-and-time text.
    static const QString generalPattern = QStringLiteral("c");
    const QString &effective = pattern.isEmpty() ? generalPattern : pattern;

    const ParsedDatePattern parsed = parseDatePattern(effective);
    DateFields fields(now);
    QString out;
    out.reserve(effective.size() + 16);
    for (const DatePiece &piece : parsed.pieces)
        appendToken(out, piece, effective, parsed.twelveHour, fields);
    return out;
}

bool patternUsesJapaneseEra(const QString &pattern)
{
    for (const DatePiece &piece : parseDatePattern(pattern).pieces) {
        switch (piece.token) {
        case DateToken::EraLetter:
        case DateToken::EraFirstChar:
        case DateToken::EraName:
        case DateToken::EraYear:
        case DateToken::EraYear2:
            return true;
        default:
            break;
        }
    }
    return false;
}

bool hasJapaneseEra(const QDate &day)
{
    return !japaneseEra(day).name.isEmpty();
}

} // namespace pellimo
