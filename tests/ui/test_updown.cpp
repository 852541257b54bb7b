#include "ui/main/updown.h"

#include <QSignalSpy>
#include <QTest>

using namespace pellimo;

// The radius spinner's range: shown 20..50, stored as positions -50..-20.
class TestUpDown : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setPositionRefusesInsteadOfClamping_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("events");
        QTest::newRow("inside") << -30 << -36 << true << -36 << 1;
        QTest::newRow("lower end") << -30 << -20 << true << -20 << 1;
        QTest::newRow("upper end") << -30 << -50 << true << -50 << 1;
        QTest::newRow("same position: no event") << -30 << -30 << true << -30 << 0;
        QTest::newRow("one past the upper end") << -30 << -51 << false << -30 << 0;
        QTest::newRow("one past the lower end") << -30 << -19 << false << -30 << 0;
        QTest::newRow("negated -32768") << -30 << 32768 << false << -30 << 0;
    }
    void setPositionRefusesInsteadOfClamping()
    {
        QFETCH(int, start);
        QFETCH(int, target);
        UpDown spinner(-50, -20, start);
        QSignalSpy changes(&spinner, &UpDown::Change);
        int seenInsideEvent = 0;
        connect(&spinner, &UpDown::Change, this, [&] { seenInsideEvent = spinner.position(); });

        QFETCH(bool, accepted);
        QCOMPARE(spinner.setPosition(target), accepted);
        // The event has run before setPosition returned, and saw the new position.
        QFETCH(int, events);
        QCOMPARE(changes.count(), events);
        QFETCH(int, position);
        QCOMPARE(spinner.position(), position);
        if (changes.count() > 0)
            QCOMPARE(seenInsideEvent, target);
    }

    void arrowsMoveByOneWithinTheRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("events");
        QTest::newRow("upper arrow raises the shown number") << -35 << true << 1 << -36 << 1;
        QTest::newRow("lower arrow lowers it") << -35 << false << 1 << -34 << 1;
        QTest::newRow("upper arrow at 50 does nothing") << -50 << true << 1 << -50 << 0;
        QTest::newRow("lower arrow at 20 does nothing") << -20 << false << 1 << -20 << 0;
        QTest::newRow("many clicks stop at the end") << -45 << true << 9 << -50 << 5;
    }
    void arrowsMoveByOneWithinTheRange()
    {
        QFETCH(bool, upper);
        QFETCH(int, clicks);
        QFETCH(int, start);
        UpDown spinner(-50, -20, start);
        spinner.resize(17, 21);
        QSignalSpy changes(&spinner, &UpDown::Change);
        const QPoint at = (upper ? spinner.upArrowRect() : spinner.downArrowRect()).center();
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(&spinner, Qt::LeftButton, {}, at);
        QFETCH(int, position);
        QCOMPARE(spinner.position(), position);
        QFETCH(int, events);
        QCOMPARE(changes.count(), events);

        // The arrow keys do the same as the arrows.
        UpDown keyed(-50, -20, -35);
        QTest::keyClick(&keyed, upper ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(keyed.position(), upper ? -36 : -34);
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
