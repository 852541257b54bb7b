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
    {"ggg", QT_TRANSLATE_NOOP("pellimo", "元号")},
    {"gg", QT_TRANSLATE_NOOP("pellimo", "元号の 1 文字目")},
    {"g", QT_TRANSLATE_NOOP("pellimo", "元号のローマ字 1 文字")},
    {"ee", QT_TRANSLATE_NOOP("pellimo", "元号の年（2 桁）")},
    {"e", QT_TRANSLATE_NOOP("pellimo", "元号の年")},
    {"yyyy", QT_TRANSLATE_NOOP("pellimo", "西暦の年")},
    {"yy", QT_TRANSLATE_NOOP("pellimo", "西暦の年（下 2 桁）")},
    {"mm", QT_TRANSLATE_NOOP("pellimo", "月（2 桁）")},
    {"m", QT_TRANSLATE_NOOP("pellimo", "月")},
    {"dd", QT_TRANSLATE_NOOP("pellimo", "日（2 桁）")},
    {"d", QT_TRANSLATE_NOOP("pellimo", "日")},
    {"aaa", QT_TRANSLATE_NOOP("pellimo", "曜日")},
};

const char kExample[] = "ggg ee年mm月dd日";

} // namespace

QString datePatternHelp(const QDateTime &now)
{
    QStringList lines;
    lines << QCoreApplication::translate("pellimo", "書式に使える記号（例は今日の日付）:");
    for (const Token &t : kTokens) {
        const QString token = QString::fromLatin1(t.token);
        lines << QStringLiteral("%1  %2: %3")
                     .arg(token, QCoreApplication::translate("pellimo", t.meaning),
                          formatDate(now, token));
    }
    lines << QCoreApplication::translate("pellimo", "ほかの文字はそのまま出ます。");
    const QString example = QString::fromUtf8(kExample);
    lines << QCoreApplication::translate("pellimo", "例: %1 → %2")
                 .arg(example, formatDate(now, example));
    return lines.join(QLatin1Char('\n'));
}

} // namespace pellimo
