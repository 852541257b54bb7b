// SPDX-License-Identifier: MIT
#include "datefmt/dateformat.h"

#include <QRandomGenerator>
#include <QTest>

using namespace pellimo;

namespace {

// Monday 7 December 2026, 6:54:04 in the morning: the day of the token tables.
const QDateTime kMonday(QDate(2026, 12, 7), QTime(6, 54, 4));

void addColumns()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
}

void row(const char *name, const QDateTime &now, const QString &pattern, const QString &expected)
{
    QTest::newRow(name) << now << pattern << expected;
}

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

} // namespace

class TestDateFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateTokens_data()
    {
        addColumns();
        row("d", kMonday, u"d"_qs, u"7"_qs);
        row("dd", kMonday, u"dd"_qs, u"07"_qs);
        row("ddd", kMonday, u"ddd"_qs, u"Mon"_qs);
        row("dddd", kMonday, u"dddd"_qs, u"Monday"_qs);
        row("aaa", kMonday, u"aaa"_qs, u"月"_qs);
        row("aaaa", kMonday, u"aaaa"_qs, u"月曜日"_qs);
        row("ddddd", kMonday, u"ddddd"_qs, u"2026/12/07"_qs);
        row("dddddd", kMonday, u"dddddd"_qs, u"2026年12月7日"_qs);
        row("w", kMonday, u"w"_qs, u"2"_qs);
        row("ww", kMonday, u"ww"_qs, u"50"_qs);
        row("m", kMonday, u"m"_qs, u"12"_qs);
        row("mm", kMonday, u"mm"_qs, u"12"_qs);
        row("mmm", kMonday, u"mmm"_qs, u"Dec"_qs);
        row("mmmm", kMonday, u"mmmm"_qs, u"December"_qs);
        row("oooo", kMonday, u"oooo"_qs, u"12月"_qs);
        row("q", kMonday, u"q"_qs, u"4"_qs);
        row("y", kMonday, u"y"_qs, u"341"_qs);
        row("yy", kMonday, u"yy"_qs, u"26"_qs);
        row("yyyy", kMonday, u"yyyy"_qs, u"2026"_qs);
        row("g", kMonday, u"g"_qs, u"R"_qs);
        row("gg", kMonday, u"gg"_qs, u"令"_qs);
        row("ggg", kMonday, u"ggg"_qs, u"令和"_qs);
        row("e", kMonday, u"e"_qs, u"8"_qs);
        row("ee", kMonday, u"ee"_qs, u"08"_qs);

        // Leading zeros only where asked for.
        const QDateTime march = at(2026, 3, 5);
        row("m d single digits", march, u"m-d"_qs, u"3-5"_qs);
        row("mm dd padded", march, u"mm-dd"_qs, u"03-05"_qs);
        row("long date unpadded", march, u"dddddd"_qs, u"2026年3月5日"_qs);
        row("short date padded", march, u"ddddd"_qs, u"2026/03/05"_qs);
        row("Japanese month", march, u"oooo"_qs, u"3月"_qs);
        row("yy of 2005", at(2005, 1, 1), u"yy/yyyy"_qs, u"05/2005"_qs);
        row("year below 1000", at(987, 6, 1), u"yyyy yy"_qs, u"0987 87"_qs);

        row("weekday names on Sunday", at(2026, 12, 6), u"ddd dddd aaa aaaa w"_qs,
            u"Sun Sunday 日 日曜日 1"_qs);
        row("weekday names on Saturday", at(2026, 12, 12), u"ddd dddd aaa aaaa w"_qs,
            u"Sat Saturday 土 土曜日 7"_qs);
        row("month names in January", at(2026, 1, 1), u"mmm mmmm"_qs, u"Jan January"_qs);
        row("month names in September", at(2026, 9, 1), u"mmm mmmm"_qs, u"Sep September"_qs);

        row("last day of the first quarter", at(2026, 3, 31), u"q"_qs, u"1"_qs);
        row("first day of the second quarter", at(2026, 4, 1), u"q"_qs, u"2"_qs);
        row("last day of the third quarter", at(2026, 9, 30), u"q"_qs, u"3"_qs);
        row("first day of the year", at(2026, 1, 1), u"y"_qs, u"1"_qs);
        row("last day of a leap year", at(2028, 12, 31), u"y"_qs, u"366"_qs);
    }
    void dateTokens() { check(); }

    // Week 1 holds 1 January, weeks start on Sunday, and the year's last days stay in its last
    // week instead of rolling into week 1 of the next year.
    void weekOfYear_data()
    {
        addColumns();
        row("1 January", at(2026, 1, 1), u"ww"_qs, u"1"_qs);
        row("first Saturday", at(2026, 1, 3), u"ww"_qs, u"1"_qs);
        row("first Sunday starts week 2", at(2026, 1, 4), u"ww"_qs, u"2"_qs);
        row("1 January on a Sunday", at(2023, 1, 1), u"ww"_qs, u"1"_qs);
        row("1 January on a Saturday", at(2028, 1, 1), u"ww"_qs, u"1"_qs);
        row("31 December on a Thursday", at(2026, 12, 31), u"ww"_qs, u"53"_qs);
        row("31 December on a Saturday", at(2022, 12, 31), u"ww"_qs, u"53"_qs);
        row("leap year ends in week 54", at(2028, 12, 31), u"ww"_qs, u"54"_qs);
    }
    void weekOfYear() { check(); }

    void eraTokens_data()
    {
        addColumns();
        row("default pattern", at(2002, 12, 4), u"ee.mm.dd"_qs, u"14.12.04"_qs);
        row("default pattern in capitals", at(2002, 12, 4), u"EE.MM.DD"_qs, u"14.12.04"_qs);
        row("mixed case", at(2002, 12, 4), u"Ee.mM.dD"_qs, u"14.12.04"_qs);
        row("last day of Showa", at(1989, 1, 7), u"g|gg|ggg|e|ee"_qs, u"S|昭|昭和|64|64"_qs);
        row("first day of Heisei", at(1989, 1, 8), u"g|gg|ggg|e|ee"_qs, u"H|平|平成|1|01"_qs);
        row("last day of Heisei", at(2019, 4, 30), u"ge"_qs, u"H31"_qs);
        row("first day of Reiwa", at(2019, 5, 1), u"ge ggge"_qs, u"R1 令和1"_qs);
        row("first day of Reiwa, two digits", at(2019, 5, 1), u"ggg ee"_qs, u"令和 01"_qs);
        row("last day of Meiji", at(1912, 7, 29), u"gge"_qs, u"明45"_qs);
        row("first day of Taisho", at(1912, 7, 30), u"g gg ggg ee"_qs, u"T 大 大正 01"_qs);
        row("last day of Taisho", at(1926, 12, 24), u"ge"_qs, u"T15"_qs);
        row("first day of Showa", at(1926, 12, 25), u"g gg ggg ee"_qs, u"S 昭 昭和 01"_qs);
        row("era text around tokens", kMonday, u"ggge年m月d日"_qs, u"令和8年12月7日"_qs);
        row("era literal before the year", kMonday, u"令和e年"_qs, u"令和8年"_qs);
        row("era at midnight", at(2019, 5, 1, 0, 0, 0), u"g"_qs, u"R"_qs);
        row("era just before midnight", at(2019, 4, 30, 23, 59, 59), u"g"_qs, u"H"_qs);
    }
    void eraTokens() { check(); }

    // Days before the first era the calendar has: the era year is the Western year and the era
    // names are left out, never a year of 0 or below.
    void daysWithoutAnEra_data()
    {
        addColumns();
        row("0001-01-01, the default pattern", at(1, 1, 1), u"ee.mm.dd"_qs, u"01.01.01"_qs);
        row("every era token", at(644, 12, 31), u"g|gg|ggg|e|ee"_qs, u"|||644|644"_qs);
        row("era name and year", at(300, 4, 1), u"ggge年m月d日"_qs, u"300年4月1日"_qs);
        row("645 before the first era began", at(645, 1, 2), u"gge"_qs, u"645"_qs);
        row("before year 1", at(-1, 6, 1), u"ee|e|g"_qs, u"||"_qs);
    }
    void daysWithoutAnEra() { check(); }

    void eraYearIsNeverBelowOne()
    {
        for (QDate day(1, 1, 1); day.year() < 800; day = day.addDays(29)) {
            const QString text = formatDate(QDateTime(day, QTime(12, 0)), u"e"_qs);
            QVERIFY2(text.toInt() >= 1, qPrintable(day.toString(Qt::ISODate) + u' ' + text));
        }
    }

    // What a caller checks before it formats a day it was given: whether the pattern asks for
    // the era, and whether the day has one.
    void patternUsesEra_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("usesEra");
        QTest::newRow("default") << u"ee.mm.dd"_qs << true;
        QTest::newRow("capitals") << u"GGG"_qs << true;
        QTest::newRow("one letter") << u"g"_qs << true;
        QTest::newRow("Western") << u"yyyy/mm/dd"_qs << false;
        QTest::newRow("quoted") << u"\"gge\" yy"_qs << false;
        QTest::newRow("escaped") << u"\\e\\g yyyy"_qs << false;
        QTest::newRow("empty: the general text") << QString() << false;
    }
    void patternUsesEra()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, usesEra);
        QCOMPARE(patternUsesJapaneseEra(pattern), usesEra);
    }

    void dayHasEra_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("hasEra");
        QTest::newRow("Reiwa") << QDate(2026, 12, 7) << true;
        QTest::newRow("Keio") << QDate(1867, 6, 1) << true;
        QTest::newRow("0001-01-01") << QDate(1, 1, 1) << false;
        QTest::newRow("year 644") << QDate(644, 12, 31) << false;
        QTest::newRow("invalid") << QDate() << false;
    }
    void dayHasEra()
    {
        QFETCH(QDate, day);
        QFETCH(bool, hasEra);
        QCOMPARE(hasJapaneseEra(day), hasEra);
    }

    void timeTokens_data()
    {
        addColumns();
        row("h hh", kMonday, u"h hh"_qs, u"6 06"_qs);
        row("n nn", at(2026, 1, 1, 10, 5), u"n nn"_qs, u"5 05"_qs);
        row("s ss", kMonday, u"s ss"_qs, u"4 04"_qs);
        row("24-hour clock", at(2026, 1, 1, 18, 5), u"h:nn"_qs, u"18:05"_qs);
        row("midnight on the 24-hour clock", at(2026, 1, 1, 0, 5), u"h hh"_qs, u"0 00"_qs);
        row("ttttt", kMonday, u"ttttt"_qs, u"6:54:04"_qs);
        row("ttttt in the evening", at(2026, 1, 1, 23, 0, 9), u"ttttt"_qs, u"23:00:09"_qs);
        row("c", kMonday, u"c"_qs, u"2026/12/07 6:54:04"_qs);
        row("empty pattern", kMonday, QString(), u"2026/12/07 6:54:04"_qs);
        row("empty pattern at midnight", at(2026, 1, 2), QString(), u"2026/01/02 0:00:00"_qs);

        // m and mm right after an hour token, with only literals between, are minutes.
        row("hh:mm", kMonday, u"hh:mm"_qs, u"06:54"_qs);
        row("h m", kMonday, u"h m"_qs, u"6 54"_qs);
        row("hh:mm:ss", kMonday, u"hh:mm:ss"_qs, u"06:54:04"_qs);
        row("quoted text between", kMonday, u"h\"時\"mm\"分\""_qs, u"6時54分"_qs);
        row("escaped letter between", kMonday, u"h\\hm"_qs, u"6h54"_qs);
        row("HH:MM in capitals", kMonday, u"HH:MM"_qs, u"06:54"_qs);
        row("token between gives month", kMonday, u"h d m"_qs, u"6 7 12"_qs);
        row("only the first mm after the hour", kMonday, u"hh:mm mm"_qs, u"06:54 12"_qs);
        row("mm before the hour is the month", kMonday, u"mm:hh"_qs, u"12:06"_qs);
        row("mmm after the hour stays a name", kMonday, u"h mmm"_qs, u"6 Dec"_qs);
        row("minutes then the date", kMonday, u"yyyy/mm/dd hh:mm"_qs, u"2026/12/07 06:54"_qs);

        // With an AM/PM token anywhere the hours run 1-12.
        row("AM/PM in the evening", at(2026, 1, 1, 18, 5), u"h:mm AM/PM"_qs, u"6:05 PM"_qs);
        row("AM/PM in the morning", at(2026, 1, 1, 9, 30), u"h:mm AM/PM"_qs, u"9:30 AM"_qs);
        row("AM/PM at midnight", at(2026, 1, 1, 0, 5), u"h:mm AM/PM"_qs, u"12:05 AM"_qs);
        row("AM/PM at noon", at(2026, 1, 1, 12, 0), u"hh:nn AM/PM"_qs, u"12:00 PM"_qs);
        row("AM/PM before the hour", at(2026, 1, 1, 23, 59), u"AM/PM hh:nn"_qs, u"PM 11:59"_qs);
        row("am/pm", at(2026, 1, 1, 9, 0), u"hh am/pm"_qs, u"09 am"_qs);
        row("am/pm afternoon", at(2026, 1, 1, 13, 0), u"h am/pm"_qs, u"1 pm"_qs);
        row("A/P", at(2026, 1, 1, 13, 0), u"h A/P"_qs, u"1 P"_qs);
        row("a/p", at(2026, 1, 1, 1, 0), u"h a/p"_qs, u"1 a"_qs);
        row("marker case as typed, morning", at(2026, 1, 1, 1, 0), u"Am/pM"_qs, u"Am"_qs);
        row("marker case as typed, evening", at(2026, 1, 1, 13, 0), u"Am/pM"_qs, u"pM"_qs);
        row("AMPM morning", at(2026, 1, 1, 9, 0), u"AMPMh時"_qs, u"午前9時"_qs);
        row("AMPM evening", at(2026, 1, 1, 18, 0), u"AMPM h:mm"_qs, u"午後 6:00"_qs);
        row("ampm in lower case", at(2026, 1, 1, 0, 0), u"ampm h"_qs, u"午前 12"_qs);
        row("long time stays 24-hour", at(2026, 1, 1, 18, 5, 1), u"ttttt AM/PM"_qs,
            u"18:05:01 PM"_qs);
    }
    void timeTokens() { check(); }

    void literalText_data()
    {
        addColumns();
        row("no token at all", kMonday, u"令 .-,;!?#%&*+=<>@_|~()[]{}"_qs,
            u"令 .-,;!?#%&*+=<>@_|~()[]{}"_qs);
        row("letters that are no token", kMonday, u"bfijklpruvxzBFIJKLPRUVXZ"_qs,
            u"bfijklpruvxzBFIJKLPRUVXZ"_qs);
        row("short runs that are no token", kMonday, u"t tt tttt o ooo aa a/ a/x"_qs,
            u"t tt tttt o ooo aa a/ a/x"_qs);
        row("half a marker is text and a month", kMonday, u"am/"_qs, u"a12/"_qs);
        row("full-width letters are text", kMonday, u"ＤＤ ｙｙｙｙ"_qs, u"ＤＤ ｙｙｙｙ"_qs);
        row("Japanese text", kMonday, u"年月日"_qs, u"年月日"_qs);
        row("separators", kMonday, u"yyyy/mm/dd hh:nn"_qs, u"2026/12/07 06:54"_qs);
        row("non-BMP text", kMonday, u"😀dd😀"_qs, u"😀07😀"_qs);

        row("quoted tokens", kMonday, u"\"dd\"dd"_qs, u"dd07"_qs);
        row("empty quotes", kMonday, u"dd\"\"dd"_qs, u"0707"_qs);
        row("unmatched quote takes the rest", kMonday, u"dd\"yyyy mm"_qs, u"07yyyy mm"_qs);
        row("lone quote", kMonday, u"\""_qs, QString());
        row("backslash escapes", kMonday, u"\\d\\D"_qs, u"dD"_qs);
        row("escaped backslash", kMonday, u"\\\\dd"_qs, u"\\07"_qs);
        row("escaped quote", kMonday, u"\\\"dd\\\""_qs, u"\"07\""_qs);
        row("backslash inside quotes is text", kMonday, u"\"a\\b\""_qs, u"a\\b"_qs);
        row("trailing backslash", kMonday, u"dd\\"_qs, u"07"_qs);
        row("escaped non-BMP character", kMonday, u"\\😀d"_qs, u"😀7"_qs);
        row("escape splits a token", kMonday, u"d\\dd"_qs, u"7d7"_qs);

        // The longest token wins; what is left over starts the next token.
        row("seven d", kMonday, u"ddddddd"_qs, u"2026年12月7日7"_qs);
        row("three y", kMonday, u"yyy"_qs, u"26341"_qs);
        row("five y", kMonday, u"yyyyy"_qs, u"2026341"_qs);
        row("five m", kMonday, u"mmmmm"_qs, u"December12"_qs);
        row("three e", kMonday, u"eee"_qs, u"088"_qs);
        row("four g", kMonday, u"gggg"_qs, u"令和R"_qs);
        row("three h", kMonday, u"hhh"_qs, u"066"_qs);
        row("seven t", kMonday, u"ttttttt"_qs, u"6:54:04tt"_qs);
        row("five a", kMonday, u"aaaaa"_qs, u"月曜日a"_qs);
        row("three w", kMonday, u"www"_qs, u"502"_qs);
        row("c in a word", kMonday, u"Dec"_qs, u"782026/12/07 6:54:04"_qs);
    }
    void literalText() { check(); }

    // Invalid input gives text, never a crash: numbers fall to 0 and names are left out.
    void invalidDateTime()
    {
        QCOMPARE(formatDate(QDateTime(), u"yyyy|ggg|dddd|mmm|\"x\""_qs), u"0000||||x"_qs);
        QCOMPARE(formatDate(QDateTime(), u"ee.mm.dd ww w q y"_qs), u".00.00 0 0 0 0"_qs);
    }

    // Whatever the user types, the result comes back and grows at most by a fixed factor:
    // hostile repetitions and random mixes of token letters, quotes and escapes.
    void hostilePatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        const qsizetype n = 100000;
        QTest::newRow("quotes") << QString(n, u'"');
        QTest::newRow("backslashes") << QString(n, u'\\');
        QTest::newRow("d run") << QString(n, u'd');
        QTest::newRow("c run") << QString(n, u'c');
        QTest::newRow("a slash") << u"a/"_qs.repeated(n / 2);
        QTest::newRow("am slash") << u"am/p"_qs.repeated(n / 4);
        QTest::newRow("hour minute") << u"hm"_qs.repeated(n / 2);
        QTest::newRow("lone surrogates") << QString(n, QChar(0xD800));
        QTest::newRow("escaped high surrogates") << u"\\\xD83D"_qs.repeated(n / 2);

        const QString alphabet = u"dDaAwWmMoOqQyYgGeEhHnNsStTcCpP/\\\": 年"_qs;
        QRandomGenerator random(20261207);
        QString mix;
        for (qsizetype i = 0; i < n; ++i)
            mix += alphabet.at(random.bounded(int(alphabet.size())));
        QTest::newRow("random mix") << mix;
    }

    void hostilePatterns()
    {
        QFETCH(QString, pattern);
        const QString out = formatDate(kMonday, pattern);
        // The longest expansion is c: one letter gives "2026/12/07 6:54:04".
        QVERIFY(out.size() <= 18 * pattern.size());
    }

    void hostilePatternsGiveExactText()
    {
        QCOMPARE(formatDate(kMonday, QString(1000, u'"')), QString());
        QCOMPARE(formatDate(kMonday, QString(1000, u'\\')), QString(500, u'\\'));
        QCOMPARE(formatDate(kMonday, u"dddddd"_qs.repeated(1000)),
                 u"2026年12月7日"_qs.repeated(1000));
        QCOMPARE(formatDate(kMonday, u"a/"_qs.repeated(1000)), u"a/"_qs.repeated(1000));
        // Every m of "hm hm ..." follows an hour: all minutes, none of them months.
        QCOMPARE(formatDate(kMonday, u"hm"_qs.repeated(1000)), u"654"_qs.repeated(1000));
    }

private:
    void check()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatDate(now, pattern), expected);
    }
};

QTEST_APPLESS_MAIN(TestDateFormat)
#include "test_dateformat.moc"
