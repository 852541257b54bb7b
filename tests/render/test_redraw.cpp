// SPDX-License-Identifier: MIT
// A redraw on a surface that was drawn before, with the fonts, text widths and circle shapes the
// drawing keeps from earlier drawings, gives the same pixels as a drawing made from nothing.

#include "render/drawstamp.h"
#include "render/fontmeasures.h"
#include "render/stampsurface.h"
#include "stamppixels.h"
#include "warningrecorder.h"

#include <QTest>
#include <functional>
#include <thread>

using namespace pellimo;
using namespace pellimo::testing;

using ProfileEdit = std::function<void(StampProfile &)>;
Q_DECLARE_METATYPE(ProfileEdit)

namespace {

QImage surface(int width, int dotsPerMetre)
{
    QImage image = makeSurface(width, 200);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

// The profile drawn on a thread of its own, which starts with nothing kept.
QImage drawnFromNothing(const StampProfile &profile, int width, int dotsPerMetre)
{
    QImage image = surface(width, dotsPerMetre);
    std::thread([&] { drawStamp(image, profile); }).join();
    return image;
}

StampProfile fullStamp()
{
    StampProfile profile = defaultStamp();
    profile.items[0].text = QStringLiteral(u"組織名");
    profile.items[2].text = QStringLiteral(u"名字");
    profile.items[3].text = QStringLiteral(u"名");
    return profile;
}

} // namespace

class TestRedraw : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void redrawAfterAnotherStamp_data()
    {
        QTest::addColumn<ProfileEdit>("edit");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("dotsPerMetre");

        const auto row = [](const char *name, ProfileEdit edit, int width = 200,
                            int dotsPerMetre = 3780) {
            QTest::newRow(name) << edit << width << dotsPerMetre;
        };
        row("same stamp again", [](StampProfile &) {});
        row("date text changed",
            [](StampProfile &p) { p.items[1].text = QStringLiteral("09.01.15"); });
        row("organisation bold", [](StampProfile &p) { p.items[0].bold = true; });
        row("date italic", [](StampProfile &p) { p.items[1].italic = true; });
        row("name 1 at 11 points", [](StampProfile &p) { p.items[2].fontSize = 11; });
        row("name 2 in a Gothic face",
            [](StampProfile &p) { p.items[3].fontName = QStringLiteral(u"ＭＳ ゴシック"); });
        row("name 1 takes name 2's text", [](StampProfile &p) {
            p.items[2].text = QStringLiteral(u"名");
            p.items[3].text = QStringLiteral(u"名字");
        });
        row("radius 50", [](StampProfile &p) { p.radius = 50; });
        row("pen width 4", [](StampProfile &p) { p.lineWidth = 4; });
        row("bands 20 % and 45 %", [](StampProfile &p) {
            p.topAreaPercent = 20;
            p.bottomAreaPercent = 45;
        });
        row(
            "wider surface", [](StampProfile &) {}, 201);
        row(
            "surface at 72 dpi", [](StampProfile &) {}, 200, 2835);
    }

    // The stamp drawn first fills every kept table; the edited one drawn over it must not take
    // anything from them that belongs to the first.
    void redrawAfterAnotherStamp()
    {
        QFETCH(ProfileEdit, edit);
        QFETCH(int, width);
        QFETCH(int, dotsPerMetre);

        StampProfile edited = fullStamp();
        edit(edited);
        const QImage expected = drawnFromNothing(edited, width, dotsPerMetre);

        WarningRecorder warnings;
        QImage first = surface(200, 3780);
        drawStamp(first, fullStamp());
        QImage image = surface(width, dotsPerMetre);
        drawStamp(image, edited);
        QCOMPARE(image, expected);
        // And back: the first stamp is what it was.
        drawStamp(image, fullStamp());
        QCOMPARE(image, drawnFromNothing(fullStamp(), width, dotsPerMetre));
        QVERIFY(warnings.texts().isEmpty());
    }

    // Dropping what was kept (the serving process does, once the stamp is on the clipboard)
    // changes nothing in the next drawing.
    void redrawAfterRelease()
    {
        const QImage before = drawn(fullStamp());
        releaseStampFontMeasures();
        QCOMPARE(drawn(fullStamp()), before);
    }

    // More faces and sizes than are kept at once: the table starts again and the drawings
    // stay the same.
    void manyFonts()
    {
        StampProfile profile = fullStamp();
        const QImage first = drawn(profile);
        for (int size = 5; size < 40; ++size) {
            StampProfile other = profile;
            for (int i = 0; i < kItemCount; ++i) { // four new fonts each time
                other.items[size_t(i)].fontSize = size + 40 * i;
                other.items[size_t(i)].bold = size % 2 == 0;
            }
            (void)drawn(other);
        }
        QCOMPARE(drawn(profile), first);
    }
};

QTEST_MAIN(TestRedraw)
#include "test_redraw.moc"
