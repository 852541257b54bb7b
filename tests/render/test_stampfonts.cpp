// SPDX-License-Identifier: MIT
#include "render/stampfonts.h"
#include "render/stampsurface.h"
#include "stamppixels.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// The text drawn in the font with its line box at (10, 10) on a fresh 120 x 60 surface.
QImage render(const QFont &font, const QString &text)
{
    QImage image = makeSurface(120, 60);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &image);
    painter.drawText(QPointF(10, 10 + metrics.ascent()), text);
    return image;
}

int inkCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != 0xFFFFFFFF;
    return count;
}

} // namespace

class TestStampFonts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void faceResolution_data()
    {
        QTest::addColumn<QString>("fontName");
        QTest::addColumn<QString>("family"); // the family really used

        QTest::newRow("ＭＳ 明朝") << QStringLiteral(u"ＭＳ 明朝") << QStringLiteral("IPAMincho");
        QTest::newRow("ＭＳ Ｐ明朝")
            << QStringLiteral(u"ＭＳ Ｐ明朝") << QStringLiteral("IPAPMincho");
        QTest::newRow("ＭＳ ゴシック")
            << QStringLiteral(u"ＭＳ ゴシック") << QStringLiteral("IPAGothic");
        QTest::newRow("ＭＳ Ｐゴシック")
            << QStringLiteral(u"ＭＳ Ｐゴシック") << QStringLiteral("IPAPGothic");
        QTest::newRow("MS Mincho") << QStringLiteral("MS Mincho") << QStringLiteral("IPAMincho");
        QTest::newRow("MS PMincho") << QStringLiteral("MS PMincho") << QStringLiteral("IPAPMincho");
        QTest::newRow("MS Gothic") << QStringLiteral("MS Gothic") << QStringLiteral("IPAGothic");
        QTest::newRow("MS PGothic") << QStringLiteral("MS PGothic") << QStringLiteral("IPAPGothic");
        QTest::newRow("installed face kept")
            << QStringLiteral("DejaVu Sans") << QStringLiteral("DejaVu Sans");
        QTest::newRow("unknown face: Mincho")
            << QStringLiteral("No Such Face") << QStringLiteral("IPAMincho");
        QTest::newRow("face missing here: Mincho")
            << QStringLiteral(u"ＨＧ正楷書体-PRO") << QStringLiteral("IPAMincho");
        QTest::newRow("empty name: Mincho") << QString() << QStringLiteral("IPAMincho");
    }

    void faceResolution()
    {
        QFETCH(QString, fontName);
        QFETCH(QString, family);
        QCOMPARE(QFontInfo(stampFont(fontName, 9, false, false)).family(), family);
    }

    void japaneseNeverDrawsAsBoxes_data()
    {
        QTest::addColumn<QString>("fontName");
        QTest::addColumn<QString>("reference"); // the face whose glyphs must appear
        QTest::newRow("unknown face")
            << QStringLiteral("No Such Face") << QStringLiteral("IPAMincho");
        QTest::newRow("Latin face, Japanese text")
            << QStringLiteral("DejaVu Sans") << QStringLiteral("IPAMincho");
        QTest::newRow("stored Gothic name")
            << QStringLiteral(u"ＭＳ ゴシック") << QStringLiteral("IPAGothic");
    }

    void japaneseNeverDrawsAsBoxes()
    {
        QFETCH(QString, fontName);
        QFETCH(QString, reference);
        const QString text = QStringLiteral(u"印鑑");
        const QImage drawn = render(stampFont(fontName, 12, false, false), text);
        QVERIFY(inkCount(drawn) > 40);
        const QImage expected = render(stampFont(reference, 12, false, false), text);
        // The same glyphs; a Latin face may put them on another baseline.
        QCOMPARE(drawn.copy(inkBounds(drawn)), expected.copy(inkBounds(expected)));
    }

    void styleChangesTheGlyphs()
    {
        const QString text = QStringLiteral(u"名字");
        const QImage regular = render(stampFont(defaultFontName(), 12, false, false), text);
        const QImage bold = render(stampFont(defaultFontName(), 12, true, false), text);
        const QImage italic = render(stampFont(defaultFontName(), 12, false, true), text);
        QVERIFY(inkCount(bold) > inkCount(regular) + 10);
        QVERIFY(!inkBounds(differenceImage(italic, regular)).isEmpty());
    }

    void pixelSize_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("9 points are 12 pixels") << 9 << 12;
        QTest::newRow("10 points round to 13") << 10 << 13;
        QTest::newRow("11 points round to 15") << 11 << 15;
        QTest::newRow("12 points are 16") << 12 << 16;
        QTest::newRow("1 point") << 1 << 1;
        QTest::newRow("72 points are 96") << 72 << 96;
        QTest::newRow("largest accepted") << kMaxFontPoints << 1333;
    }

    void pixelSize()
    {
        QFETCH(int, points);
        QFETCH(int, pixels);
        QCOMPARE(fontPixelSize(points), pixels);
        const QFont font = stampFont(defaultFontName(), points, false, false);
        QCOMPARE(font.pixelSize(), pixels);
        // A 9-point line of three kanji measures 36 pixels, as the layout of stored stamps needs.
        if (points == 9)
            QCOMPARE(QFontMetricsF(font).horizontalAdvance(QStringLiteral(u"組織名")), 36.0);
    }

    void acceptedSizes_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << 0 << false;
        QTest::newRow("negative") << -9 << false;
        QTest::newRow("one") << 1 << true;
        QTest::newRow("nine") << 9 << true;
        QTest::newRow("bound") << kMaxFontPoints << true;
        QTest::newRow("beyond the bound") << kMaxFontPoints + 1 << false;
        QTest::newRow("16-bit largest") << 32767 << false;
    }

    void acceptedSizes()
    {
        QFETCH(int, points);
        QFETCH(bool, accepted);
        QCOMPARE(isAcceptedFontSize(points), accepted);
    }
};

QTEST_MAIN(TestStampFonts)
#include "test_stampfonts.moc"
