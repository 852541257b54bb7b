// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>

namespace pellimo {

// The Japanese era of a date, from ICU's Japanese calendar. All fields are empty (year 0) for an
// invalid date, one outside the calendar's range, or one before the first era the calendar has.
struct JapaneseEra {
    int year = 0;   // year within the era, 1 in the era's first year
    QString name;   // 平成, 令和 ...
    QString letter; // H, R ... (narrow name)
};

JapaneseEra japaneseEra(const QDate &date);

// The first day of the earliest era the calendar has (大化, in 645); the days before it have no
// era. An invalid date when the calendar cannot be had.
QDate firstJapaneseEraDay();

} // namespace pellimo
