// SPDX-License-Identifier: MIT
#include "datepatternhelp.h"

#include "datefmt/dateformat.h"

#include <QCoreApplication>
#include <QStringList>

namespace pellimo {

namespace {

struct Token {
    const char *token;
    const char *meaning;
};

// The tokens people use on a stamp, the Japanese era first.
constexpr Token kTokens[] = {
    {"ggg", QT_TRANSLATE_NOOP("pellimo", "era name")},
    {"gg", QT_TRANSLATE_NOOP("pellimo", "first character of the era name")},
    {"g", QT_TRANSLATE_NOOP("pellimo", "era initial in Latin letters")},
    {"ee", QT_TRANSLATE_NOOP("pellimo", "year of the era (2 digits)")},
    {"e", QT_TRANSLATE_NOOP("pellimo", "year of the era")},
    {"yyyy", QT_TRANSLATE_NOOP("pellimo", "Western year")},
    {"yy", QT_TRANSLATE_NOOP("pellimo", "Western year (last 2 digits)")},
    {"mm", QT_TRANSLATE_NOOP("pellimo", "month (2 digits)")},
    {"m", QT_TRANSLATE_NOOP("pellimo", "month")},
    {"dd", QT_TRANSLATE_NOOP("pellimo", "day (2 digits)")},
    {"d", QT_TRANSLATE_NOOP("pellimo", "day")},
    {"aaa", QT_TRANSLATE_NOOP("pellimo", "day of the week")},
};

const char kExample[] = "ggg ee年mm月dd日";

} // namespace

QString datePatternHelp(const QDateTime &now)
{
    QStringList lines;
    lines << QCoreApplication::translate("pellimo", "Symbols the pattern can use (examples are today's date):");
    for (const Token &t : kTokens) {
        const QString token = QString::fromLatin1(t.token);
        lines << QStringLiteral("%1  %2: %3")
                     .arg(token, QCoreApplication::translate("pellimo", t.meaning),
                          formatDate(now, token));
    }
    lines << QCoreApplication::translate("pellimo", "Any other character is written as it is.");
    const QString example = QString::fromUtf8(kExample);
    lines << QCoreApplication::translate("pellimo", "Example: %1 → %2")
                 .arg(example, formatDate(now, example));
    return lines.join(QLatin1Char('\n'));
}

} // namespace pellimo
