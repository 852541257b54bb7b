// SPDX-License-Identifier: MIT
#include "render/checkedmath.h"
#include "render/framegeometry.h"

#include <QTest>

using namespace pellimo;

namespace {

// The whole frame, computed in the drawing's two steps.
FrameGeometry frameGeometry(int W, int H, const StampProfile &profile)
{
    FrameGeometry g = frameSquare(W, H, profile.radius);
    addBandLines(g, profile.topAreaPercent, profile.bottomAreaPercent);
    return g;
}

} // namespace

class TestFrameGeometry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void frame_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<QList<int>>("LTRB");
        QTest::addColumn<int>("Y1");
        QTest::addColumn<int>("Y2");

        QTest::newRow("default") << 200 << 200 << 35 << 35 << 35 << QList{65, 65, 135, 135} << 89
                                 << 111;
        QTest::newRow("radius 50, 40 %")
            << 200 << 200 << 50 << 40 << 40 << QList{50, 50, 150, 150} << 90 << 110;
        QTest::newRow("radius 20, 10 %")
            << 200 << 200 << 20 << 10 << 10 << QList{80, 80, 120, 120} << 84 << 116;
        // 70 x 35 = 2450: the offset is 24, truncated, not 25.
        QTest::newRow("percent truncates")
            << 200 << 200 << 35 << 35 << 35 << QList{65, 65, 135, 135} << 89 << 111;
        QTest::newRow("odd width: half a pixel left")
            << 201 << 200 << 35 << 35 << 35 << QList{65, 65, 135, 135} << 89 << 111;
        QTest::newRow("odd height")
            << 200 << 203 << 35 << 35 << 35 << QList{65, 66, 135, 136} << 90 << 112;
        QTest::newRow("crossing band lines")
            << 200 << 200 << 35 << 60 << 60 << QList{65, 65, 135, 135} << 107 << 93;
        // (200 - 300) \ 2 = -50: truncation toward zero on negative values.
        QTest::newRow("circle larger than the area")
            << 200 << 200 << 150 << 35 << 35 << QList{-50, -50, 250, 250} << 55 << 145;
        QTest::newRow("negative spare, odd")
            << 200 << 200 << 101 << 0 << 0 << QList{-1, -1, 201, 201} << -1 << 201;
        QTest::newRow("largest radius") << 200 << 200 << 16383 << 0 << 0
                                        << QList{-16283, -16283, 16483, 16483} << -16283 << 16483;
        QTest::newRow("negative percent")
            << 200 << 200 << 35 << -10 << -10 << QList{65, 65, 135, 135} << 58 << 142;
    }

    void frame()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(int, radius);
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(QList<int>, LTRB);
        QFETCH(int, Y1);
        QFETCH(int, Y2);

        StampProfile profile;
        profile.radius = int16_t(radius);
        profile.topAreaPercent = int16_t(top);
        profile.bottomAreaPercent = int16_t(bottom);
        const FrameGeometry g = frameGeometry(W, H, profile);
        QCOMPARE(g.W, W);
        QCOMPARE(g.H, H);
        QCOMPARE(g.D, 2 * radius);
        QCOMPARE((QList<int>{g.L, g.T, g.R, g.B}), LTRB);
        QCOMPARE(g.Y1, Y1);
        QCOMPARE(g.Y2, Y2);
    }

    void frameOverflow_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<bool>("squareFails"); // before the circle could be stroked

        QTest::newRow("radius 16384: D overflows") << 200 << 16384 << 35 << 35 << true;
        QTest::newRow("radius -16385: D overflows") << 200 << -16385 << 35 << 35 << true;
        QTest::newRow("W - D leaves 16 bits") << 200 << -16384 << 0 << 0 << true;
        QTest::newRow("W beyond 16 bits") << 40000 << 35 << 35 << 35 << true;
        QTest::newRow("radius 410, top 40 %: 32800") << 200 << 410 << 40 << 10 << false;
        QTest::newRow("radius 410, bottom 40 %") << 200 << 410 << 10 << 40 << false;
        QTest::newRow("percent 1000 on a small circle") << 200 << 20 << 1000 << 10 << false;
        QTest::newRow("negative product below -32768") << 200 << 410 << -40 << 10 << false;
    }

    void frameOverflow()
    {
        QFETCH(int, W);
        QFETCH(int, radius);
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(bool, squareFails);

        StampProfile profile;
        profile.radius = int16_t(radius);
        profile.topAreaPercent = int16_t(top);
        profile.bottomAreaPercent = int16_t(bottom);
        QVERIFY_THROWS_EXCEPTION(checked::OverflowError, frameGeometry(W, 200, profile));
        if (squareFails) {
            QVERIFY_THROWS_EXCEPTION(checked::OverflowError, frameSquare(W, 200, profile.radius));
        } else {
            FrameGeometry g = frameSquare(W, 200, profile.radius);
            QCOMPARE(g.D, 2 * radius);
            QVERIFY_THROWS_EXCEPTION(checked::OverflowError,
                                     addBandLines(g, int16_t(top), int16_t(bottom)));
        }
    }

    void crop_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("radius");
        QTest::addColumn<QList<int>>("LTRB");
        QTest::addColumn<QSize>("size");

        QTest::newRow("default") << 200 << 200 << 35 << QList{61, 61, 139, 139} << QSize(78, 78);
        QTest::newRow("radius 50")
            << 200 << 200 << 50 << QList{46, 46, 154, 154} << QSize(108, 108);
        QTest::newRow("radius 20") << 200 << 200 << 20 << QList{76, 76, 124, 124} << QSize(48, 48);
        QTest::newRow("odd width: extra pixel on the right")
            << 201 << 200 << 35 << QList{61, 61, 140, 139} << QSize(79, 78);
        QTest::newRow("odd height: extra pixel at the bottom")
            << 200 << 201 << 35 << QList{61, 61, 139, 140} << QSize(78, 79);
        QTest::newRow("crop beyond the area")
            << 200 << 200 << 100 << QList{-4, -4, 204, 204} << QSize(208, 208);
        QTest::newRow("odd, beyond the area")
            << 200 << 200 << 101 << QList{-5, -5, 205, 205} << QSize(210, 210);
    }

    void crop()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(int, radius);
        QFETCH(QList<int>, LTRB);
        QFETCH(QSize, size);

        const CropRect c = cropRect(W, H, int16_t(radius));
        QCOMPARE((QList<int>{c.left, c.top, c.right, c.bottom}), LTRB);
        QCOMPARE(QSize(c.width(), c.height()), size);
        // The bounding square of the drawing starts exactly the margin inside the crop.
        StampProfile profile;
        profile.radius = int16_t(radius);
        const FrameGeometry g = frameGeometry(W, H, profile);
        QCOMPARE(g.L - c.left, kCropMargin);
        QCOMPARE(g.T - c.top, kCropMargin);
    }

    void cropOverflow()
    {
        QVERIFY_THROWS_EXCEPTION(checked::OverflowError, cropRect(200, 200, 16384));
        // W - D leaves 32 bits.
        QVERIFY_THROWS_EXCEPTION(checked::OverflowError, cropRect(2147483647, 200, -35));
    }
};

QTEST_APPLESS_MAIN(TestFrameGeometry)
#include "test_framegeometry.moc"
