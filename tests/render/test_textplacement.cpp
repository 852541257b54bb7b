// SPDX-License-Identifier: MIT
#include "render/checkedmath.h"
#include "render/textplacement.h"

#include <QTest>
#include <limits>

using namespace pellimo;

namespace {
// The default frame on 200 x 200.
constexpr int W = 200, T = 65, Y1 = 89, Y2 = 111, B = 135;
} // namespace

class TestTextPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nearest_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("2.5 to even 2") << 2.5 << 2;
        QTest::newRow("3.5 to even 4") << 3.5 << 4;
        QTest::newRow("-2.5 to even -2") << -2.5 << -2;
        QTest::newRow("-3.5 to even -4") << -3.5 << -4;
        QTest::newRow("just below half") << 12.4999 << 12;
        QTest::newRow("just above half") << 12.5001 << 13;
        QTest::newRow("line height of a 12-pixel face") << 13.234375 << 13;
        QTest::newRow("largest int32") << 2147483647.0 << 2147483647;
        QTest::newRow("smallest int32") << -2147483648.0 << int(-2147483647 - 1);
    }

    void nearest()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(nearestEven(value), expected);
    }

    void nearestFails_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("beyond int32") << 2147483648.0;
        QTest::newRow("below int32") << -2147483649.0;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    }

    void nearestFails()
    {
        QFETCH(double, value);
        QVERIFY_THROWS_EXCEPTION(checked::OverflowError, nearestEven(value));
    }

    void centredLine_data()
    {
        QTest::addColumn<int>("bandTop");
        QTest::addColumn<int>("bandBottom");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("offsetX");
        QTest::addColumn<int>("offsetY");
        QTest::addColumn<QPoint>("expected");

        QTest::newRow("organisation 36 x 12")
            << T << Y1 << 36.0 << 12.0 << 0 << 0 << QPoint(82, 71);
        QTest::newRow("date 60 x 12") << Y1 << Y2 << 60.0 << 12.0 << 0 << 0 << QPoint(70, 94);
        QTest::newRow("203 wide starts at -1, not -2")
            << T << Y1 << 203.0 << 12.0 << 0 << 0 << QPoint(-1, 71);
        QTest::newRow("offsets +10") << T << Y1 << 36.0 << 12.0 << 10 << 10 << QPoint(92, 81);
        QTest::newRow("offsets -10") << T << Y1 << 36.0 << 12.0 << -10 << -10 << QPoint(72, 61);
        // 36.5 rounds to 36 and 12.5 to 12 (ties to even); 37.5 rounds to 38.
        QTest::newRow("width tie to even, down")
            << T << Y1 << 36.5 << 12.5 << 0 << 0 << QPoint(82, 71);
        QTest::newRow("width tie to even, up")
            << T << Y1 << 37.5 << 13.5 << 0 << 0 << QPoint(81, 70);
        QTest::newRow("taller than the band: above it")
            << Y1 << Y2 << 60.0 << 30.0 << 0 << 0 << QPoint(70, 85);
        // (22 - 25) \ 2 = -1, truncated toward zero.
        QTest::newRow("negative spare height truncates")
            << Y1 << Y2 << 60.0 << 25.0 << 0 << 0 << QPoint(70, 88);
        QTest::newRow("empty text") << Y1 << Y2 << 0.0 << 13.0 << 0 << 0 << QPoint(100, 93);
        QTest::newRow("crossing lines: negative band")
            << 107 << 93 << 60.0 << 12.0 << 0 << 0 << QPoint(70, 94);
    }

    void centredLine()
    {
        QFETCH(int, bandTop);
        QFETCH(int, bandBottom);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, offsetX);
        QFETCH(int, offsetY);
        QFETCH(QPoint, expected);
        QCOMPARE(placeCentredLine(W, bandTop, bandBottom, {width, height}, int16_t(offsetX),
                                  int16_t(offsetY)),
                 expected);
    }

    void nameRow_data()
    {
        QTest::addColumn<QList<double>>("name1"); // width, height
        QTest::addColumn<QList<double>>("name2");
        QTest::addColumn<QList<int>>("offsets"); // x1, y1, x2, y2
        QTest::addColumn<QPoint>("expected1");
        QTest::addColumn<QPoint>("expected2");

        QTest::newRow("24 x 12 and 12 x 12")
            << QList{24.0, 12.0} << QList{12.0, 12.0} << QList{0, 0, 0, 0} << QPoint(82, 117)
            << QPoint(106, 117);
        QTest::newRow("offsetX 3 moves both, -2 name 2 alone")
            << QList{24.0, 12.0} << QList{12.0, 12.0} << QList{3, 0, -2, 0} << QPoint(85, 117)
            << QPoint(107, 117);
        QTest::newRow("heights 12 and 16, each centred")
            << QList{24.0, 12.0} << QList{12.0, 16.0} << QList{0, 0, 0, 0} << QPoint(82, 117)
            << QPoint(106, 115);
        QTest::newRow("own offsetY each")
            << QList{24.0, 12.0} << QList{12.0, 12.0} << QList{0, -10, 0, 10} << QPoint(82, 107)
            << QPoint(106, 127);
        QTest::newRow("empty name 1: name 2 centred alone")
            << QList{0.0, 13.0} << QList{12.0, 12.0} << QList{0, 0, 0, 0} << QPoint(94, 116)
            << QPoint(94, 117);
        QTest::newRow("empty name 2: name 1 centred alone")
            << QList{24.0, 12.0} << QList{0.0, 12.0} << QList{0, 0, 0, 0} << QPoint(88, 117)
            << QPoint(112, 117);
        // rowWidth = nearest(24.5 + nearest(12.6)) = nearest(37.5) = 38; rounding name 1 alone
        // (24 + 13) or the raw sum (37.1) would both give 37 and start the row at 82.
        QTest::newRow("only the sum is rounded")
            << QList{24.5, 12.0} << QList{12.6, 12.0} << QList{0, 0, 0, 0} << QPoint(81, 117)
            << QPoint(106, 117);
        // xName2 = nearest(85 + 32 - 11.5) = nearest(105.5) = 106; subtracting the rounded width
        // (12) would give 105.
        QTest::newRow("name 2 from the unrounded width")
            << QList{20.0, 12.0} << QList{11.5, 12.0} << QList{1, 0, 0, 0} << QPoint(85, 117)
            << QPoint(106, 117);
    }

    void nameRow()
    {
        QFETCH(QList<double>, name1);
        QFETCH(QList<double>, name2);
        QFETCH(QList<int>, offsets);
        QFETCH(QPoint, expected1);
        QFETCH(QPoint, expected2);
        const Name1Placement first = placeName1(W, Y2, B, {name1[0], name1[1]}, name2[0],
                                                int16_t(offsets[0]), int16_t(offsets[1]));
        QCOMPARE(first.position, expected1);
        QCOMPARE(placeName2(Y2, B, first, {name2[0], name2[1]}, int16_t(offsets[2]),
                            int16_t(offsets[3])),
                 expected2);
    }

    void placementOverflow_data()
    {
        QTest::addColumn<int>("bandTop");
        QTest::addColumn<int>("bandBottom");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("offsetY");

        QTest::newRow("W - width leaves 32 bits") << T << Y1 << -2147483647.0 << 0;
        QTest::newRow("band height leaves 32 bits") << -2147483647 << 1000 << 10.0 << 0;
        QTest::newRow("top + offset leaves 32 bits") << 2147483600 << 2147483640 << 10.0 << 100;
        QTest::newRow("width is not finite")
            << T << Y1 << std::numeric_limits<double>::infinity() << 0;
    }

    void placementOverflow()
    {
        QFETCH(int, bandTop);
        QFETCH(int, bandBottom);
        QFETCH(double, width);
        QFETCH(int, offsetY);
        QVERIFY_THROWS_EXCEPTION(
            checked::OverflowError,
            placeCentredLine(W, bandTop, bandBottom, {width, 12.0}, 0, int16_t(offsetY)));
        const auto placeRow = [&] {
            const Name1Placement first =
                placeName1(W, bandTop, bandBottom, {width, 12.0}, 0.0, 0, int16_t(offsetY));
            (void)placeName2(bandTop, bandBottom, first, {0.0, 12.0}, 0, int16_t(offsetY));
        };
        QVERIFY_THROWS_EXCEPTION(checked::OverflowError, placeRow());
    }
};

QTEST_APPLESS_MAIN(TestTextPlacement)
#include "test_textplacement.moc"
