// SPDX-License-Identifier: MIT
#pragma once

// Profiles whose drawing fails, shared by the drawing's tests (what stays on PicBase) and the
// session's (the warning that names the user's file).

#include "stamppixels.h"

#include <QTest>
#include <functional>

using ProfileEdit = std::function<void(pellimo::StampProfile &)>;
Q_DECLARE_METATYPE(ProfileEdit)

namespace pellimo::testing {

// Columns: edit (the failing change), user (whose file the warning names), expectedPicture (a
// profile that draws what stays of the failed drawing; empty: nothing but the cleared area).
inline void addDrawingFailureRows()
{
    QTest::addColumn<ProfileEdit>("edit");
    QTest::addColumn<int>("user");
    QTest::addColumn<ProfileEdit>("expectedPicture"); // a profile that draws what stays

    const ProfileEdit blank; // nothing but the cleared white area
    QTest::newRow("radius 16384: only the cleared area")
        << ProfileEdit([](StampProfile &p) { p.radius = 16384; }) << 1 << blank;
    QTest::newRow("radius 410 with 40 %") << ProfileEdit([](StampProfile &p) {
        p.radius = 410;
        p.topAreaPercent = 40;
    }) << 2 << blank;
    QTest::newRow("radius 0: an empty circle")
        << ProfileEdit([](StampProfile &p) { p.radius = 0; }) << 1 << blank;
    QTest::newRow("radius 2000: a circle around the whole area")
        << ProfileEdit([](StampProfile &p) { p.radius = 2000; }) << 2 << blank;
    QTest::newRow("font size 2000")
        << ProfileEdit([](StampProfile &p) { p.items[0].fontSize = 2000; }) << 1
        << ProfileEdit([](StampProfile &p) { p = frameOnly(p); });
    QTest::newRow("pen width 0") << ProfileEdit([](StampProfile &p) { p.lineWidth = 0; }) << 3
                                 << blank;
    QTest::newRow("negative pen width")
        << ProfileEdit([](StampProfile &p) { p.lineWidth = -4; }) << 4 << blank;
    // The band-line product overflows after the circle is stroked: the circle stays.
    QTest::newRow("percent 1000 keeps the circle") << ProfileEdit([](StampProfile &p) {
        p.radius = 20;
        p.topAreaPercent = 1000;
    }) << 5 << ProfileEdit([](StampProfile &p) {
        p = frameOnly(p);
        p.radius = 20;
        p.topAreaPercent = -100; // lines outside the circle, hidden by the clip
        p.bottomAreaPercent = -100;
    });
    QTest::newRow("font size 0 on the organisation")
        << ProfileEdit([](StampProfile &p) { p.items[0].fontSize = 0; }) << 1
        << ProfileEdit([](StampProfile &p) { p = frameOnly(p); });
    QTest::newRow("font size 0 on the date keeps the organisation")
        << ProfileEdit([](StampProfile &p) { p.items[1].fontSize = 0; }) << 1
        << ProfileEdit([](StampProfile &p) {
               p.items[1].text.clear();
               p.items[2].text.clear();
               p.items[3].text.clear();
           });
    QTest::newRow("negative font size on name 1")
        << ProfileEdit([](StampProfile &p) { p.items[2].fontSize = -9; }) << 1
        << ProfileEdit([](StampProfile &p) {
               p.items[2].text.clear();
               p.items[3].text.clear();
           });
    // Name 2's font is selected first, so name 1 is not drawn either.
    QTest::newRow("absurd font size on name 2")
        << ProfileEdit([](StampProfile &p) { p.items[3].fontSize = 30000; }) << 1
        << ProfileEdit([](StampProfile &p) {
               p.items[2].text.clear();
               p.items[3].text.clear();
           });
}

} // namespace pellimo::testing
