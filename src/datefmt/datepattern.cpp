// SPDX-License-Identifier: MIT
#include "datefmt/datepattern.h"

#include <array>
#include <string_view>

namespace pellimo {

namespace {

struct TokenText {
    std::string_view text; // lower case; matched without regard to case
    DateToken token;
};

// Within one first letter the longer token comes first, so the longest one wins.
constexpr std::array kTokens{
    TokenText{"dddddd", DateToken::LongDate},
    TokenText{"ddddd", DateToken::ShortDate},
    TokenText{"dddd", DateToken::WeekdayLong},
    TokenText{"ddd", DateToken::WeekdayShort},
    TokenText{"dd", DateToken::Day2},
    TokenText{"d", DateToken::Day},
    TokenText{"am/pm", DateToken::AmPmMarker},
    TokenText{"ampm", DateToken::AmPmJa},
    TokenText{"aaaa", DateToken::WeekdayJaLong},
    TokenText{"aaa", DateToken::WeekdayJaShort},
    TokenText{"a/p", DateToken::AmPmMarker},
    TokenText{"ww", DateToken::WeekOfYear},
    TokenText{"w", DateToken::DayOfWeek},
    TokenText{"mmmm", DateToken::MonthLong},
    TokenText{"mmm", DateToken::MonthShort},
    TokenText{"mm", DateToken::Month2},
    TokenText{"m", DateToken::Month},
    TokenText{"oooo", DateToken::MonthJa},
    TokenText{"q", DateToken::Quarter},
    TokenText{"yyyy", DateToken::Year4},
    TokenText{"yy", DateToken::Year2},
    TokenText{"y", DateToken::DayOfYear},
    TokenText{"ggg", DateToken::EraName},
    TokenText{"gg", DateToken::EraFirstChar},
    TokenText{"g", DateToken::EraLetter},
    TokenText{"ee", DateToken::EraYear2},
    TokenText{"e", DateToken::EraYear},
    TokenText{"hh", DateToken::Hour2},
    TokenText{"h", DateToken::Hour},
    TokenText{"nn", DateToken::Minute2},
    TokenText{"n", DateToken::Minute},
    TokenText{"ss", DateToken::Second2},
    TokenText{"s", DateToken::Second},
    TokenText{"ttttt", DateToken::LongTime},
    TokenText{"c", DateToken::DateTime},
};

// Only ASCII letters fold: a full-width Ｄ is text, not a token.
char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

bool matchesAt(const QString &pattern, qsizetype pos, std::string_view text)
{
    if (pattern.size() - pos < qsizetype(text.size()))
        return false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (foldAscii(pattern.at(pos + qsizetype(k)).unicode()) != char16_t(text[k]))
            return false;
    }
    return true;
}

const TokenText *tokenAt(const QString &pattern, qsizetype pos)
{
    const char16_t first = foldAscii(pattern.at(pos).unicode());
    for (const TokenText &t : kTokens) {
        if (char16_t(t.text.front()) == first && matchesAt(pattern, pos, t.text))
            return &t;
    }
    return nullptr;
}

// Length of the character at pos: two for a surrogate pair, so an escape never splits one.
qsizetype charLength(const QString &pattern, qsizetype pos)
{
    if (pos + 1 < pattern.size() && pattern.at(pos).isHighSurrogate() &&
        pattern.at(pos + 1).isLowSurrogate())
        return 2;
    return 1;
}

bool isHourToken(DateToken token)
{
    return token == DateToken::Hour || token == DateToken::Hour2;
}

} // namespace

ParsedDatePattern parseDatePattern(const QString &pattern)
{
    ParsedDatePattern parsed;
    // The last token seen, literals aside: m and mm right after an hour token are minutes.
    DateToken lastToken = DateToken::Literal;
    auto addLiteral = [&parsed](qsizetype pos, qsizetype len) {
        if (len <= 0)
            return;
        if (!parsed.pieces.isEmpty()) {
            DatePiece &last = parsed.pieces.last();
            if (last.token == DateToken::Literal && last.pos + last.len == pos) {
                last.len += len; // one run of plain text stays one piece
                return;
            }
        }
        parsed.pieces.append({DateToken::Literal, pos, len});
    };

    qsizetype i = 0;
    const qsizetype n = pattern.size();
    while (i < n) {
        const QChar c = pattern.at(i);
        if (c == u'"') {
            // Quoted text, without its quotes; an unmatched quote takes the rest of the pattern.
            qsizetype end = pattern.indexOf(u'"', i + 1);
            if (end < 0)
                end = n;
            addLiteral(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == u'\\') {
            // The next character as is; a backslash at the very end gives nothing.
            if (i + 1 < n) {
                const qsizetype len = charLength(pattern, i + 1);
                addLiteral(i + 1, len);
                i += 1 + len;
            } else {
                i = n;
            }
            continue;
        }
        const TokenText *t = tokenAt(pattern, i);
        if (!t) {
            addLiteral(i, 1);
            ++i;
            continue;
        }
        DateToken token = t->token;
        if (isHourToken(lastToken)) {
            if (token == DateToken::Month)
                token = DateToken::Minute;
            else if (token == DateToken::Month2)
                token = DateToken::Minute2;
        }
        if (token == DateToken::AmPmMarker || token == DateToken::AmPmJa)
            parsed.twelveHour = true;
        const qsizetype len = qsizetype(t->text.size());
        parsed.pieces.append({token, i, len});
        lastToken = token;
        i += len;
    }
    return parsed;
}

} // namespace pellimo
