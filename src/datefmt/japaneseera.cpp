// SPDX-License-Identifier: MIT
#include "datefmt/japaneseera.h"

#include <QList>
#include <cmath>
#include <memory>
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace pellimo {

namespace {

const char *const kLocale = "ja_JP@calendar=japanese";

// Julian day number of 1970-01-01, the origin of ICU's millisecond time line.
constexpr qint64 kUnixEpochJulianDay = 2440588;
constexpr double kMillisPerDay = 86400000.0;

QString toQString(const icu::UnicodeString &s)
{
    return QString(reinterpret_cast<const QChar *>(s.getBuffer()), s.length());
}

// Era names indexed by ICU's era number (Meiji to Reiwa are 232 to 236). Loaded once; never
// changed afterwards, so every thread may read them.
struct EraNames {
    QList<QString> wide;
    QList<QString> narrow;
};

EraNames loadEraNames()
{
    EraNames names;
    UErrorCode status = U_ZERO_ERROR;
    // The calendar type must be named: without it the symbols are the Gregorian ones (BC/AD).
    const icu::DateFormatSymbols symbols(icu::Locale(kLocale), "japanese", status);
    if (U_FAILURE(status))
        return names;
    int32_t wideCount = 0;
    int32_t narrowCount = 0;
    const icu::UnicodeString *wide = symbols.getEraNames(wideCount);
    const icu::UnicodeString *narrow = symbols.getNarrowEras(narrowCount);
    for (int32_t i = 0; wide && i < wideCount; ++i)
        names.wide.append(toQString(wide[i]));
    for (int32_t i = 0; narrow && i < narrowCount; ++i)
        names.narrow.append(toQString(narrow[i]));
    return names;
}

const EraNames &eraNames()
{
    static const EraNames names = loadEraNames();
    return names;
}

// A Japanese calendar on UTC, so that noon UTC of a day is that day whatever TZ says. One per
// thread: a Calendar is not safe to share while its time is being set.
std::unique_ptr<icu::Calendar> makeCalendar()
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale(kLocale), status));
    if (U_FAILURE(status))
        return nullptr;
    // Out of ICU's range a lenient calendar clamps to its last day and gives a wrong year;
    // a strict one reports the error and the era stays unknown.
    calendar->setLenient(false);
    return calendar;
}

// The day on which era 0 starts: the era and its first year set, ICU fills in the era's first
// month and day.
QDate lookUpFirstEraDay()
{
    const std::unique_ptr<icu::Calendar> calendar = makeCalendar();
    if (!calendar)
        return {};
    calendar->clear();
    calendar->set(UCAL_ERA, 0);
    calendar->set(UCAL_YEAR, 1);
    UErrorCode status = U_ZERO_ERROR;
    const UDate millis = calendar->getTime(status);
    if (U_FAILURE(status))
        return {};
    return QDate::fromJulianDay(qint64(std::floor(millis / kMillisPerDay)) + kUnixEpochJulianDay);
}

JapaneseEra lookUp(const QDate &date)
{
    thread_local const std::unique_ptr<icu::Calendar> calendar = makeCalendar();
    if (!calendar)
        return {};
    // Before its first era the calendar goes on counting the first era's years backwards, down
    // to 0 and below: those days have no era.
    const QDate first = firstJapaneseEraDay();
    if (!first.isValid() || date < first)
        return {};
    const double millis =
        double(date.toJulianDay() - kUnixEpochJulianDay) * kMillisPerDay + kMillisPerDay / 2;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(millis, status);
    const int32_t era = calendar->get(UCAL_ERA, status);
    const int32_t year = calendar->get(UCAL_YEAR, status);
    if (U_FAILURE(status))
        return {};
    const EraNames &names = eraNames();
    JapaneseEra result;
    result.year = year;
    if (era >= 0 && era < names.wide.size())
        result.name = names.wide.at(era);
    if (era >= 0 && era < names.narrow.size())
        result.letter = names.narrow.at(era);
    return result;
}

} // namespace

QDate firstJapaneseEraDay()
{
    static const QDate first = lookUpFirstEraDay();
    return first;
}

JapaneseEra japaneseEra(const QDate &date)
{
    if (!date.isValid())
        return {};
    // The date line is formatted again and again for the same day: remember the last answer.
    thread_local QDate lastDate;
    thread_local JapaneseEra lastEra;
    if (date != lastDate) {
        lastEra = lookUp(date);
        lastDate = date;
    }
    return lastEra;
}

} // namespace pellimo
