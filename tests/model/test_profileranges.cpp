// SPDX-License-Identifier: MIT
#include "model/profileranges.h"

#include <QTest>
#include <functional>

using namespace pellimo;

using ProfileEdit = std::function<void(StampProfile &)>;
Q_DECLARE_METATYPE(ProfileEdit)
Q_DECLARE_METATYPE(std::optional<pellimo::ProfileField>)

class TestProfileRanges : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstValueOutOfRange_data()
    {
        QTest::addColumn<ProfileEdit>("edit");
        QTest::addColumn<std::optional<ProfileField>>("first");
        const std::optional<ProfileField> none;
        const auto row = [](const char *name, ProfileEdit edit, std::optional<ProfileField> f) {
            QTest::newRow(name) << edit << f;
        };
        row(
            "the defaults fit", [](StampProfile &) {}, none);
        row(
            "every end of every range",
            [](StampProfile &p) {
                p.radius = 50, p.lineWidth = 5, p.topAreaPercent = 10, p.bottomAreaPercent = 40;
                p.items[0].offsetX = -10, p.items[3].offsetY = 10;
            },
            none);
        row(
            "radius 19", [](StampProfile &p) { p.radius = 19; }, ProfileField::Radius);
        row(
            "radius 51", [](StampProfile &p) { p.radius = 51; }, ProfileField::Radius);
        row(
            "line width 0 after a radius that fits", [](StampProfile &p) { p.lineWidth = 0; },
            ProfileField::LineWidth);
        row(
            "radius before line width",
            [](StampProfile &p) {
                p.lineWidth = 9;
                p.radius = 60;
            },
            ProfileField::Radius);
        row(
            "name band 41", [](StampProfile &p) { p.bottomAreaPercent = 41; },
            ProfileField::BottomBand);
        // Line by line, each line's vertical offset before its horizontal one.
        row(
            "line 1's horizontal before line 2's vertical",
            [](StampProfile &p) {
                p.items[2].offsetY = -11;
                p.items[1].offsetX = 11;
            },
            offsetXField(1));
        row(
            "a line's vertical before its horizontal",
            [](StampProfile &p) {
                p.items[3].offsetX = 11;
                p.items[3].offsetY = -32768;
            },
            offsetYField(3));
    }
    void firstValueOutOfRange()
    {
        QFETCH(ProfileEdit, edit);
        QFETCH(std::optional<ProfileField>, first);
        StampProfile profile;
        loadDefaultProfile(profile);
        edit(profile);
        QCOMPARE(firstFieldOutOfRange(profile), first);
    }

    // Each field names its own value of the profile, and no other.
    void fieldsNameTheirValues()
    {
        StampProfile profile;
        loadDefaultProfile(profile);
        for (int f = 0; f < kProfileFieldCount; ++f)
            fieldValue(profile, ProfileField(f)) = int16_t(1000 + f);
        QCOMPARE(profile.radius, 1000);
        QCOMPARE(profile.lineWidth, 1001);
        QCOMPARE(profile.topAreaPercent, 1002);
        QCOMPARE(profile.bottomAreaPercent, 1003);
        for (int line = 0; line < kItemCount; ++line) {
            QCOMPARE(profile.items[size_t(line)].offsetY, 1004 + line);
            QCOMPARE(profile.items[size_t(line)].offsetX, 1008 + line);
        }
        QCOMPARE(fieldRange(ProfileField::Radius).minimum, 20);
        QCOMPARE(fieldRange(offsetXField(3)).maximum, 10);
    }
};

QTEST_GUILESS_MAIN(TestProfileRanges)
#include "test_profileranges.moc"
