// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

namespace pellimo {

// Formats `now` with a pattern of the classic date-pattern language (ee.mm.dd, ggg, yyyy, ...).
// Weeks start on Sunday and week 1 holds 1 January. Never fails: text that holds no token comes
// back unchanged. An empty pattern gives the general date-and-time text ("2026/12/07 6:54:04").
QString formatDate(const QDateTime &now, const QString &pattern);

} // namespace pellimo
