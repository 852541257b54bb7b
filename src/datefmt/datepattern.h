// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

namespace pellimo {

// One piece of a parsed date pattern: a token, or literal text copied as is.
enum class DateToken {
    Literal,        // quoted text, an escaped character or any character outside a token
    Day,            // d
    Day2,           // dd
    WeekdayShort,   // ddd   Mon
    WeekdayLong,    // dddd  Monday
    ShortDate,      // ddddd  yyyy/mm/dd
    LongDate,       // dddddd yyyy年m月d日
    WeekdayJaShort, // aaa   月
    WeekdayJaLong,  // aaaa  月曜日
    DayOfWeek,      // w     1 = Sunday
    WeekOfYear,     // ww
    Month,          // m
    Month2,         // mm
    MonthShort,     // mmm   Dec
    MonthLong,      // mmmm  December
    MonthJa,        // oooo  12月
    Quarter,        // q
    DayOfYear,      // y
    Year2,          // yy
    Year4,          // yyyy
    EraLetter,      // g
    EraFirstChar,   // gg
    EraName,        // ggg
    EraYear,        // e
    EraYear2,       // ee
    Hour,           // h
    Hour2,          // hh
    Minute,         // n, or m right after an hour token
    Minute2,        // nn, or mm right after an hour token
    Second,         // s
    Second2,        // ss
    LongTime,       // ttttt  h:nn:ss
    DateTime,       // c      ddddd ttttt
    AmPmMarker,     // AM/PM, am/pm, A/P, a/p: the marker in the pattern's own case
    AmPmJa,         // AMPM   午前 / 午後
};

struct DatePiece {
    DateToken token = DateToken::Literal;
    qsizetype pos = 0; // where the piece's text starts in the pattern (literal text, AM/PM form)
    qsizetype len = 0;
};

struct ParsedDatePattern {
    QList<DatePiece> pieces;
    bool twelveHour = false; // the pattern holds an AM/PM token: hours run 1-12
};

// Splits a pattern into tokens and literal text in one pass over it. Never fails.
ParsedDatePattern parseDatePattern(const QString &pattern);

} // namespace pellimo
