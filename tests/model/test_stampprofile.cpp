// SPDX-License-Identifier: MIT
#include "model/appsettings.h"
#include "model/appstate.h"
#include "model/stampprofile.h"

#include <QTest>

using namespace pellimo;

class TestStampProfile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultFontNameIsFiveCharacters()
    {
        const QString name = defaultFontName();
        QCOMPARE(name.size(), 5);
        const char16_t expected[] = {0xFF2D, 0xFF33, 0x0020, 0x660E, 0x671D};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(name.at(i).unicode(), expected[i]);
    }

    void loadDefaultProfileResetsEveryField()
    {
        StampProfile p;
        p.radius = 100;
        p.lineWidth = 5;
        p.topAreaPercent = 10;
        p.bottomAreaPercent = 40;
        p.colour = 16711680;
        for (StampItem &item : p.items)
            item = {QStringLiteral("x"), QStringLiteral("Arial"), 20, true, true, -7, 9};
        loadDefaultProfile(p);

        QCOMPARE(p.radius, int16_t(35));
        QCOMPARE(p.lineWidth, int16_t(1));
        QCOMPARE(p.topAreaPercent, int16_t(35));
        QCOMPARE(p.bottomAreaPercent, int16_t(35));
        QCOMPARE(p.colour, 255);
        const QStringList texts = {QStringLiteral(u"組織名"), QString(), QStringLiteral(u"名字"),
                                   QStringLiteral(u"名")};
        for (int i = 0; i < kItemCount; ++i) {
            const StampItem &item = p.items[i];
            QCOMPARE(item.text, texts[i]);
            QVERIFY(!item.text.isNull() || i == 1);
            QCOMPARE(item.fontName, defaultFontName());
            QCOMPARE(item.fontSize, int16_t(9));
            QCOMPARE(item.bold, false);
            QCOMPARE(item.italic, false);
            QCOMPARE(item.offsetX, int16_t(0));
            QCOMPARE(item.offsetY, int16_t(0));
        }
    }

    void stateStartsWithoutUser()
    {
        AppState state;
        QCOMPARE(state.currentUser, int16_t(0));
        QCOMPARE(state.noGuiMode, false);
    }

    void defaultSettings()
    {
        AppSettings s;
        s.defaultUser = 4;
        s.autoClose = true;
        loadDefaultSettings(s);
        QCOMPARE(s.defaultUser, int16_t(1));
        QCOMPARE(s.userNames[0], QStringLiteral(u"ユーザー1"));
        QCOMPARE(s.userNames[4], QStringLiteral(u"ユーザー5"));
        QCOMPARE(s.dateFormat, QStringLiteral("ee.mm.dd"));
        QCOMPARE(s.autoClose, false);
    }
};

QTEST_GUILESS_MAIN(TestStampProfile)
#include "test_stampprofile.moc"
