// SPDX-License-Identifier: MIT
#include "model/warning.h"
#include "storage/settingsfile.h"
#include "ui/dialogs/optionsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace pellimo;
using namespace Qt::StringLiterals;

namespace {

const QDateTime kMorning(QDate(2026, 12, 7), QTime(9, 5, 3));

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the text of a box the way a user does: select everything, then type over it.
void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    if (!text.isEmpty()) // one key event carrying the whole text, as an input method sends it
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
}

// One settings field in the form the settings file writes it.
QString field(const AppSettings &s, const QString &key)
{
    if (key == QLatin1String("Default"))
        return QString::number(s.defaultUser);
    if (key == QLatin1String("DateFormat"))
        return s.dateFormat;
    if (key == QLatin1String("AutoClose"))
        return s.autoClose ? QStringLiteral("1") : QStringLiteral("0");
    return s.userNames[key.mid(4).toInt() - 1]; // User1 .. User5
}

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    AppSettings settings;
    QDateTime clock = kMorning;
    QStringList warnings;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<OptionsDialog> dlg;

    template <typename T> T *child(const QString &name)
    {
        T *w = dlg->findChild<T *>(name);
        if (w == nullptr)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    void open()
    {
        dlg = std::make_unique<OptionsDialog>(
            settings, path, [this] { return clock; }, owner.get());
        dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        path = settingsFilePath(dir->path());
        loadDefaultSettings(settings);
        QVERIFY(saveSettings(settings, path));
        clock = kMorning;
        warnings.clear();
        setWarningHandler([this](const QString &text) { warnings << text; });
        owner = std::make_unique<QWidget>();
        owner->setGeometry(40, 30, 600, 500);
        owner->show();
    }

    void cleanup()
    {
        dlg.reset();
        owner.reset();
        setWarningHandler({});
    }

    void opensWithTheSettings_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("defaultUser");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("autoClose");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<int>("checked"); // the selected option button
        const QStringList defaults = {u"ユーザー1"_s, u"ユーザー2"_s, u"ユーザー3"_s,
                                      u"ユーザー4"_s, u"ユーザー5"_s};
        QTest::newRow("defaults") << defaults << 1 << u"ee.mm.dd"_s << false << u"08.12.07"_s << 0;
        QTest::newRow("era pattern, user 4, auto-close")
            << QStringList{u"山田"_s, u""_s, u"x"_s, u"鈴木 花子"_s, u"ユーザー5"_s} << 4
            << u"gggee年m月d日"_s << true << u"令和08年12月7日"_s << 3;
        QTest::newRow("empty pattern, user 5")
            << defaults << 5 << QString() << false << QString() << 4;
        // A record holding no user 1..5 shows user 1 instead of reaching past the buttons.
        QTest::newRow("start-up user 0") << defaults << 0 << u"yyyy"_s << false << u"2026"_s << 0;
        QTest::newRow("start-up user 6") << defaults << 6 << u"yyyy"_s << false << u"2026"_s << 0;
    }
    void opensWithTheSettings()
    {
        QFETCH(QStringList, names);
        QFETCH(int, defaultUser);
        QFETCH(QString, pattern);
        QFETCH(bool, autoClose);
        QFETCH(QString, sample);
        QFETCH(int, checked);
        for (int i = 0; i < 5; ++i)
            settings.userNames[i] = names[i];
        settings.defaultUser = int16_t(defaultUser);
        settings.dateFormat = pattern;
        settings.autoClose = autoClose;
        open();

        QCOMPARE(dlg->windowTitle(), u"Pellimo"_s);
        QCOMPARE(dlg->size(), QSize(384, 313));
        QVERIFY(dlg->isModal());
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(child<QLineEdit>(u"txtUser%1"_s.arg(i))->text(), names[i]);
            QCOMPARE(child<QRadioButton>(u"optStUp%1"_s.arg(i))->isChecked(), i == checked);
            QCOMPARE(child<QLabel>(u"LBLUser%1"_s.arg(i))->text(),
                     u"ユーザー"_s + QChar(char16_t(u'１' + i)));
        }
        QCOMPARE(child<QLineEdit>(u"txtDformat"_s)->text(), pattern);
        QCOMPARE(child<QLabel>(u"LBLDFSample"_s)->text(), sample);
        QCOMPARE(child<QCheckBox>(u"chkAutoClose"_s)->isChecked(), autoClose);
        // The first name box has the focus with its text selected, so typing replaces it.
        auto *first = child<QLineEdit>(u"txtUser0"_s);
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(first->selectedText(), names[0]);
    }

    void sampleFollowsEveryEditOfThePattern()
    {
        settings.dateFormat = u"yyyy-mm-dd"_s;
        open();
        auto *box = child<QLineEdit>(u"txtDformat"_s);
        auto *sample = child<QLabel>(u"LBLDFSample"_s);
        QCOMPARE(sample->text(), u"2026-12-07"_s);
        clock = QDateTime(QDate(2027, 1, 1), QTime(0, 0));
        QCOMPARE(sample->text(), u"2026-12-07"_s); // the moment of the last edit stays
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, u"!"_s);
        QCOMPARE(sample->text(), u"2027-01-01!"_s);
        retype(box, u"--"_s);
        QCOMPARE(sample->text(), u"--"_s);
        retype(box, QString());
        QCOMPARE(sample->text(), QString());
        box->insert(u"yy"_s); // pasted text counts as an edit too
        QCOMPARE(sample->text(), u"27"_s);
    }

    // OK stores what the controls hold, in memory and in the file; everything else stays.
    void okStoresTheControls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input"); // new text of a box; ignored for buttons (clicked)
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty pattern")
            << u"txtDformat"_s << QString() << u"DateFormat"_s << QString();
        QTest::newRow("typed pattern")
            << u"txtDformat"_s << u"ggge年"_s << u"DateFormat"_s << u"ggge年"_s;
        QTest::newRow("third option") << u"optStUp2"_s << QString() << u"Default"_s << u"3"_s;
        QTest::newRow("fifth option") << u"optStUp4"_s << QString() << u"Default"_s << u"5"_s;
        QTest::newRow("renamed user 2")
            << u"txtUser1"_s << u"山田 太郎"_s << u"User2"_s << u"山田 太郎"_s;
        QTest::newRow("emptied user 5") << u"txtUser4"_s << QString() << u"User5"_s << QString();
        QTest::newRow("auto-close") << u"chkAutoClose"_s << QString() << u"AutoClose"_s << u"1"_s;
        // Look-alikes that input methods type become the CP932 characters as they are typed.
        QTest::newRow("wave dash in a name")
            << u"txtUser1"_s << u"営業〜東京"_s << u"User2"_s << u"営業～東京"_s;
        QTest::newRow("em dash and minus in the pattern")
            << u"txtDformat"_s << u"yyyy—mm−dd"_s << u"DateFormat"_s << u"yyyy―mm－dd"_s;
    }
    void okStoresTheControls()
    {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFile extra(path);
        QVERIFY(extra.open(QIODevice::Append));
        extra.write("[Mine]\r\nColour=blue\r\n");
        extra.close();
        open();
        if (auto *box = dlg->findChild<QLineEdit *>(control))
            retype(box, input);
        else
            QTest::mouseClick(child<QAbstractButton>(control), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(u"cmdOK"_s), Qt::LeftButton);

        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(field(settings, key), stored);
        AppSettings expected;
        loadDefaultSettings(expected);
        QCOMPARE(field(expected, key) == stored, false); // the row really changes something
        AppSettings fromFile;
        loadSettings(fromFile, path);
        QCOMPARE(fromFile, settings);
        QCOMPARE(field(fromFile, key), stored);
        QVERIFY(readBytes(path).contains("[Mine]\r\nColour=blue\r\n"));
        QVERIFY(warnings.isEmpty());
    }

    // Enter in any text box acts as OK; Escape, Cancel and the close box change nothing.
    void enterEscapeCancelAndCloseBox_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key"); // 0: click Cancel, -1: the title-bar close box
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Return in a name box") << u"txtUser3"_s << int(Qt::Key_Return) << true;
        QTest::newRow("Enter in the pattern box") << u"txtDformat"_s << int(Qt::Key_Enter) << true;
        QTest::newRow("Return on the check box")
            << u"chkAutoClose"_s << int(Qt::Key_Return) << true;
        QTest::newRow("Escape in the pattern box")
            << u"txtDformat"_s << int(Qt::Key_Escape) << false;
        QTest::newRow("Escape on OK") << u"cmdOK"_s << int(Qt::Key_Escape) << false;
        QTest::newRow("Cancel") << u"txtUser0"_s << 0 << false;
        QTest::newRow("close box") << u"txtUser0"_s << -1 << false;
    }
    void enterEscapeCancelAndCloseBox()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, accepted);
        const AppSettings before = settings;
        const QByteArray fileBefore = readBytes(path);
        open();
        retype(child<QLineEdit>(u"txtDformat"_s), u"yyyy"_s);
        QTest::mouseClick(child<QRadioButton>(u"optStUp1"_s), Qt::LeftButton);
        auto *target = child<QWidget>(focus);
        target->setFocus();
        if (key > 0)
            QTest::keyClick(target, Qt::Key(key));
        else if (key == 0)
            QTest::mouseClick(child<QPushButton>(u"cmdCancel"_s), Qt::LeftButton);
        else
            dlg->close();

        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        if (accepted) {
            QCOMPARE(settings.dateFormat, u"yyyy"_s);
            QCOMPARE(settings.defaultUser, int16_t(2));
            QVERIFY(readBytes(path) != fileBefore);
        } else {
            QCOMPARE(settings, before);
            QCOMPARE(readBytes(path), fileBefore);
        }
    }

    // A settings file that cannot take the edits: the user is told, memory and file stay as they
    // were, and the dialog stays open with the edits so that they can be corrected.
    void okThatCannotSaveKeepsTheDialogOpen()
    {
        const AppSettings before = settings;
        const QByteArray fileBefore = readBytes(path);
        open();
        auto *name = child<QLineEdit>(u"txtUser0"_s);
        // No place for it in the file's code page. Typed, it would be taken out at once (see
        // test_typingnotice); put there, it is refused by the save.
        name->setText(u"\U0001F600"_s);
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(!warnings[0].isEmpty());
        QVERIFY(dlg->isVisible());
        QCOMPARE(settings, before);
        QCOMPARE(readBytes(path), fileBefore);
        QCOMPARE(name->text(), u"\U0001F600"_s);

        retype(name, u"佐藤"_s);
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(settings.userNames[0], u"佐藤"_s);

        path = dir->filePath(u"pellimo.ini/pellimo.ini"_s); // parent is a file
        open();
        QTest::mouseClick(child<QPushButton>(u"cmdOK"_s), Qt::LeftButton);
        QCOMPARE(warnings.size(), 2);
        QVERIFY(dlg->isVisible());
    }

    // A pattern whose date a profile file cannot hold is refused on OK like an unstorable name:
    // the message names the characters, nothing is stored, the dialog stays open.
    void okRefusesADateTheProfileCannotHold_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("named"); // in the message; empty: accepted
        QTest::newRow("escaped double quote") << uR"(ee\"mm)"_s << u"「\"」"_s;
        QTest::newRow("outside CP932") << u"ee\u00E9mm"_s << u"「\u00E9」"_s;
        QTest::newRow("quotes that only enclose a literal") << uR"("年"ee)"_s << QString();
        QTest::newRow("the default") << u"ee.mm.dd"_s << QString();
    }
    void okRefusesADateTheProfileCannotHold()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, named);
        const AppSettings before = settings;
        const QByteArray fileBefore = readBytes(path);
        open();
        retype(child<QLineEdit>(u"txtDformat"_s), pattern);
        QTest::mouseClick(child<QPushButton>(u"cmdOK"_s), Qt::LeftButton);
        if (named.isEmpty()) {
            QCOMPARE(warnings, QStringList());
            QVERIFY(!dlg->isVisible());
            QCOMPARE(settings.dateFormat, pattern);
            return;
        }
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains(named), qPrintable(warnings[0]));
        QVERIFY(warnings[0].contains(u"DateFormat"_s));
        QVERIFY(dlg->isVisible());
        QCOMPARE(settings, before);
        QCOMPARE(readBytes(path), fileBefore);
    }

    void reloadsEachTimeItIsShown()
    {
        open();
        retype(child<QLineEdit>(u"txtUser0"_s), u"typed"_s);
        retype(child<QLineEdit>(u"txtDformat"_s), QString());
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        settings.userNames[0] = u"from memory"_s;
        dlg->show();
        QCOMPARE(child<QLineEdit>(u"txtUser0"_s)->text(), u"from memory"_s);
        QCOMPARE(child<QLineEdit>(u"txtDformat"_s)->text(), u"ee.mm.dd"_s);
        QCOMPARE(child<QLabel>(u"LBLDFSample"_s)->text(), u"08.12.07"_s);
    }

    // Entering a box selects its whole text, however the focus comes; typing replaces it.
    void enteringABoxSelectsItsText_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("how"); // 0: Tab, 1: Shift+Tab, 2: set from code
        QTest::newRow("Tab into user 2") << u"txtUser0"_s << u"txtUser1"_s << 0;
        QTest::newRow("Tab into the pattern") << u"optStUp4"_s << u"txtDformat"_s << 0;
        QTest::newRow("Shift+Tab into the pattern") << u"chkAutoClose"_s << u"txtDformat"_s << 1;
        QTest::newRow("Shift+Tab into user 5") << u"optStUp0"_s << u"txtUser4"_s << 1;
        QTest::newRow("from code into user 3") << u"cmdOK"_s << u"txtUser2"_s << 2;
        QTest::newRow("from code into the pattern") << u"txtUser0"_s << u"txtDformat"_s << 2;
    }
    void enteringABoxSelectsItsText()
    {
        QFETCH(QString, from);
        QFETCH(QString, box);
        QFETCH(int, how);
        open();
        auto *target = child<QLineEdit>(box);
        target->deselect();
        child<QWidget>(from)->setFocus();
        if (how == 2)
            target->setFocus(Qt::OtherFocusReason);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                            how == 1 ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), target);
        QCOMPARE(target->selectedText(), target->text());
        QTest::keyClicks(target, u"Z"_s);
        QCOMPARE(target->text(), u"Z"_s);
    }

    void tabOrderAndPlacement()
    {
        open();
        QStringList order;
        QWidget *w = child<QWidget>(u"txtUser0"_s);
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w->objectName() != u"txtUser0"_s);
        QCOMPARE(order.join(u' '), u"txtUser0 txtUser1 txtUser2 txtUser3 txtUser4 optStUp0 "
                                   "optStUp1 optStUp2 optStUp3 optStUp4 txtDformat chkAutoClose "
                                   "cmdOK cmdCancel"_s);
        QCOMPARE(child<QPushButton>(u"cmdOK"_s)->geometry(), QRect(288, 8, 89, 25));
        QCOMPARE(child<QPushButton>(u"cmdCancel"_s)->geometry(), QRect(288, 40, 89, 25));
        QCOMPARE(child<QLineEdit>(u"txtUser3"_s)->geometry(), QRect(80, 108, 121, 18));
        QCOMPARE(child<QLineEdit>(u"txtDformat"_s)->geometry(), QRect(72, 21, 169, 18));
        const QRect option = child<QRadioButton>(u"optStUp4"_s)->geometry();
        QCOMPARE(option.left(), 224);
        QVERIFY(qAbs(option.top() + option.height() / 2 - (134 + 6)) <= 1); // centred on its row
        QCOMPARE(child<QLabel>(u"LBLDFSample"_s)->parentWidget()->geometry(),
                 QRect(8, 176, 273, 73));
        // No text is cut off: every label, button and check box is as wide as its text needs.
        for (QWidget *c : dlg->findChildren<QWidget *>()) {
            if (qobject_cast<QLabel *>(c) || qobject_cast<QAbstractButton *>(c)) {
                QVERIFY2(c->width() >= c->sizeHint().width(), qPrintable(c->objectName()));
                QVERIFY2(c->height() >= c->sizeHint().height(), qPrintable(c->objectName()));
                QVERIFY2(c->parentWidget()->rect().contains(c->geometry()),
                         qPrintable(c->objectName()));
            }
        }
        // Centred on its owner.
        const QPoint off = dlg->frameGeometry().center() - owner->frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 2, qPrintable(u"%1,%2"_s.arg(off.x()).arg(off.y())));
    }

    void runsModallyUnderExec()
    {
        dlg = std::make_unique<OptionsDialog>(
            settings, path, [this] { return clock; }, owner.get());
        QTimer::singleShot(0, this, [this] {
            QTest::mouseClick(child<QRadioButton>(u"optStUp2"_s), Qt::LeftButton);
            QTest::keyClick(child<QLineEdit>(u"txtUser0"_s), Qt::Key_Return);
        });
        QCOMPARE(dlg->exec(), int(QDialog::Accepted));
        QCOMPARE(settings.defaultUser, int16_t(3));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "test_optionsdialog.moc"
