// SPDX-License-Identifier: MIT
#include "datefmt/japaneseera.h"

#include <QTest>
#include <thread>
#include <vector>

using namespace pellimo;

class TestJapaneseEra : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eraOfDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<int>("year");

        QTest::newRow("Meiji 33") << QDate(1900, 6, 1) << u"明治"_qs << u"M"_qs << 33;
        QTest::newRow("last day of Meiji") << QDate(1912, 7, 29) << u"明治"_qs << u"M"_qs << 45;
        QTest::newRow("Taisho starts") << QDate(1912, 7, 30) << u"大正"_qs << u"T"_qs << 1;
        QTest::newRow("last day of Taisho") << QDate(1926, 12, 24) << u"大正"_qs << u"T"_qs << 15;
        QTest::newRow("Showa starts") << QDate(1926, 12, 25) << u"昭和"_qs << u"S"_qs << 1;
        QTest::newRow("last day of Showa") << QDate(1989, 1, 7) << u"昭和"_qs << u"S"_qs << 64;
        QTest::newRow("Heisei starts") << QDate(1989, 1, 8) << u"平成"_qs << u"H"_qs << 1;
        QTest::newRow("Heisei 14") << QDate(2002, 12, 4) << u"平成"_qs << u"H"_qs << 14;
        QTest::newRow("last day of Heisei") << QDate(2019, 4, 30) << u"平成"_qs << u"H"_qs << 31;
        QTest::newRow("Reiwa starts") << QDate(2019, 5, 1) << u"令和"_qs << u"R"_qs << 1;
        QTest::newRow("Reiwa 8") << QDate(2026, 12, 7) << u"令和"_qs << u"R"_qs << 8;
        QTest::newRow("Reiwa far ahead") << QDate(2119, 1, 1) << u"令和"_qs << u"R"_qs << 101;
        // Before Meiji the calendar goes on with the earlier eras; their short name is the name.
        QTest::newRow("Keio") << QDate(1867, 6, 1) << u"慶応"_qs << u"慶応"_qs << 3;
    }

    void eraOfDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        QFETCH(QString, letter);
        QFETCH(int, year);
        const JapaneseEra era = japaneseEra(date);
        QCOMPARE(era.name, name);
        QCOMPARE(era.letter, letter);
        QCOMPARE(era.year, year);
    }

    // Dates the calendar cannot place give no era rather than a made-up one.
    void unknownEra_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::newRow("invalid date") << QDate();
        QTest::newRow("beyond the calendar's range") << QDate(9000000, 1, 1);
        QTest::newRow("before the calendar's range") << QDate(-9000000, 1, 1);
        // Before the first era the calendar has, there is no era: never a year 0 or below.
        QTest::newRow("0001-01-01") << QDate(1, 1, 1);
        QTest::newRow("year 644") << QDate(644, 12, 31);
        QTest::newRow("645, before the first era began") << QDate(645, 1, 1);
        QTest::newRow("the day before the first era") << firstJapaneseEraDay().addDays(-1);
        QTest::newRow("before year 1") << QDate(-1, 6, 1);
    }

    void unknownEra()
    {
        QFETCH(QDate, date);
        const JapaneseEra era = japaneseEra(date);
        QVERIFY(era.name.isEmpty());
        QVERIFY(era.letter.isEmpty());
        QCOMPARE(era.year, 0);
    }

    // The first era the calendar has starts in 645 (its first day as ICU's data has it); from
    // that day on every day has an era and a year of at least 1.
    void firstEraDay()
    {
        const QDate first = firstJapaneseEraDay();
        QCOMPARE(first.year(), 645);
        const JapaneseEra era = japaneseEra(first);
        QCOMPARE(era.name, u"大化"_qs);
        QCOMPARE(era.year, 1);
        QVERIFY(japaneseEra(first.addDays(-1)).name.isEmpty());
        for (QDate day = first; day.year() < 1000; day = day.addDays(13)) {
            const JapaneseEra e = japaneseEra(day);
            QVERIFY2(!e.name.isEmpty() && e.year >= 1,
                     qPrintable(day.toString(Qt::ISODate) + QString::number(e.year)));
        }
    }

    // The lookup remembers its last answer: switching back and forth across an era boundary and
    // through an unknown date must still give each date its own era.
    void alternatingDatesKeepTheirEra()
    {
        const QDate showa(1989, 1, 7);
        const QDate heisei(1989, 1, 8);
        for (int round = 0; round < 3; ++round) {
            QCOMPARE(japaneseEra(showa).year, 64);
            QCOMPARE(japaneseEra(heisei).year, 1);
            QVERIFY(japaneseEra(QDate()).name.isEmpty());
            QCOMPARE(japaneseEra(showa).letter, u"S"_qs);
        }
    }

    void sameAnswersFromSeveralThreads()
    {
        const QDate dates[] = {QDate(1989, 1, 7), QDate(1989, 1, 8), QDate(2019, 4, 30),
                               QDate(2019, 5, 1)};
        const int expectedYears[] = {64, 1, 31, 1};
        std::vector<int> failures(4, 0);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                for (int k = 0; k < 2000; ++k) {
                    const int i = (t + k) % 4;
                    if (japaneseEra(dates[i]).year != expectedYears[i])
                        ++failures[std::size_t(t)];
                }
            });
        }
        for (std::thread &th : threads)
            th.join();
        QCOMPARE(failures, std::vector<int>(4, 0));
    }
};

QTEST_APPLESS_MAIN(TestJapaneseEra)
#include "test_japaneseera.moc"
