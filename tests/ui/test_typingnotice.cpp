// SPDX-License-Identifier: MIT
// The notice for a character that cannot be stored, as a user meets it: a refused character typed
// into one box, then a click on the next box and typing there, then a click on the command
// button. Clicks go where the window system sends them (the top-level window under the pointer,
// then the widget under it), keys go to whatever has the focus.

#include "mainwindowfixture.h"
#include "model/appsettings.h"
#include "storage/settingsfile.h"
#include "ui/common/windownote.h"
#include "ui/dialogs/optionsdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// A click at a point of the screen: the top-level window there takes it, and in it the widget
// under the point (a widget that lets clicks through is passed over).
void userClick(const QPoint &global)
{
    QWidget *top = QApplication::topLevelAt(global);
    QVERIFY2(top != nullptr, "no window under the pointer");
    QWindow *handle = top->windowHandle();
    QVERIFY(handle != nullptr);
    QTest::mouseClick(handle, Qt::LeftButton, {}, handle->mapFromGlobal(global));
}

void userClick(const QWidget *control)
{
    userClick(control->mapToGlobal(control->rect().center()));
}

// Typed into whatever has the focus, as an input method commits it.
void userTypes(const QString &text)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus != nullptr, "nothing has the focus");
    typeText(focus, text);
}

// The controls of `window` (what takes a click or the focus) that `note` covers, by name.
QStringList controlsUnder(const QWidget *window, const QWidget *note)
{
    QStringList covered;
    const QRect place(note->mapTo(window, QPoint(0, 0)), note->size());
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (w == note || !w->isVisibleTo(window) || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (place.intersects(QRect(w->mapTo(window, QPoint(0, 0)), w->size())))
            covered << w->objectName();
    }
    return covered;
}

// What every shown notice must be: inside its window, over no control, letting clicks through,
// naming the refused characters.
void checkNotice(const QWidget *window, const QString &refused)
{
    const WindowNote *note = WindowNote::shownIn(window);
    QVERIFY2(note != nullptr, "no notice is shown");
    QVERIFY2(note->text().contains(refused), qPrintable(note->text()));
    QVERIFY2(window->rect().contains(note->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                       .arg(note->x())
                                                                       .arg(note->y())
                                                                       .arg(note->width())
                                                                       .arg(note->height())));
    const QStringList covered = controlsUnder(window, note);
    QVERIFY2(covered.isEmpty(), qPrintable(covered.join(u' ')));
    QVERIFY(note->focusPolicy() == Qt::NoFocus);
    // A click on the notice itself reaches what lies under it.
    QVERIFY(QApplication::widgetAt(note->mapToGlobal(note->rect().center())) != note);
}

QRect r(int x, int y, int w, int h)
{
    return QRect(x, y, w, h);
}

} // namespace

class TestTypingNotice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The place of a note: never over a control, near its box, over as little of the pictures
    // and labels as it can. Rows: the window, the box, the other controls, the content.
    void placeOfANote_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QList<QRect>>("controls");
        QTest::addColumn<QList<QRect>>("content");
        QTest::addColumn<QRect>("avoid"); // content a free place nearby leaves uncovered
        const QList<QRect> column = {r(150, 60, 100, 20), r(150, 100, 100, 20),
                                     r(300, 170, 80, 25)};
        QTest::newRow("room to the right")
            << r(150, 20, 100, 20) << column << QList<QRect>{} << QRect();
        QTest::newRow("a picture on the left, room to the right")
            << r(150, 20, 100, 20) << column << QList<QRect>{r(0, 0, 140, 200)}
            << r(0, 0, 140, 200);
        QTest::newRow("a box between two boxes")
            << r(150, 60, 100, 20)
            << QList<QRect>{r(150, 20, 100, 20), r(150, 100, 100, 20), r(260, 0, 140, 200)}
            << QList<QRect>{} << QRect();
        QTest::newRow("controls all round, a label beside")
            << r(150, 60, 100, 20)
            << QList<QRect>{r(150, 20, 100, 20), r(150, 100, 100, 20), r(260, 0, 140, 200)}
            << QList<QRect>{r(60, 60, 80, 20)} << QRect();
    }
    void placeOfANote()
    {
        QFETCH(QRect, anchor);
        QFETCH(QList<QRect>, controls);
        QFETCH(QList<QRect>, content);
        QFETCH(QRect, avoid);
        const QRect window(0, 0, 400, 200);
        const QSize size(120, 40);
        const QRect place = placeNote(window, anchor, {size}, controls + QList{anchor}, content);
        QCOMPARE(place.size(), size);
        QVERIFY(window.contains(place));
        QVERIFY(!place.intersects(anchor));
        for (const QRect &c : controls)
            QVERIFY2(!place.intersects(c),
                     qPrintable(QStringLiteral("over %1,%2").arg(c.x()).arg(c.y())));
        QVERIFY(!place.intersects(avoid));
        // Beside the box, not across the window.
        const QRect near = anchor.adjusted(-size.width() - 10, -size.height() - 10,
                                           size.width() + 10, size.height() + 10);
        QVERIFY(near.contains(place));
    }

    // With no free place the note still leaves its box and the control after it clear.
    void noFreePlace()
    {
        const QRect window(0, 0, 200, 100);
        const QRect anchor(10, 60, 100, 20);
        const QRect next(10, 82, 100, 16);
        const QList<QRect> everywhere = {r(0, 0, 200, 58), anchor, next, r(112, 58, 88, 42)};
        const QRect place = placeNote(window, anchor, {QSize(120, 30)}, everywhere, {});
        QVERIFY(window.contains(place));
        QVERIFY(!place.intersects(anchor));
        QVERIFY(!place.intersects(next));
    }

    // In the main window: a refused character in one line, then a click on the line below, typing
    // there, and Set. The text lands in the clicked box and Set saves both lines.
    void mainWindowNextBoxAndSet_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("refused");
        QTest::newRow("organisation, emoji") << 0 << QStringLiteral(u"😀");
        QTest::newRow("date, accented letter") << 1 << QStringLiteral(u"é");
        QTest::newRow("name 1, double quote") << 2 << QStringLiteral("\"");
        QTest::newRow("name 2 (Set follows), snowman") << 3 << QStringLiteral(u"☃");
    }
    void mainWindowNextBoxAndSet()
    {
        QFETCH(int, line);
        QFETCH(QString, refused);
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem%1").arg(line));
        // The control the user goes to next: the box below, or Set after the last line.
        QWidget *next = line < 3 ? f.control<QLineEdit>(QStringLiteral("txtItem%1").arg(line + 1))
                                 : f.control(QStringLiteral("cmdSet"));

        userClick(box);
        QCOMPARE(QApplication::focusWidget(), box);
        userTypes(QStringLiteral(u"総務") + refused);
        QCOMPARE(box->text(), QStringLiteral(u"総務"));
        checkNotice(&w, refused);
        QVERIFY(f.warnings.isEmpty());

        userClick(next);
        QCOMPARE(QApplication::focusWidget(), next);
        if (auto *nextBox = qobject_cast<QLineEdit *>(next)) {
            userTypes(QStringLiteral("R8.12.24"));
            QCOMPARE(nextBox->text(), QStringLiteral("R8.12.24")); // the click selected its text
            QCOMPARE(box->text(), QStringLiteral(u"総務"));        // the box above kept its own
            userClick(f.control(QStringLiteral("cmdSet")));
        }

        QVERIFY2(w.lastSetSucceeded(), "Set did not run");
        StampProfile saved;
        QVERIFY(loadProfile(saved, f.profilePath(1)));
        QCOMPARE(saved.items[size_t(line)].text, QStringLiteral(u"総務"));
        if (line < 3)
            QCOMPARE(saved.items[size_t(line + 1)].text, QStringLiteral("R8.12.24"));
        QVERIFY(f.warnings.isEmpty());
    }

    // A click right after the notice on a control below the box reaches it at once, wherever the
    // notice stands: every focusable control of the window, one at a time.
    void everyControlTakesTheClickAfterANotice()
    {
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem0"));
        for (QWidget *control : w.findChildren<QWidget *>()) {
            if (!control->isVisible() || control->focusPolicy() == Qt::NoFocus || control == box ||
                qobject_cast<QPushButton *>(control) != nullptr ||
                qobject_cast<QComboBox *>(control) != nullptr)
                continue; // buttons open dialogs or end the window, the list opens a popup
            userClick(box);
            userTypes(QStringLiteral(u"☃"));
            QVERIFY(WindowNote::shownIn(&w) != nullptr);
            userClick(control);
            QVERIFY2(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()),
                     qPrintable(control->objectName()));
        }
    }

    // The notice goes by itself after a few seconds, and a new one replaces the one shown.
    void noticeGoesAfterAWhile()
    {
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        auto *box = f.control<QLineEdit>(QStringLiteral("txtItem2"));
        userClick(box);
        userTypes(QStringLiteral(u"☃"));
        userTypes(QStringLiteral(u"😀"));
        QCOMPARE(w.findChildren<WindowNote *>().size(), 1);
        WindowNote *note = WindowNote::shownIn(&w);
        QVERIFY(note != nullptr);
        QVERIFY(note->text().contains(QStringLiteral(u"😀")));
        QVERIFY(!note->text().contains(QStringLiteral(u"☃")));
        QVERIFY(QTest::qWaitFor([&] { return !note->isVisible(); }, 15000));
        QCOMPARE(QApplication::focusWidget(), box);
    }

    // In the options dialog: a refused character in a name, a click on the name below and
    // typing there, then OK. Both names are stored as shown.
    void optionsDialogNextBoxAndOk_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<QString>("refused");
        QTest::newRow("user 1, emoji") << 0 << QStringLiteral(u"😀");
        QTest::newRow("user 2, snowman") << 1 << QStringLiteral(u"☃");
        QTest::newRow("user 4, accented letter") << 3 << QStringLiteral(u"é");
    }
    void optionsDialogNextBoxAndOk()
    {
        QFETCH(int, user);
        QFETCH(QString, refused);
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        AppSettings settings;
        loadDefaultSettings(settings);
        QStringList warnings;
        const WarningHandler previous =
            setWarningHandler([&](const QString &text) { warnings << text; });
        QWidget owner;
        owner.setGeometry(40, 30, 600, 500);
        owner.show();
        OptionsDialog dialog(settings, path, &fixedNow, &owner);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));

        auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("txtUser%1").arg(user));
        auto *next = dialog.findChild<QLineEdit *>(QStringLiteral("txtUser%1").arg(user + 1));
        userClick(box);
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier); // the first box had the focus
        userTypes(QStringLiteral(u"山田") + refused);
        QCOMPARE(box->text(), QStringLiteral(u"山田"));
        checkNotice(&dialog, refused);

        userClick(next);
        QCOMPARE(QApplication::focusWidget(), next);
        userTypes(QStringLiteral(u"鈴木"));
        QCOMPARE(next->text(), QStringLiteral(u"鈴木"));
        QCOMPARE(box->text(), QStringLiteral(u"山田"));
        userClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")));

        setWarningHandler(previous);
        QCOMPARE(warnings, QStringList());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.userNames[user], QStringLiteral(u"山田"));
        QCOMPARE(settings.userNames[user + 1], QStringLiteral(u"鈴木"));
    }
};

QTEST_MAIN(TestTypingNotice)
#include "test_typingnotice.moc"
