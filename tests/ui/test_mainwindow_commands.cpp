// SPDX-License-Identifier: MIT
// The main window's buttons: fonts and colour, Set, Options, About and Exit.

#include "japanesetexts.h"
#include "mainwindowfixture.h"
#include "ui/common/windownote.h"
#include "ui/main/updown.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// Runs `act` on the modal dialog as soon as the event loop that shows it starts.
void whenModalOpens(std::function<void(QDialog *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

void clickButton(MainWindowFixture &f, const QString &name)
{
    QTest::mouseClick(f.control(name), Qt::LeftButton);
}

void pressArrow(MainWindowFixture &f, const QString &name, bool upper)
{
    auto *s = f.control<UpDown>(name);
    QTest::mouseClick(s, Qt::LeftButton, {},
                      (upper ? s->upArrowRect() : s->downArrowRect()).center());
}

using ProfileEdit = std::function<void(StampProfile &)>;

} // namespace

Q_DECLARE_METATYPE(ProfileEdit)

using pellimo::test::installJapaneseTexts;

class TestMainWindowCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(installJapaneseTexts()); // the texts a Japanese desktop shows
    }

    void fontChoiceGoesIntoOneLine_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("refused"); // a face name the file cannot hold
        const QString gothic = QStringLiteral(u"ＭＳ ゴシック");
        QTest::newRow("10.5 -> 10") << 1 << false << gothic << 10.5 << 10 << false;
        QTest::newRow("11.5 -> 12") << 0 << false << gothic << 11.5 << 12 << false;
        QTest::newRow("12.5 -> 12") << 3 << false << gothic << 12.5 << 12 << false;
        QTest::newRow("12.6 -> 13") << 2 << false << gothic << 12.6 << 13 << false;
        QTest::newRow("cancel") << 1 << true << QString() << 0.0 << 9 << false;
        QTest::newRow("face outside CP932")
            << 2 << false << QStringLiteral(u"나눔고딕") << 14.0 << 9 << true;
        QTest::newRow("face with a quote")
            << 0 << false << QStringLiteral("A\"Face") << 14.0 << 9 << true;
    }
    void fontChoiceGoesIntoOneLine()
    {
        QFETCH(int, line);
        QFETCH(bool, cancel);
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(int, size);
        QFETCH(bool, refused);
        MainWindowFixture f;
        QVERIFY(f.writeProfile(1, f.state.profile));
        const QByteArray fileBefore = f.fileBytes(1);
        f.shownWindow();
        const StampProfile before = f.state.profile;
        if (!cancel)
            f.pickers->fontAnswer = FontChoice{face, points, true, true};

        clickButton(f, QStringLiteral("cmdFont%1").arg(line));

        const FontChoice given{before.items[line].fontName, 9.0, false, false};
        QCOMPARE(f.pickers->fontsGiven.size(), 1);
        QVERIFY(f.pickers->fontsGiven.first() == given);
        StampProfile expected = before;
        if (!cancel && !refused) {
            StampItem &item = expected.items[line];
            item.fontName = face;
            item.fontSize = int16_t(size);
            item.bold = item.italic = true;
        }
        QCOMPARE(f.state.profile, expected); // the other three lines keep their fonts
        QCOMPARE(f.warnings.size(), refused ? 1 : 0);
        QCOMPARE(f.redraws->count(), 1);
        QCOMPARE(f.window().drawnStamp(), f.expectedStamp());
        QCOMPARE(f.fileBytes(1), fileBefore); // nothing reaches the file until Set
    }

    void colourChoice_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("colour");
        QTest::newRow("blue") << false << 0xFF0000 << 0xFF0000;
        QTest::newRow("cancel") << true << 0 << 255;
    }
    void colourChoice()
    {
        QFETCH(bool, cancel);
        QFETCH(int, answer);
        QFETCH(int, colour);
        MainWindowFixture f;
        f.shownWindow();
        if (!cancel)
            f.pickers->colourAnswer = answer;
        clickButton(f, QStringLiteral("cmdColor"));
        QCOMPARE(f.pickers->coloursGiven, QList<int32_t>{255});
        QCOMPARE(f.state.profile.colour, colour);
        QCOMPARE(f.redraws->count(), 1);
        QCOMPARE(f.window().drawnStamp(), f.expectedStamp());
    }

    void pickedValuesConvert_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("size"); // -1: does not fit
        QTest::newRow("whole") << 9.0 << 9;
        QTest::newRow("half to even, down") << 8.5 << 8;
        QTest::newRow("half to even, up") << 9.5 << 10;
        QTest::newRow("beyond 16 bits") << 40000.0 << -1;
        QTest::newRow("not a number") << std::nan("") << -1;
    }
    void pickedValuesConvert()
    {
        QFETCH(double, points);
        QFETCH(int, size);
        const auto stored = fontSizeFromPoints(points);
        QCOMPARE(stored.has_value(), size >= 0);
        if (stored)
            QCOMPARE(int(*stored), size);
        // Colours are 0x00BBGGRR.
        QCOMPARE(stampColour(0x00804020), QColor(0x20, 0x40, 0x80));
        QCOMPARE(colourToStamp(QColor(0x20, 0x40, 0x80)), 0x00804020);
    }

    void setCommitsTheTextJustTypedAndSaves_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("autoClose");
        QTest::newRow("click on Set") << QStringLiteral("click") << false;
        QTest::newRow("Set from code") << QStringLiteral("code") << false;
        QTest::newRow("click, auto-close") << QStringLiteral("click") << true;
        QTest::newRow("window not active, two boxes") << QStringLiteral("inactive") << false;
    }
    void setCommitsTheTextJustTypedAndSaves()
    {
        QFETCH(QString, how);
        QFETCH(bool, autoClose);
        MainWindowFixture f;
        f.state.settings.autoClose = autoClose;
        const bool inactive = how == QLatin1String("inactive");
        MainWindow &w = inactive ? f.window() : f.shownWindow();
        if (inactive)
            w.load();
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem0"));
        auto *name = f.control<QLineEdit>(QStringLiteral("txtItem2"));
        if (inactive) {
            // No focus events reach a window that is not active: focus moves silently.
            box->setFocus();
            box->selectAll();
            typeText(box, QStringLiteral(u"経理部"));
            name->setFocus();
            name->selectAll();
            typeText(name, QStringLiteral(u"鈴木"));
        } else {
            QTest::mouseClick(box, Qt::LeftButton);
            typeText(box, QStringLiteral(u"経理部"));
        }
        QCOMPARE(f.state.profile.items[0].text, QStringLiteral(u"組織名"));

        if (how == QLatin1String("click"))
            clickButton(f, QStringLiteral("cmdSet"));
        else // Set run without the button taking the focus
            f.control<QPushButton>(QStringLiteral("cmdSet"))->click();

        QVERIFY(w.lastSetSucceeded());
        StampProfile saved;
        QVERIFY(loadProfile(saved, f.profilePath(1)));
        QCOMPARE(saved.items[0].text, QStringLiteral(u"経理部"));
        QCOMPARE(saved.items[2].text, name->text()); // what is shown is what is saved
        QCOMPARE(saved, f.state.profile);
        QCOMPARE(w.cutOut().size(), QSize(78, 78));
        QCOMPARE(QApplication::clipboard()->image().size(), QSize(78, 78));
        QCOMPARE(w.isVisible(), !autoClose && !inactive);
        QVERIFY(f.warnings.isEmpty());
    }

    // After Set the window says, in the window, that the stamp is on the clipboard: no box, no
    // change of focus or title, no control covered; a failed Set says nothing of the kind.
    void setSaysTheStampIsOnTheClipboard_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("set") << false;
        QTest::newRow("failed set") << true;
    }
    void setSaysTheStampIsOnTheClipboard()
    {
        QFETCH(bool, fails);
        MainWindowFixture f;
        if (fails)
            f.state.dataFolder = f.dir.filePath(QStringLiteral("no/such/folder"));
        MainWindow &w = f.shownWindow();
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem2"));
        box->setFocus();
        QTest::mouseClick(f.control<QPushButton>(QStringLiteral("cmdSet")), Qt::LeftButton);
        WindowNote *note = WindowNote::shownIn(&w);
        QCOMPARE(f.warnings.size(), fails ? 1 : 0);
        if (fails) {
            QVERIFY(!note || !note->text().contains(QStringLiteral(u"クリップボード")));
            return;
        }
        QVERIFY(note);
        QVERIFY2(note->text().contains(QStringLiteral(u"クリップボード")),
                 qPrintable(note->text()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(QApplication::focusWidget(), f.control<QWidget>(QStringLiteral("cmdSet")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Pellimo"));
        for (QWidget *c : w.findChildren<QWidget *>()) {
            if (c != note && c->isVisible() && c->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!QRect(c->mapTo(&w, QPoint()), c->size()).intersects(note->geometry()),
                         qPrintable(c->objectName()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!WindowNote::shownIn(&w), 10000); // it goes by itself
    }

    void failedSetIsReportedAndKeepsTheWindow()
    {
        MainWindowFixture f;
        f.state.settings.autoClose = true;
        f.state.dataFolder = f.dir.filePath(QStringLiteral("no/such/folder"));
        MainWindow &w = f.shownWindow();
        f.control<QPushButton>(QStringLiteral("cmdSet"))->click();
        QVERIFY(!w.lastSetSucceeded());
        QCOMPARE(f.warnings.size(), 1);
        QVERIFY(f.warnings[0].contains(QStringLiteral(u"プロファイルを保存できませんでした")));
        QVERIFY(f.warnings[0].contains(QStringLiteral("user01.dat")));
        QVERIFY(w.isVisible());
    }

    // A stamp that could not be drawn is not set: the refusal is shown, neither the clipboard nor
    // the file changes. Once a change draws the stamp again, Set works.
    void setAfterFailedDrawingIsRefused_data()
    {
        QTest::addColumn<ProfileEdit>("edit");
        QTest::addColumn<QString>("mend"); // a spinner whose arrow mends the profile, or empty
        QTest::newRow("radius 0") << ProfileEdit([](StampProfile &p) { p.radius = 0; })
                                  << QStringLiteral("RadUpDown");
        QTest::newRow("radius 2000")
            << ProfileEdit([](StampProfile &p) { p.radius = 2000; }) << QStringLiteral("RadUpDown");
        QTest::newRow("line width 0")
            << ProfileEdit([](StampProfile &p) { p.lineWidth = 0; }) << QStringLiteral("WtUpDown");
        QTest::newRow("font size 2000")
            << ProfileEdit([](StampProfile &p) { p.items[2].fontSize = 2000; }) << QString();
    }
    void setAfterFailedDrawingIsRefused()
    {
        QFETCH(ProfileEdit, edit);
        QFETCH(QString, mend);
        MainWindowFixture f;
        edit(f.state.profile);
        MainWindow &w = f.shownWindow();
        QCOMPARE(f.warnings.count(drawWarningText(1)), 1);
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        f.warnings.clear();

        auto *set = f.control<QPushButton>(QStringLiteral("cmdSet"));
        set->click();
        QVERIFY(!w.lastSetSucceeded());
        QCOMPARE(f.warnings, QStringList{failedDrawingSetText()});
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(!QFile::exists(f.profilePath(1)));

        if (mend.isEmpty())
            return;
        pressArrow(f, mend, true);
        set->click();
        QVERIFY(w.lastSetSucceeded());
        QVERIFY(QFile::exists(f.profilePath(1)));
    }

    // The user switches to a file that cannot be read: Set keeps its bytes beside it first, once.
    void setAfterSwitchToDamagedFileKeepsIt()
    {
        MainWindowFixture f;
        const QByteArray damaged = QByteArrayLiteral("255,1,35,35,35\r\n#FALSE#,\"x\"y");
        {
            QFile file(f.profilePath(2));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        MainWindow &w = f.shownWindow();
        auto *list = f.control<QComboBox>(QStringLiteral("cmbUserName"));
        list->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(f.warnings, QStringList{profileReadWarningText()});

        auto *set = f.control<QPushButton>(QStringLiteral("cmdSet"));
        set->click();
        QVERIFY(w.lastSetSucceeded());
        set->click();
        QVERIFY(w.lastSetSucceeded());
        QFile kept(f.profilePath(2) + QStringLiteral(".damaged"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), damaged);
        QVERIFY(!QFile::exists(f.profilePath(2) + QStringLiteral(".damaged.1")));
        StampProfile saved;
        QVERIFY(loadProfile(saved, f.profilePath(2)));
        QCOMPARE(saved, f.state.profile);
    }

    void optionsRefreshListAndDateButKeepEdits_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK after renaming user 2") << true;
        QTest::newRow("Cancel") << false;
    }
    void optionsRefreshListAndDateButKeepEdits()
    {
        QFETCH(bool, ok);
        MainWindowFixture f;
        QVERIFY(f.writeProfile(2, f.state.profile));
        f.state.currentUser = 2;
        MainWindow &w = f.shownWindow();
        pressArrow(f, QStringLiteral("RadUpDown"), true); // an edit not saved with Set
        auto *date = f.control<QLineEdit>(QStringLiteral("txtItem1"));
        QTest::mouseClick(date, Qt::LeftButton);
        typeText(date, QStringLiteral("mine"));
        f.redraws->clear();

        whenModalOpens([&](QDialog *dialog) {
            QCOMPARE(dialog->parentWidget(), &w);
            if (!ok) {
                dialog->reject();
                return;
            }
            dialog->findChild<QLineEdit *>(QStringLiteral("txtUser1"))
                ->setText(QStringLiteral(u"経理"));
            dialog->findChild<QAbstractButton *>(QStringLiteral("optStUp4"))->click();
            dialog->findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
        });
        clickButton(f, QStringLiteral("cmdOption"));

        auto *list = f.control<QComboBox>(QStringLiteral("cmbUserName"));
        QCOMPARE(list->count(), kUserCount);
        QCOMPARE(list->itemText(1), ok ? QStringLiteral(u"経理") : defaultUserName(2));
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(f.state.settings.defaultUser, int16_t(ok ? 5 : 1));
        QCOMPARE(f.state.currentUser, int16_t(2));     // a new start-up user switches nothing
        QCOMPARE(f.state.profile.radius, int16_t(36)); // the file was not read again
        QCOMPARE(f.state.profile.items[1].text, f.todaysDate());
        QCOMPARE(date->text(), f.todaysDate());
        // One drawing when the click took the focus from the date box, one after the dialog.
        QCOMPARE(f.redraws->count(), 2);
        QCOMPARE(w.drawnStamp(), f.expectedStamp());
        QVERIFY(f.warnings.isEmpty());
    }

    void aboutIsModalOverTheWindow()
    {
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        const StampProfile before = f.state.profile;
        bool opened = false;
        whenModalOpens([&](QDialog *dialog) {
            opened = dialog->parentWidget() == &w && dialog->isModal();
            dialog->close();
        });
        clickButton(f, QStringLiteral("cmdAbout"));
        QVERIFY(opened);
        QCOMPARE(f.state.profile, before);
    }

    void exitSavesNothing()
    {
        MainWindowFixture f;
        QVERIFY(f.writeProfile(1, f.state.profile));
        const QByteArray fileBefore = f.fileBytes(1);
        MainWindow &w = f.shownWindow();
        f.pickers->fontAnswer = FontChoice{QStringLiteral("Serif"), 20, false, false};
        clickButton(f, QStringLiteral("cmdFont0"));
        QCOMPARE(f.state.profile.items[0].fontSize, int16_t(20));
        clickButton(f, QStringLiteral("cmdEnd"));
        QVERIFY(!w.isVisible());
        QCOMPARE(f.fileBytes(1), fileBefore);
    }
};

QTEST_MAIN(TestMainWindowCommands)
#include "test_mainwindow_commands.moc"
