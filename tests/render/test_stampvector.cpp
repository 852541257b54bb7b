// SPDX-License-Identifier: MIT
#include "inkmatch.h"
#include "render/checkedmath.h"
#include "render/cutout.h"
#include "render/stampgeometry.h"
#include "render/stampvector.h"
#include "stamppixels.h"

#include <QBuffer>
#include <QImageReader>
#include <QTest>
#include <functional>

using namespace pellimo;
using namespace pellimo::testing;

using ProfileEdit = std::function<void(StampProfile &)>;
Q_DECLARE_METATYPE(ProfileEdit)

namespace {

// The Set command's cut-out of the profile: the bitmap everything else is held against.
QImage clipboardBitmap(const StampProfile &profile)
{
    QImage picTemp;
    cutOutStamp(drawn(profile), profile.radius, picTemp);
    return picTemp;
}

QString firstPoints(const QList<QPoint> &points)
{
    QStringList s;
    for (qsizetype i = 0; i < std::min<qsizetype>(points.size(), 6); ++i)
        s << QStringLiteral("(%1,%2)").arg(points[i].x()).arg(points[i].y());
    return QStringLiteral("%1 pixels, e.g. %2").arg(points.size()).arg(s.join(u' '));
}

void addFrameRows()
{
    QTest::addColumn<ProfileEdit>("edit");
    QTest::newRow("default") << ProfileEdit([](StampProfile &) {});
    QTest::newRow("radius 50, line 3, bands 20/30") << ProfileEdit([](StampProfile &p) {
        p.radius = 50, p.lineWidth = 3, p.topAreaPercent = 20, p.bottomAreaPercent = 30;
    });
    QTest::newRow("radius 20, line 2, bands 10") << ProfileEdit([](StampProfile &p) {
        p.radius = 20, p.lineWidth = 2, p.topAreaPercent = 10, p.bottomAreaPercent = 10;
    });
    QTest::newRow("line 5, crossing bands 60/60") << ProfileEdit(
        [](StampProfile &p) { p.lineWidth = 5, p.topAreaPercent = 60, p.bottomAreaPercent = 60; });
    QTest::newRow("radius 99, line 4")
        << ProfileEdit([](StampProfile &p) { p.radius = 99, p.lineWidth = 4; });
    QTest::newRow("blue, radius 27, line 1")
        << ProfileEdit([](StampProfile &p) { p.radius = 27, p.colour = 0xFF0000; });
}

} // namespace

class TestStampVector : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void frameAgreesWithBitmap_data() { addFrameRows(); }

    // Scaled back down, the circle and band lines of the large picture land on the bitmap's
    // pixels within one pixel, both ways; the picture has the cut-out's size.
    void frameAgreesWithBitmap()
    {
        QFETCH(ProfileEdit, edit);
        StampProfile profile = frameOnly();
        edit(profile);
        const QImage bitmap = clipboardBitmap(profile);
        const StampGeometry g = stampGeometry(profile);
        for (const int scale : {1, 4, 8}) {
            for (const bool transparent : {false, true}) {
                const QImage large = stampImage(g, scale, transparent);
                QCOMPARE(large.size(), bitmap.size() * scale);
                const QImage small = inkAtStampPixels(large, scale);
                const QList<QPoint> lost = unmatchedInk(bitmap, small);
                QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("scale %1: bitmap ink missing "
                                                                   "from the picture: %2")
                                                        .arg(scale)
                                                        .arg(firstPoints(lost))));
                const QList<QPoint> extra = unmatchedInk(small, bitmap);
                QVERIFY2(extra.isEmpty(),
                         qPrintable(QStringLiteral("scale %1: ink the bitmap does not have: %2")
                                        .arg(scale)
                                        .arg(firstPoints(extra))));
            }
        }
    }

    // The transparent picture has no background: every pixel away from the ink is clear.
    void transparentHasNoBackground()
    {
        const StampGeometry g = stampGeometry(defaultStamp());
        const QImage image = stampImage(g, 4, true);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, 4 * g.margin + 3 * 4)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
        // and the ink is the stamp's colour
        QCOMPARE(QColor(image.pixel(image.width() / 2, 4 * g.margin + 1)).toRgb(), QColor(Qt::red));
    }

    void textsLandWhereTheBitmapHasThem_data()
    {
        QTest::addColumn<ProfileEdit>("edit");
        QTest::newRow("default") << ProfileEdit([](StampProfile &) {});
        QTest::newRow("offsets") << ProfileEdit([](StampProfile &p) {
            p.items[0].offsetX = 6, p.items[1].offsetY = -3, p.items[2].offsetX = -5;
            p.items[3].offsetY = 4;
        });
        QTest::newRow("bold 12 pt date, radius 45") << ProfileEdit([](StampProfile &p) {
            p.radius = 45, p.items[1].fontSize = 12, p.items[1].bold = true;
        });
        QTest::newRow("gothic name row") << ProfileEdit([](StampProfile &p) {
            p.items[2].fontName = p.items[3].fontName = QStringLiteral(u"ＭＳ ゴシック");
            p.items[2].text = QStringLiteral(u"山田"), p.items[3].text = QStringLiteral(u"太郎");
        });
    }

    // Glyph outlines are smoothed in the large picture, so each text's ink is compared by its
    // bounds: the same box within two pixels.
    void textsLandWhereTheBitmapHasThem()
    {
        QFETCH(ProfileEdit, edit);
        StampProfile profile = defaultStamp();
        edit(profile);
        const QImage frame = clipboardBitmap(frameOnly(profile));
        const QImage bitmap = clipboardBitmap(profile);
        const QImage small = inkAtStampPixels(stampImage(stampGeometry(profile), 8, false), 8);
        // Ink that is not the frame's.
        auto textBounds = [&frame](const QImage &img) {
            QRect r;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (img.pixel(x, y) != 0xFFFFFFFF && frame.pixel(x, y) == 0xFFFFFFFF)
                        r |= QRect(x, y, 1, 1);
            return r;
        };
        const QRect want = textBounds(bitmap);
        const QRect got = textBounds(small);
        QVERIFY(!want.isEmpty());
        QVERIFY2(std::abs(want.left() - got.left()) <= 2 && std::abs(want.top() - got.top()) <= 2 &&
                     std::abs(want.right() - got.right()) <= 2 &&
                     std::abs(want.bottom() - got.bottom()) <= 2,
                 qPrintable(QStringLiteral("bitmap (%1,%2)-(%3,%4), picture (%5,%6)-(%7,%8)")
                                .arg(want.left())
                                .arg(want.top())
                                .arg(want.right())
                                .arg(want.bottom())
                                .arg(got.left())
                                .arg(got.top())
                                .arg(got.right())
                                .arg(got.bottom())));
    }

    void refusedDesigns_data()
    {
        QTest::addColumn<ProfileEdit>("edit");
        QTest::newRow("line width 0") << ProfileEdit([](StampProfile &p) { p.lineWidth = 0; });
        QTest::newRow("radius 0") << ProfileEdit([](StampProfile &p) { p.radius = 0; });
        QTest::newRow("negative radius") << ProfileEdit([](StampProfile &p) { p.radius = -5; });
        QTest::newRow("font size 0")
            << ProfileEdit([](StampProfile &p) { p.items[3].fontSize = 0; });
        QTest::newRow("font size 1001")
            << ProfileEdit([](StampProfile &p) { p.items[0].fontSize = 1001; });
        QTest::newRow("diameter overflows 16 bits")
            << ProfileEdit([](StampProfile &p) { p.radius = 20000; });
        QTest::newRow("band product overflows")
            << ProfileEdit([](StampProfile &p) { p.radius = 10000, p.topAreaPercent = 200; });
        QTest::newRow("radius 101: the circle leaves PicBase")
            << ProfileEdit([](StampProfile &p) { p.radius = 101; });
        QTest::newRow("radius 300") << ProfileEdit([](StampProfile &p) { p.radius = 300; });
    }

    // What drawStamp refuses to draw cannot reach a file either.
    void refusedDesigns()
    {
        QFETCH(ProfileEdit, edit);
        StampProfile profile = defaultStamp();
        edit(profile);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, stampGeometry(profile));
    }

    // Texts stay text in a PDF and an SVG, and neither has a background.
    void vectorKeepsTextAndNoBackground()
    {
        const StampGeometry g = stampGeometry(defaultStamp());
        const QByteArray svg = stampSvg(g, 18.5);
        QVERIFY(svg.contains("08.12.07"));
        QVERIFY(svg.contains(QStringLiteral(u"組織名").toUtf8()));
        QVERIFY(svg.contains("width=\"20.614mm\""));
        QVERIFY(!svg.contains("fill=\"#ffffff\""));
        const QByteArray pdf = stampPdf(g, 18.5);
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.contains("/FontFile2")); // the glyphs are an embedded font, not shapes
    }

    void naturalSize()
    {
        StampProfile profile = defaultStamp();
        QCOMPARE(qRound(naturalDiameterMm(stampGeometry(profile)) * 100), 1852);
        profile.radius = 48; // 96 pixels: one inch
        QCOMPARE(naturalDiameterMm(stampGeometry(profile)), 25.4);
    }
};

QTEST_MAIN(TestStampVector)
#include "test_stampvector.moc"
