// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>

namespace pellimo {

// The Japanese era of a date, from ICU's Japanese calendar. All fields are empty (year 0) for an
// invalid date or one outside the calendar's range.
struct JapaneseEra {
    int year = 0;   // year within the era, 1 in the era's first year
    QString name;   // 平成, 令和 ...
    QString letter; // H, R ... (narrow name)
};

JapaneseEra japaneseEra(const QDate &date);

} // namespace pellimo
