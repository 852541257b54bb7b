// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

namespace pellimo {

// The date-pattern box's tooltip: the tokens a pattern is made of, each with what it gives on
// `now`, and a whole pattern as an example.
QString datePatternHelp(const QDateTime &now);

} // namespace pellimo
