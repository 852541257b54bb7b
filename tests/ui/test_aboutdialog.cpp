// SPDX-License-Identifier: MIT
#include "ui/dialogs/aboutdialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace pellimo;
using namespace Qt::StringLiterals;

class TestAboutDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> owner;
    std::unique_ptr<AboutDialog> box;

    void open()
    {
        box = std::make_unique<AboutDialog>(owner.get());
        box->show();
        QVERIFY(QTest::qWaitForWindowActive(box.get()));
    }

private Q_SLOTS:
    void init()
    {
        QCoreApplication::setApplicationVersion(u"1.00"_s);
        owner = std::make_unique<QWidget>();
        owner->setGeometry(10, 10, 300, 200); // off the screen's centre
        owner->show();
    }
    void cleanup()
    {
        box.reset();
        owner.reset();
    }

    void showsTheProgramAndItsVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("product");
        QTest::newRow("the program's version") << u"1.00"_s << u"Pellimo v1.00"_s;
        QTest::newRow("another version") << u"2.17"_s << u"Pellimo v2.17"_s;
        QTest::newRow("none set: the build's") << QString() << u"Pellimo v1.00"_s;
    }
    void showsTheProgramAndItsVersion()
    {
        QFETCH(QString, version);
        QFETCH(QString, product);
        QCoreApplication::setApplicationVersion(version);
        open();
        QCOMPARE(box->windowTitle(), u"Pellimoについて"_s);
        QCOMPARE(box->size(), QSize(274, 126));
        QVERIFY(box->isModal());
        QStringList texts;
        for (QLabel *label : box->findChildren<QLabel *>())
            texts << label->text();
        QVERIFY2(texts.contains(product), qPrintable(texts.join(u" | ")));
        QVERIFY(texts.filter(u"Pellimo developers"_s).size() == 1);
        auto *address = box->findChild<QLineEdit *>();
        QVERIFY(address != nullptr);
        QCOMPARE(address->text(), u"https://pellimo.example/"_s);
        QVERIFY(address->isReadOnly());
        QCOMPARE(address->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        // Nothing is cut off or outside the box.
        for (QWidget *c : box->findChildren<QWidget *>()) {
            QVERIFY2(c->width() >= c->sizeHint().width() || c == address,
                     qPrintable(c->objectName()));
            QVERIFY2(c->height() >= c->fontMetrics().height(), qPrintable(c->objectName()));
            QVERIFY2(box->rect().contains(c->geometry()), qPrintable(c->objectName()));
        }
        QVERIFY(address->width() >= address->fontMetrics().horizontalAdvance(address->text()));
    }

    // Close has the focus, so Enter closes the box; Escape does not, the close box does.
    void keysAndCloseBox_data()
    {
        QTest::addColumn<int>("key"); // -1: the title-bar close box
        QTest::addColumn<bool>("closes");
        QTest::newRow("Return") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("close box") << -1 << true;
    }
    void keysAndCloseBox()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        open();
        auto *close = box->findChild<QPushButton *>(u"cmdClose"_s);
        QCOMPARE(close->text(), u"Close"_s);
        QCOMPARE(QApplication::focusWidget(), close);
        if (key > 0)
            QTest::keyClick(close, Qt::Key(key));
        else
            box->close();
        QCOMPARE(box->isVisible(), !closes);
    }

    void escapeInTheAddressBoxLeavesItOpen()
    {
        open();
        auto *address = box->findChild<QLineEdit *>();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), address);
        QTest::keyClick(address, Qt::Key_Escape);
        QVERIFY(box->isVisible());
        QTest::keyClick(address, Qt::Key_Return); // Close stays the default button
        QVERIFY(!box->isVisible());
    }

    void centredOnTheScreenNotTheOwner()
    {
        open();
        const QPoint off =
            box->frameGeometry().center() - box->screen()->availableGeometry().center();
        QVERIFY2(off.manhattanLength() <= 2, qPrintable(u"%1,%2"_s.arg(off.x()).arg(off.y())));
    }

    void runsModallyUnderExec()
    {
        box = std::make_unique<AboutDialog>(owner.get());
        QTimer::singleShot(0, this, [this] {
            QTest::keyClick(box->findChild<QPushButton *>(u"cmdClose"_s), Qt::Key_Escape);
            QVERIFY(box->isVisible());
            QTest::keyClick(box->findChild<QPushButton *>(u"cmdClose"_s), Qt::Key_Return);
        });
        box->exec();
        QVERIFY(!box->isVisible());
    }
};

QTEST_MAIN(TestAboutDialog)
#include "test_aboutdialog.moc"
