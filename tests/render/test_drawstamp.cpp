// SPDX-License-Identifier: MIT
#include "drawingfailures.h"
#include "render/circleregion.h"
#include "render/drawstamp.h"
#include "render/framegeometry.h"
#include "render/stampsurface.h"
#include "stamppixels.h"
#include "warningrecorder.h"

#include <QTest>
#include <cmath>
#include <functional>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// The whole frame, computed in the drawing's two steps.
FrameGeometry frameGeometry(int W, int H, const StampProfile &profile)
{
    FrameGeometry g = frameSquare(W, H, profile.radius);
    addBandLines(g, profile.topAreaPercent, profile.bottomAreaPercent);
    return g;
}

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kWhite = 0xFFFFFFFF;

} // namespace

class TestDrawStamp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void frame_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<int>("topPercent");
        QTest::addColumn<int>("bottomPercent");

        QTest::newRow("default") << 200 << 35 << 1 << 35 << 35;
        QTest::newRow("radius 50, 40 %") << 200 << 50 << 1 << 40 << 40;
        QTest::newRow("radius 20, 10 %") << 200 << 20 << 1 << 10 << 10;
        QTest::newRow("odd width 201") << 201 << 35 << 1 << 35 << 35;
        QTest::newRow("line width 5") << 200 << 35 << 5 << 35 << 35;
        QTest::newRow("line width 3, radius 50") << 200 << 50 << 3 << 20 << 30;
        QTest::newRow("crossing lines 60/60") << 200 << 35 << 1 << 60 << 60;
    }

    // The bounding square, the band lines only inside the circle, nothing else outside it, one
    // colour on white.
    void frame()
    {
        QFETCH(int, width);
        QFETCH(int, radius);
        QFETCH(int, lineWidth);
        QFETCH(int, topPercent);
        QFETCH(int, bottomPercent);

        StampProfile profile = frameOnly();
        profile.radius = int16_t(radius);
        profile.lineWidth = int16_t(lineWidth);
        profile.topAreaPercent = int16_t(topPercent);
        profile.bottomAreaPercent = int16_t(bottomPercent);
        WarningRecorder warnings;
        const QImage image = drawn(profile, width);
        QVERIFY(warnings.texts().isEmpty());
        const FrameGeometry g = frameGeometry(width, 200, profile);

        // The circle inscribed in the square from (L, T) to (R, B), right and bottom exclusive.
        const QRect square(g.L, g.T, g.R - g.L, g.B - g.T);
        const QRect ink = inkBounds(image);
        const int half = lineWidth / 2;
        if (lineWidth == 1)
            QCOMPARE(ink, square);
        else {
            QVERIFY(ink.contains(square));
            QVERIFY(square.adjusted(-half, -half, half, half).contains(ink));
        }
        QCOMPARE(strayPixels(image, kRed), 0);

        const double cx = g.L + g.D / 2.0;
        const double cy = g.T + g.D / 2.0;
        QVERIFY(farthestInk(image, cx, cy) <= radius + lineWidth / 2.0 + 1);

        // Across the centre row the outline is lineWidth pixels thick on both sides.
        const int row = int(cy);
        int run = 0;
        for (int x = ink.left(); image.pixel(x, row) == kRed; ++x)
            ++run;
        QCOMPARE(run, lineWidth);
        run = 0;
        for (int x = ink.right(); image.pixel(x, row) == kRed; --x)
            ++run;
        QCOMPARE(run, lineWidth);

        for (int y : {g.Y1, g.Y2}) {
            // The chord is whole from outline to outline...
            const double halfChord = std::sqrt(radius * radius - (y + 0.5 - cy) * (y + 0.5 - cy));
            for (int x = int(cx - halfChord) + lineWidth; x < int(cx + halfChord) - lineWidth; ++x)
                QCOMPARE(image.pixel(x, y), kRed);
            // ...and the line does not run on outside the circle.
            for (int x = 0; x < g.L - half; ++x)
                QCOMPARE(image.pixel(x, y), kWhite);
            for (int x = g.R + half + 1; x < width; ++x)
                QCOMPARE(image.pixel(x, y), kWhite);
        }
        // The bands are not filled.
        QCOMPARE(image.pixel(int(cx), (g.T + std::min(g.Y1, g.Y2)) / 2), kWhite);
        QCOMPARE(image.pixel(int(cx), (std::max(g.Y1, g.Y2) + g.B) / 2), kWhite);
    }

    void disk_data()
    {
        QTest::addColumn<QRect>("square");
        QTest::addColumn<int>("change");
        QTest::addColumn<QRect>("bounds");
        QTest::newRow("default circle") << QRect(65, 65, 70, 70) << 0 << QRect(65, 65, 70, 70);
        QTest::newRow("odd diameter") << QRect(10, 20, 41, 41) << 0 << QRect(10, 20, 41, 41);
        QTest::newRow("widened by 2") << QRect(65, 65, 70, 70) << 2 << QRect(63, 63, 74, 74);
        QTest::newRow("narrowed by 3") << QRect(65, 65, 70, 70) << -3 << QRect(68, 68, 64, 64);
        QTest::newRow("cut to the area") << QRect(-50, -50, 300, 300) << 0 << QRect(0, 0, 200, 200);
        QTest::newRow("huge circle, only the area")
            << QRect(-16283, -16283, 32766, 32766) << 0 << QRect(0, 0, 200, 200);
        QTest::newRow("narrowed away") << QRect(65, 65, 4, 4) << -2 << QRect();
    }

    // The disk is symmetric about the square's centre, fills the square's edges, and stays in
    // the area.
    void disk()
    {
        QFETCH(QRect, square);
        QFETCH(int, change);
        QFETCH(QRect, bounds);
        const QRect area(0, 0, 200, 200);
        const QRegion region = diskRegion(square, change, area);
        QCOMPARE(region.boundingRect(), bounds);
        QVERIFY(region.rectCount() <= area.height());
        const int sumX = 2 * square.x() + square.width() - 1;
        const int sumY = 2 * square.y() + square.height() - 1;
        for (const QRect &r : region) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                if (!area.contains(sumX - r.left(), sumY - y))
                    continue;
                QVERIFY(region.contains(QPoint(sumX - r.left(), sumY - y)));
                QVERIFY(region.contains(QPoint(sumX - r.right(), y)));
            }
        }
    }

    // A wide outline is drawn before the clip and keeps its outer half all round.
    void outlineIsNotCutByTheClip()
    {
        StampProfile profile = frameOnly();
        profile.lineWidth = 5;
        const QImage image = drawn(profile);
        int inked = 0;
        for (int degrees = 0; degrees < 360; degrees += 5) {
            const double a = qDegreesToRadians(double(degrees));
            const int x = int(std::floor(100 + 36.5 * std::cos(a)));
            const int y = int(std::floor(100 + 36.5 * std::sin(a)));
            inked += image.pixel(x, y) == kRed;
        }
        QCOMPARE(inked, 72);
    }

    void colourOrder_data()
    {
        QTest::addColumn<int>("colour");
        QTest::addColumn<QRgb>("pixel");
        QTest::newRow("255 is red") << 255 << QRgb(0xFFFF0000);
        QTest::newRow("16711680 is blue") << 16711680 << QRgb(0xFF0000FF);
        QTest::newRow("65280 is green") << 65280 << QRgb(0xFF00FF00);
        QTest::newRow("BB GG RR") << 0x00336699 << QRgb(0xFF996633);
        QTest::newRow("top byte ignored") << int(0x7F0000FF) << QRgb(0xFFFF0000);
        QTest::newRow("black") << 0 << QRgb(0xFF000000);
    }

    void colourOrder()
    {
        QFETCH(int, colour);
        QFETCH(QRgb, pixel);
        StampProfile profile = defaultStamp();
        profile.colour = colour;
        const QImage image = drawn(profile);
        QCOMPARE(image.pixel(100, 89), pixel); // upper band line
        QCOMPARE(image.pixel(65, 100), pixel); // outline
        QCOMPARE(strayPixels(image, pixel), 0);
    }

    // Each drawing starts from a cleared surface.
    void clearsWhatWasThere()
    {
        QImage image = makeSurface(200, 200);
        image.fill(Qt::black);
        drawStamp(image, frameOnly());
        QCOMPARE(image.pixel(0, 0), kWhite);
        QCOMPARE(image.pixel(100, 100), kWhite);
        QCOMPARE(inkBounds(image), QRect(65, 65, 70, 70));
    }

    // The frame of the default profile, pixel for pixel.
    void defaultFrameMatchesGolden()
    {
        const QImage golden(QStringLiteral(PELLIMO_TEST_DATA "/stamp-frame-default.png"));
        QVERIFY(!golden.isNull());
        const QImage image = drawn(frameOnly());
        const QImage diff = differenceImage(image, golden.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(inkBounds(diff), QRect());
    }

    // The default stamp with its texts, pixel for pixel as the program has always drawn it (the
    // IPA Mincho face of Debian 12).
    void defaultStampMatchesGolden()
    {
        const QImage golden(QStringLiteral(PELLIMO_TEST_DATA "/stamp-default.png"));
        QVERIFY(!golden.isNull());
        const QImage diff = differenceImage(drawn(defaultStamp()),
                                            golden.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(inkBounds(diff), QRect());
    }

    void texts_data()
    {
        QTest::addColumn<ProfileEdit>("edit");
        QTest::addColumn<QRect>("lineBox"); // where the text must lie: x, y, measured w x h
        QTest::addColumn<int>("minInkWidth");

        // IPAMincho at 12 pixels: 12 pixels a kanji, 6 a digit, line height 13.23 -> 13.
        QTest::newRow("organisation")
            << ProfileEdit([](StampProfile &p) { p.items[0].text = QStringLiteral(u"組織名"); })
            << QRect(82, 70, 36, 13) << 30;
        QTest::newRow("date") << ProfileEdit([](StampProfile &p) {
            p.items[1].text = QStringLiteral("08.12.07");
        }) << QRect(76, 93, 48, 13)
                              << 40;
        QTest::newRow("organisation moved 7 right, 3 up") << ProfileEdit([](StampProfile &p) {
            p.items[0].text = QStringLiteral(u"組織名");
            p.items[0].offsetX = 7;
            p.items[0].offsetY = -3;
        }) << QRect(89, 67, 36, 13) << 30;
        QTest::newRow("date moved 10 left, 10 down") << ProfileEdit([](StampProfile &p) {
            p.items[1].text = QStringLiteral("08.12.07");
            p.items[1].offsetX = -10;
            p.items[1].offsetY = 10;
        }) << QRect(66, 103, 48, 13) << 40;
        QTest::newRow("name row") << ProfileEdit([](StampProfile &p) {
            p.items[2].text = QStringLiteral(u"名字");
            p.items[3].text = QStringLiteral(u"名");
        }) << QRect(82, 116, 36, 13)
                                  << 30;
        QTest::newRow("name 2 alone is centred")
            << ProfileEdit([](StampProfile &p) { p.items[3].text = QStringLiteral(u"名"); })
            << QRect(94, 116, 12, 13) << 8;
        QTest::newRow("name 1 offset moves name 2 too") << ProfileEdit([](StampProfile &p) {
            p.items[2].text = QStringLiteral(u"名字");
            p.items[3].text = QStringLiteral(u"名");
            p.items[2].offsetX = 5;
        }) << QRect(87, 116, 36, 13) << 30;
        // A trailing blank counts in the width but leaves no mark: name 1 starts 3 further left
        // and name 2 3 further right.
        QTest::newRow("trailing blank in name 1") << ProfileEdit([](StampProfile &p) {
            p.items[2].text = QStringLiteral(u"名字 ");
            p.items[3].text = QStringLiteral(u"名");
        }) << QRect(79, 116, 42, 13) << 36;
        QTest::newRow("10 points in a 12-point band") << ProfileEdit([](StampProfile &p) {
            p.items[1].text = QStringLiteral(u"受付");
            p.items[1].fontSize = 10; // 13 pixels
        }) << QRect(87, 93, 26, 14) << 20;
    }

    // Text pixels appear inside their band where they are placed.
    void texts()
    {
        QFETCH(ProfileEdit, edit);
        QFETCH(QRect, lineBox);
        QFETCH(int, minInkWidth);

        StampProfile profile = frameOnly();
        edit(profile);
        WarningRecorder warnings;
        const QImage image = drawn(profile);
        QVERIFY(warnings.texts().isEmpty());
        QCOMPARE(strayPixels(image, kRed), 0);
        const QRect ink = inkBounds(differenceImage(image, drawn(frameOnly())));
        QVERIFY2(lineBox.contains(ink), qPrintable(QStringLiteral("ink at %1,%2 %3x%4")
                                                       .arg(ink.x())
                                                       .arg(ink.y())
                                                       .arg(ink.width())
                                                       .arg(ink.height())));
        QVERIFY(ink.width() >= minInkWidth);
        QVERIFY(ink.height() >= 8);
    }

    // Nothing of a text outside the circle is visible, and a tall text is not cut at the lines.
    void textsAreClippedToTheCircleOnly()
    {
        StampProfile profile = frameOnly();
        profile.items[1].text = QStringLiteral(u"日本語の長い組織名が円からはみ出す"); // 17 x 12
        profile.items[0].text = QStringLiteral(u"大");
        profile.items[0].fontSize = 24; // 32 pixels in a 24-pixel band
        const QImage image = drawn(profile);
        const QImage text = differenceImage(image, drawn(frameOnly()));
        QVERIFY(farthestInk(text, 100, 100) <= 35.5);
        QVERIFY(farthestInk(text, 100, 100) >= 33.0); // cut by the circle, not before it
        QVERIFY(inkBounds(text).top() < 65 + 4);      // the big glyph reaches into the top...
        QVERIFY(inkBounds(text).bottom() > 89);       // ...and over the upper band line
        // Text has no background: the band line under the big glyph is still whole.
        for (int x = 70; x < 130; ++x)
            QCOMPARE(image.pixel(x, 89), kRed);
    }

    void failures_data() { addDrawingFailureRows(); }
    // A failure keeps what was drawn before it and shows nothing itself: the caller words the
    // warning (tests/session).
    void failures()
    {
        QFETCH(ProfileEdit, edit);
        QFETCH(ProfileEdit, expectedPicture);

        StampProfile profile = defaultStamp();
        edit(profile);
        QImage expected = makeSurface(200, 200);
        if (expectedPicture) {
            StampProfile expectedProfile = defaultStamp();
            expectedPicture(expectedProfile);
            expected = drawn(expectedProfile);
        }

        WarningRecorder warnings;
        QImage image = makeSurface(200, 200);
        image.fill(Qt::black);
        QVERIFY(!drawStamp(image, profile));
        QVERIFY(warnings.texts().isEmpty());
        QCOMPARE(inkBounds(differenceImage(image, expected)), QRect());
    }

    // Only a circle that has an inside and lies wholly in the drawing area is a stamp; one that
    // does not is drawn as far as it goes, and the drawing fails.
    void circleMustFitTheArea_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("radius");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("default") << 200 << 35 << true;
        QTest::newRow("radius 1") << 200 << 1 << true;
        QTest::newRow("radius 100 touches every edge") << 200 << 100 << true;
        QTest::newRow("radius 101 leaves the area") << 200 << 101 << false;
        QTest::newRow("radius 100 on a narrower area") << 199 << 100 << false;
        QTest::newRow("radius 0") << 200 << 0 << false;
        QTest::newRow("radius -35") << 200 << -35 << false;
    }
    void circleMustFitTheArea()
    {
        QFETCH(int, width);
        QFETCH(int, radius);
        QFETCH(bool, drawn);
        StampProfile profile = defaultStamp();
        profile.radius = int16_t(radius);
        QImage image = makeSurface(width, 200);
        WarningRecorder warnings;
        QCOMPARE(drawStamp(image, profile), drawn);
        QVERIFY(warnings.texts().isEmpty());
        if (radius == 101) // what fits of the circle is still drawn
            QVERIFY(inkBounds(differenceImage(image, makeSurface(width, 200))).isValid());
    }

    void nullSurfaceIsAFailureNotACrash()
    {
        WarningRecorder warnings;
        QImage none;
        QVERIFY(!drawStamp(none, defaultStamp()));
        QVERIFY(warnings.texts().isEmpty());
    }
};

QTEST_MAIN(TestDrawStamp)
#include "test_drawstamp.moc"
