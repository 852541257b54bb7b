// SPDX-License-Identifier: MIT
// Editing in the main window as a user does it: spinner arrows, typing and leaving a box, the
// user switch, and filling the controls from a profile that holds values they cannot show.

#include "mainwindowfixture.h"
#include "ui/common/windownote.h"
#include "ui/main/updown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// A profile field by the name the rows use: radius, lineWidth, top, bottom, itemsN.offsetX/Y.
int16_t &field(StampProfile &p, const QString &name)
{
    if (name == QLatin1String("radius"))
        return p.radius;
    if (name == QLatin1String("lineWidth"))
        return p.lineWidth;
    if (name == QLatin1String("top"))
        return p.topAreaPercent;
    if (name == QLatin1String("bottom"))
        return p.bottomAreaPercent;
    StampItem &item = p.items[name.mid(5, 1).toInt()];
    return name.endsWith(QLatin1Char('X')) ? item.offsetX : item.offsetY;
}

// "LBLRad=30" checks a label's or box's text, "RadUpDown@30" a spinner's value.
void checkControls(MainWindowFixture &f, const QStringList &checks)
{
    for (const QString &check : checks) {
        const bool isValue = check.contains(QLatin1Char('@'));
        const QStringList parts = check.split(isValue ? QLatin1Char('@') : QLatin1Char('='));
        QWidget *c = f.control(parts[0]);
        QVERIFY2(c, qPrintable(parts[0]));
        QString actual;
        if (isValue)
            actual = QString::number(qobject_cast<UpDown *>(c)->value());
        else if (auto *label = qobject_cast<QLabel *>(c))
            actual = label->text();
        else
            actual = qobject_cast<QLineEdit *>(c)->text();
        QVERIFY2(actual == parts[1], qPrintable(check + QStringLiteral(" but is ") + actual));
    }
}

QString profileToControlsWarning(int user)
{
    const QString file = QStringLiteral("user0%1.dat").arg(user);
    return file +
           QStringLiteral(u" より読み出された値をセットする処理でエラーが発生しました。\r\n") +
           QStringLiteral(u"該当するファイルの問題の個所がわかっている場合は修正して下さい。\r\n") +
           QStringLiteral(u"わからない場合は ") + file +
           QStringLiteral(u" を破棄することで問題を修正できます（データは失われます）。\r\n") +
           QStringLiteral(u"現在の印面は正しく表示されていません。");
}

void pressArrowOf(MainWindowFixture &f, const QString &spinner)
{
    auto *s = f.control<UpDown>(spinner);
    QTest::mouseClick(s, Qt::LeftButton, {}, s->upArrowRect().center());
}

} // namespace

class TestMainWindowEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void spinnerArrowsEditTheProfile_data()
    {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("presses");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("redraws");
        const auto row = [](const char *name, const char *spinner, bool upper, int presses,
                            const char *field, int start, int expected, const char *label,
                            int redraws) {
            QTest::newRow(name) << QString::fromLatin1(spinner) << upper << presses
                                << QString::fromLatin1(field) << start << expected
                                << QString::fromLatin1(label) << redraws;
        };
        row("radius 35 up", "RadUpDown", true, 1, "radius", 35, 36, "LBLRad", 1);
        row("radius at 50 up: nothing", "RadUpDown", true, 1, "radius", 50, 50, "LBLRad", 0);
        row("radius at 20 down: nothing", "RadUpDown", false, 1, "radius", 20, 20, "LBLRad", 0);
        row("line width 2 down", "WtUpDown", false, 1, "lineWidth", 2, 1, "LBLWt", 1);
        row("bottom band 35 up", "AreaUpdown1", true, 1, "bottom", 35, 36, "LBLArea1", 1);
        row("top band 12 down twice", "AreaUpdown0", false, 2, "top", 12, 10, "LBLArea0", 2);
        row("ScUpDown5 down: date line left", "ScUpDown5", false, 1, "items1.offsetX", 0, -1,
            "LBLSet5", 1);
        row("ScUpDown0 up: organisation down", "ScUpDown0", true, 1, "items0.offsetY", 0, 1,
            "LBLSet0", 1);
        row("ScUpDown4 up: organisation right", "ScUpDown4", true, 1, "items0.offsetX", 0, 1,
            "LBLSet4", 1);
        row("ScUpDown0 up eleven times", "ScUpDown0", true, 11, "items0.offsetY", 0, 10, "LBLSet0",
            10);
        row("ScUpDown7 at -10 down: nothing", "ScUpDown7", false, 1, "items3.offsetX", -10, -10,
            "LBLSet7", 0);
    }
    void spinnerArrowsEditTheProfile()
    {
        QFETCH(QString, spinner);
        QFETCH(bool, upper);
        QFETCH(int, presses);
        QFETCH(QString, field);
        QFETCH(int, start);
        QFETCH(int, expected);
        QFETCH(QString, label);
        QFETCH(int, redraws);

        MainWindowFixture f;
        ::field(f.state.profile, field) = int16_t(start);
        f.shownWindow();
        StampProfile expectedProfile = f.state.profile;
        ::field(expectedProfile, field) = int16_t(expected);

        auto *s = f.control<UpDown>(spinner);
        for (int i = 0; i < presses; ++i) {
            QTest::mouseClick(s, Qt::LeftButton, {},
                              (upper ? s->upArrowRect() : s->downArrowRect()).center());
        }
        // Only the spinner's own field changed (the other band stays as it was).
        QCOMPARE(f.state.profile, expectedProfile);
        QCOMPARE(f.control<QLabel>(label)->text(), QString::number(expected));
        QCOMPARE(f.redraws->count(), redraws);
        QCOMPARE(f.window().picBaseImage(), f.expectedStamp());
        QVERIFY(f.warnings.isEmpty());
    }

    // Typed key by key, a refused character is taken out and the keys after it go on into the
    // box, at the cursor, look-alikes replaced as they come.
    void keysAfterARefusedCharacterStayInTheBox()
    {
        MainWindowFixture f;
        f.shownWindow();
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem0"));
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        for (const char16_t *key : {u"営", u"業", u"☃", u"〜", u"東", u"京"})
            typeText(box, QString::fromUtf16(key));
        QCOMPARE(box->text(), QStringLiteral(u"営業～東京"));
        QCOMPARE(box->cursorPosition(), 5);
        QCOMPARE(QApplication::focusWidget(), box);
        QVERIFY(f.warnings.isEmpty());
    }

    void textEntersTheProfileWhenTheBoxIsLeft_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("refused"); // named by the notice beside the box
        QTest::newRow("organisation")
            << 0 << QStringLiteral(u"新しい組織") << QStringLiteral(u"新しい組織") << QString();
        QTest::newRow("own date text")
            << 1 << QStringLiteral("R8.12.24") << QStringLiteral("R8.12.24") << QString();
        QTest::newRow("name 2 cleared") << 3 << QString() << QString() << QString();
        QTest::newRow("CP932 extras kept")
            << 2 << QStringLiteral(u"髙①～ｱ") << QStringLiteral(u"髙①～ｱ") << QString();
        QTest::newRow("wave dash pasted")
            << 0 << QStringLiteral(u"営業〜東京") << QStringLiteral(u"営業～東京") << QString();
        QTest::newRow("every look-alike")
            << 2 << QStringLiteral(u"〜−‖—¢£¬") << QStringLiteral(u"～－∥―￠￡￢") << QString();
        QTest::newRow("double quote taken out")
            << 0 << QStringLiteral("A\"B\"") << QStringLiteral("AB") << QStringLiteral("\"");
        QTest::newRow("outside CP932 taken out")
            << 2 << QStringLiteral(u"é山😀田") << QStringLiteral(u"山田") << QStringLiteral(u"é😀");
        QTest::newRow("look-alike kept, other taken out")
            << 3 << QStringLiteral(u"〜☃") << QStringLiteral(u"～") << QStringLiteral(u"☃");
    }
    void textEntersTheProfileWhenTheBoxIsLeft()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, refused);
        MainWindowFixture f;
        f.shownWindow();
        const StampProfile before = f.state.profile;
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem%1").arg(index));

        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->selectedText(), box->text()); // the click selected the whole text
        if (typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            typeText(box, typed);
        QCOMPARE(box->text(), stored); // what is shown is what will be stored
        QVERIFY(f.warnings.isEmpty()); // no message box: it would take the keys typed next
        const WindowNote *note = WindowNote::shownIn(&f.window());
        QCOMPARE(note != nullptr, !refused.isEmpty());
        if (note != nullptr)
            QVERIFY2(note->text().contains(refused), qPrintable(note->text()));
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(f.state.profile, before); // nothing enters the profile while typing
        QCOMPARE(f.redraws->count(), 0);

        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(f.state.profile.items[index].text, stored);
        QCOMPARE(f.redraws->count(), 1);
        QCOMPARE(f.window().picBaseImage(), f.expectedStamp());
    }

    void userSwitchReloadsFromFile_data()
    {
        QTest::addColumn<QString>("user2File"); // saved, missing or damaged
        QTest::addColumn<int>("radius");
        QTest::addColumn<bool>("warned");
        QTest::newRow("saved profile") << QStringLiteral("saved") << 40 << false;
        QTest::newRow("deleted file: defaults, silently")
            << QStringLiteral("missing") << 35 << false;
        QTest::newRow("damaged file: message, defaults") << QStringLiteral("damaged") << 35 << true;
    }
    void userSwitchReloadsFromFile()
    {
        QFETCH(QString, user2File);
        QFETCH(int, radius);
        QFETCH(bool, warned);
        MainWindowFixture f;
        StampProfile user1 = f.state.profile;
        user1.radius = 30;
        user1.items[0].text = QStringLiteral(u"一課");
        QVERIFY(f.writeProfile(1, user1));
        StampProfile user2 = user1;
        user2.radius = 40;
        user2.items[0].text = QStringLiteral(u"二課");
        const QByteArray damaged("255,1,35,35\r\nnot a profile\r\n");
        if (user2File == QLatin1String("saved")) {
            QVERIFY(f.writeProfile(2, user2));
        } else if (user2File == QLatin1String("damaged")) {
            QFile file(f.profilePath(2));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        f.state.profile = user1;
        f.shownWindow();

        // An edit that is never saved with Set.
        auto *rad = f.control<UpDown>(QStringLiteral("RadUpDown"));
        QTest::mouseClick(rad, Qt::LeftButton, {}, rad->upArrowRect().center());
        QCOMPARE(f.state.profile.radius, int16_t(31));
        f.redraws->clear();

        auto *list = f.control<QComboBox>(QStringLiteral("cmbUserName"));
        list->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(f.state.currentUser, int16_t(2));
        QCOMPARE(f.state.profile.radius, int16_t(radius));
        QCOMPARE(f.control<QLabel>(QStringLiteral("LBLRad"))->text(), QString::number(radius));
        const QString date = f.todaysDate();
        QCOMPARE(f.state.profile.items[1].text, date);
        QCOMPARE(f.control<QLineEdit>(QStringLiteral("txtItem1"))->text(), date);
        QCOMPARE(f.warnings, warned ? QStringList{profileReadWarningText()} : QStringList());
        QCOMPARE(f.redraws->count(), 1);
        QCOMPARE(f.window().picBaseImage(), f.expectedStamp());
        if (user2File == QLatin1String("damaged"))
            QCOMPARE(f.fileBytes(2), damaged); // the damaged file is left for the user
        if (user2File == QLatin1String("missing"))
            QVERIFY(!QFile::exists(f.profilePath(2))); // and the defaults are not written back

        // Back to user 1: the edit made before the switch is gone.
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(f.state.currentUser, int16_t(1));
        QCOMPARE(f.state.profile.radius, int16_t(30));
        QCOMPARE(f.control<QLineEdit>(QStringLiteral("txtItem0"))->text(), QStringLiteral(u"一課"));
    }

    void wheelOverTheUnfocusedUserListSwitchesNothing()
    {
        MainWindowFixture f;
        f.shownWindow();
        pressArrowOf(f, QStringLiteral("RadUpDown")); // an edit not saved with Set
        auto *list = f.control<QComboBox>(QStringLiteral("cmbUserName"));
        const QPoint at = list->rect().center();
        QWheelEvent wheel(at, list->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list, &wheel);
        QCOMPARE(f.state.currentUser, int16_t(1));
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(f.state.profile.radius, int16_t(36));
    }

    void fillingStopsAtTheFirstValueThatDoesNotFit_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("user");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<bool>("drawingFails"); // the drawing has its own warning
        QTest::addColumn<QStringList>("checks");
        QTest::newRow("radius 51: no control changes")
            << QStringLiteral("radius51") << 1 << true << false
            << QStringList{"LBLRad=30", "RadUpDown@30", "LBLWt=1", "txtItem0=組織名",
                           "txtItem1=2001.06.04"};
        QTest::newRow("radius -32768") << QStringLiteral("radiusMin") << 1 << true << true
                                       << QStringList{"LBLRad=30", "RadUpDown@30"};
        QTest::newRow("items[2].offsetX 11: line 2 half filled")
            << QStringLiteral("offsetX11") << 1 << true << false
            << QStringList{"LBLRad=35",   "txtItem2=山田", "ScUpDown2@3", "LBLSet2=3",
                           "ScUpDown6@0", "LBLSet6=0",     "txtItem3=名", "LBLSet3=0"};
        QTest::newRow("user 4, line width 0")
            << QStringLiteral("lineWidth0") << 4 << true << true
            << QStringList{"LBLRad=35", "RadUpDown@35", "WtUpDown@1", "LBLWt=1"};
        QTest::newRow("offset -7 fits")
            << QStringLiteral("offset-7") << 1 << false << false
            << QStringList{"LBLSet4=-7", "ScUpDown4@-7", "txtItem3=花子"};
    }
    void fillingStopsAtTheFirstValueThatDoesNotFit()
    {
        QFETCH(QString, setup);
        QFETCH(int, user);
        QFETCH(bool, warned);
        QFETCH(bool, drawingFails);
        QFETCH(QStringList, checks);
        MainWindowFixture f;
        StampProfile &p = f.state.profile;
        p.items[2].text = QStringLiteral(u"山田");
        p.items[3].text = QStringLiteral(u"花子");
        if (setup == QLatin1String("radius51"))
            p.radius = 51;
        else if (setup == QLatin1String("radiusMin"))
            p.radius = -32768;
        else if (setup == QLatin1String("offsetX11"))
            p.items[2].offsetY = 3, p.items[2].offsetX = 11;
        else if (setup == QLatin1String("lineWidth0"))
            p.lineWidth = 0;
        else if (setup == QLatin1String("offset-7"))
            p.items[0].offsetX = -7;
        f.state.currentUser = int16_t(user);
        f.window();
        StampProfile expected = p;
        expected.items[1].text = f.todaysDate();

        f.window().load();
        QStringList expectedWarnings;
        if (warned)
            expectedWarnings << profileToControlsWarning(user);
        if (drawingFails)
            expectedWarnings << drawWarningText(int16_t(user));
        QCOMPARE(f.warnings, expectedWarnings);
        checkControls(f, checks);
        // The profile keeps the value that did not fit, and the stamp is drawn once with it.
        QCOMPARE(f.state.profile, expected);
        QCOMPARE(f.redraws->count(), 1);
        QCOMPARE(f.window().picBaseImage(), f.expectedStamp());
        QVERIFY(!f.window().isLoading());
    }

    void loadFillsTheListAndTheDate()
    {
        MainWindowFixture f;
        for (int n = 0; n < kUserCount; ++n)
            f.state.settings.userNames[n] = QStringLiteral(u"利用者%1").arg(n + 1);
        f.state.settings.dateFormat = QStringLiteral("yyyy/mm/dd");
        f.state.currentUser = 3;
        f.state.profile.items[1].text = QStringLiteral("08.12.06");
        f.window().load();

        auto *list = f.control<QComboBox>(QStringLiteral("cmbUserName"));
        QCOMPARE(list->count(), kUserCount);
        for (int n = 0; n < kUserCount; ++n)
            QCOMPARE(list->itemText(n), f.state.settings.userNames[n]);
        QCOMPARE(list->currentIndex(), 2);
        QCOMPARE(f.state.currentUser, int16_t(3));
        QCOMPARE(f.state.profile.items[1].text, QStringLiteral("2026/12/07"));
        QCOMPARE(f.control<QLineEdit>(QStringLiteral("txtItem1"))->text(),
                 QStringLiteral("2026/12/07"));
        QCOMPARE(f.redraws->count(), 1); // filling the controls draws nothing by itself
        QVERIFY(!QFile::exists(f.profilePath(3)));
    }
};

QTEST_MAIN(TestMainWindowEditing)
#include "test_mainwindow_editing.moc"
