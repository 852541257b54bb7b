// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

namespace pellimo {

// Formats `now` with a pattern of the classic date-pattern language (ee.mm.dd, ggg, yyyy, ...).
// Weeks start on Sunday and week 1 holds 1 January. Never fails: text that holds no token comes
// back unchanged. An empty pattern gives the general date-and-time text ("2026/12/07 6:54:04").
// A day without a Japanese era (before the first era the calendar has) gives its Western year
// for the era-year tokens (e, ee) and nothing for the era names (g, gg, ggg).
QString formatDate(const QDateTime &now, const QString &pattern);

// Whether the pattern asks for the Japanese era: it holds g, gg, ggg, e or ee outside quotes.
bool patternUsesJapaneseEra(const QString &pattern);

// Whether the day lies in a Japanese era. A caller that was given the day (not the clock) and a
// pattern that uses the era can refuse a day without one rather than print a Western year in
// the era's place.
bool hasJapaneseEra(const QDate &day);

} // namespace pellimo
