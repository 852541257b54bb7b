// SPDX-License-Identifier: MIT
#include "render/checkedmath.h"
#include "render/cutout.h"
#include "render/stampsurface.h"
#include "stamppixels.h"

#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// Every pixel of the cut-out against PicBase: equal inside PicBase, white outside it.
bool matchesPicBase(const QImage &cut, const QImage &picBase, QPoint origin)
{
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            const QRgb expected = picBase.rect().contains(at) ? picBase.pixel(at) : kWhite;
            if (cut.pixel(x, y) != expected)
                return false;
        }
    return true;
}

} // namespace

class TestCutOut : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutOut_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<QPoint>("origin"); // cropLeft, cropTop
        QTest::addColumn<QSize>("size");

        QTest::newRow("default") << 200 << 35 << 1 << QPoint(61, 61) << QSize(78, 78);
        QTest::newRow("line width 5: same size")
            << 200 << 35 << 5 << QPoint(61, 61) << QSize(78, 78);
        QTest::newRow("radius 50") << 200 << 50 << 1 << QPoint(46, 46) << QSize(108, 108);
        QTest::newRow("radius 20") << 200 << 20 << 1 << QPoint(76, 76) << QSize(48, 48);
        QTest::newRow("width 201: extra pixel on the right")
            << 201 << 35 << 1 << QPoint(61, 61) << QSize(79, 78);
    }

    // The cut-out's size, its 4-pixel white margin, and its pixels taken over unchanged.
    void cutOut()
    {
        QFETCH(int, width);
        QFETCH(int, radius);
        QFETCH(int, lineWidth);
        QFETCH(QPoint, origin);
        QFETCH(QSize, size);

        StampProfile profile = defaultStamp();
        profile.radius = int16_t(radius);
        profile.lineWidth = int16_t(lineWidth);
        const QImage picBase = drawn(profile, width);
        QImage picTemp = makeSurface(10, 10);
        cutOutStamp(picBase, profile.radius, picTemp);

        QCOMPARE(picTemp.size(), size);
        QCOMPARE(picTemp.format(), QImage::Format_RGB32);
        QVERIFY(matchesPicBase(picTemp, picBase, origin));
        const QRect ink = inkBounds(picTemp);
        if (lineWidth == 1) {
            // The circle's bounding square begins 4 pixels in, and ends 4 (or 5) before the edge.
            QCOMPARE(ink.topLeft(), QPoint(4, 4));
            QCOMPARE(size.width() - 1 - ink.right(), 4 + (width - 2 * radius) % 2);
            QCOMPARE(size.height() - 1 - ink.bottom(), 4);
        } else {
            QVERIFY(ink.left() >= 1 && ink.top() >= 1);
            QVERIFY(ink.right() < size.width() - 1 && ink.bottom() < size.height() - 1);
        }
    }

    // A crop reaching outside PicBase gets white there, whatever surrounds PicBase in memory.
    void outsidePicBaseIsWhite()
    {
        QImage picBase = makeSurface(200, 200);
        picBase.fill(Qt::black);
        QImage picTemp;
        cutOutStamp(picBase, 101, picTemp); // crop (-5, -5) to (205, 205)
        QCOMPARE(picTemp.size(), QSize(210, 210));
        QVERIFY(matchesPicBase(picTemp, picBase, QPoint(-5, -5)));
        QCOMPARE(picTemp.pixel(4, 100), kWhite);
        QCOMPARE(picTemp.pixel(5, 100), 0xFF000000);
        QCOMPARE(picTemp.pixel(205, 205), kWhite);
    }

    void cutOutRefused_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<bool>("overflow");
        QTest::newRow("radius 16384 overflows") << 16384 << true;
        QTest::newRow("negative radius: empty crop") << -20 << false;
        QTest::newRow("beyond the largest cut-out") << 2100 << false;
    }

    void cutOutRefused()
    {
        QFETCH(int, radius);
        QFETCH(bool, overflow);
        const QImage picBase = drawn(defaultStamp());
        QImage picTemp = makeSurface(7, 7);
        if (overflow)
            QVERIFY_THROWS_EXCEPTION(checked::OverflowError,
                                     cutOutStamp(picBase, int16_t(radius), picTemp));
        else
            QVERIFY_THROWS_EXCEPTION(CutOutError, cutOutStamp(picBase, int16_t(radius), picTemp));
        QCOMPARE(picTemp.size(), QSize(7, 7)); // untouched
    }
};

QTEST_MAIN(TestCutOut)
#include "test_cutout.moc"
