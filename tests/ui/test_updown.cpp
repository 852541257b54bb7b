// SPDX-License-Identifier: MIT
#include "ui/main/updown.h"

#include <QSignalSpy>
#include <QTest>
#include <climits>

using namespace pellimo;

// The radius spinner's range: 20..50.
class TestUpDown : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setValueRefusesInsteadOfClamping_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("events");
        QTest::newRow("inside") << 30 << 36 << true << 36 << 1;
        QTest::newRow("lower end") << 30 << 20 << true << 20 << 1;
        QTest::newRow("upper end") << 30 << 50 << true << 50 << 1;
        QTest::newRow("same value: no event") << 30 << 30 << true << 30 << 0;
        QTest::newRow("one past the upper end") << 30 << 51 << false << 30 << 0;
        QTest::newRow("one past the lower end") << 30 << 19 << false << 30 << 0;
        QTest::newRow("-32768") << 30 << -32768 << false << 30 << 0;
        QTest::newRow("INT_MIN, whose negation does not fit") << 30 << INT_MIN << false << 30 << 0;
    }
    void setValueRefusesInsteadOfClamping()
    {
        QFETCH(int, start);
        QFETCH(int, target);
        UpDown spinner(20, 50, start);
        QSignalSpy changes(&spinner, &UpDown::valueChanged);
        int seenInsideEvent = 0;
        connect(&spinner, &UpDown::valueChanged, this, [&] { seenInsideEvent = spinner.value(); });

        QFETCH(bool, accepted);
        QCOMPARE(spinner.setValue(target), accepted);
        // The signal has run before setValue returned, and saw the new value.
        QFETCH(int, events);
        QCOMPARE(changes.count(), events);
        QFETCH(int, value);
        QCOMPARE(spinner.value(), value);
        if (changes.count() > 0) {
            QCOMPARE(seenInsideEvent, target);
            QCOMPARE(changes.first().first().toInt(), target);
        }
    }

    void setRangeKeepsTheValueInside()
    {
        UpDown spinner(20, 50, 30);
        QVERIFY(!spinner.setRange(35, 50)); // 30 would fall outside
        QCOMPARE(spinner.minimum(), 20);
        QVERIFY(spinner.setRange(10, 40));
        QCOMPARE(spinner.minimum(), 10);
        QCOMPARE(spinner.maximum(), 40);
        QVERIFY(!spinner.setValue(41));
        QVERIFY(spinner.setValue(10));
    }

    void arrowsMoveByOneWithinTheRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("events");
        QTest::newRow("upper arrow raises the shown number") << 35 << true << 1 << 36 << 1;
        QTest::newRow("lower arrow lowers it") << 35 << false << 1 << 34 << 1;
        QTest::newRow("upper arrow at 50 does nothing") << 50 << true << 1 << 50 << 0;
        QTest::newRow("lower arrow at 20 does nothing") << 20 << false << 1 << 20 << 0;
        QTest::newRow("many clicks stop at the end") << 45 << true << 9 << 50 << 5;
    }
    void arrowsMoveByOneWithinTheRange()
    {
        QFETCH(bool, upper);
        QFETCH(int, clicks);
        QFETCH(int, start);
        UpDown spinner(20, 50, start);
        spinner.resize(17, 21);
        QSignalSpy changes(&spinner, &UpDown::valueChanged);
        const QPoint at = (upper ? spinner.upArrowRect() : spinner.downArrowRect()).center();
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(&spinner, Qt::LeftButton, {}, at);
        QFETCH(int, value);
        QCOMPARE(spinner.value(), value);
        QFETCH(int, events);
        QCOMPARE(changes.count(), events);

        // The arrow keys do the same as the arrows.
        UpDown keyed(20, 50, 35);
        QTest::keyClick(&keyed, upper ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(keyed.value(), upper ? 36 : 34);
    }

    void arrowsSplitTheControlInHalves()
    {
        UpDown spinner(-10, 10, 0);
        spinner.resize(17, 21);
        QVERIFY(spinner.upArrowRect().contains(8, 0));
        QVERIFY(spinner.downArrowRect().contains(8, 20));
        QVERIFY(!spinner.upArrowRect().intersects(spinner.downArrowRect()));
        QCOMPARE(spinner.upArrowRect().united(spinner.downArrowRect()), spinner.rect());
    }
};

QTEST_MAIN(TestUpDown)
#include "test_updown.moc"
