// SPDX-License-Identifier: MIT
// The main window as laid out: places, captions, fonts, focus order and the spinners' ranges.

#include "mainwindowfixture.h"
#include "ui/common/twips.h"
#include "ui/main/mainwindowlayout.h"
#include "ui/main/picbox.h"
#include "ui/main/updown.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace pellimo;
using namespace pellimo::testing;

class TestMainWindowLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowIsFixedAndCaptioned()
    {
        MainWindowFixture f;
        MainWindow &w = f.window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Pellimo"));
        QCOMPARE(w.size(), QSize(555, 311));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(f.control<PicBox>(QStringLiteral("PicBase"))->drawingAreaSize(), QSize(200, 200));
        QCOMPARE(w.drawnStamp().size(), QSize(200, 200));
        // The built-in icon, drawn at the sizes a title bar and a task bar ask for: red ring, white
        // middle.
        for (int side : {16, 48, 256}) {
            const QImage icon = w.windowIcon().pixmap(QSize(side, side)).toImage();
            QCOMPARE(icon.size(), QSize(side, side));
            QVERIFY(qRed(icon.pixel(side / 2, side / 10)) > 150 &&
                    qGreen(icon.pixel(side / 2, side / 10)) < 100);
            const QColor middle = icon.pixelColor(side / 2, side * 26 / 64); // above the date
            QVERIFY(middle.red() > 220 && middle.green() > 220 && middle.blue() > 220);
        }
    }

    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QString>("caption"); // null: no caption to check
        const auto row = [](const char *name, QRect r, const QString &caption = QString()) {
            QTest::newRow(name) << QString::fromLatin1(name) << r << caption;
        };
        row("Label22", {8, 8, 78, 12}, QStringLiteral(u"ユーザー切替："));
        row("cmbUserName", {8, 24, 204, 23});
        row("PicBase", {8, 64, 204, 204});
        row("Label4", {232, 8, 24, 12}, QStringLiteral(u"半径"));
        row("LBLRad", {232, 24, 33, 21});
        row("RadUpDown", {264, 24, 17, 21});
        row("Label16", {288, 32, 24, 12}, QStringLiteral("pixel"));
        row("Label17", {320, 8, 45, 12}, QStringLiteral(u"線の太さ"));
        row("LBLWt", {320, 24, 33, 21});
        row("WtUpDown", {352, 24, 17, 21});
        row("Label21", {376, 32, 24, 12}, QStringLiteral("pixel"));
        row("Label9", {232, 56, 60, 12}, QStringLiteral(u"組織名領域"));
        row("Label10", {232, 80, 34, 12}, QStringLiteral(u"上から"));
        row("LBLArea0", {272, 72, 33, 21});
        row("AreaUpdown0", {304, 72, 17, 21});
        row("Label2", {328, 80, 6, 12}, QStringLiteral("%"));
        row("Label11", {344, 56, 48, 12}, QStringLiteral(u"氏名領域"));
        row("Label15", {344, 80, 34, 12}, QStringLiteral(u"下から"));
        row("LBLArea1", {384, 72, 33, 21});
        row("AreaUpdown1", {416, 72, 17, 21});
        row("Label3", {440, 80, 6, 12}, QStringLiteral("%"));
        row("Label5", {416, 104, 120, 12}, QStringLiteral(u"表示位置微調整（pixel）"));
        row("Label1", {232, 104, 42, 12}, QStringLiteral(u"組織名："));
        row("Label8", {232, 144, 38, 12}, QStringLiteral(u"日　付："));
        row("Label14", {232, 184, 38, 12}, QStringLiteral(u"氏名１："));
        row("Label20", {232, 224, 38, 12}, QStringLiteral(u"氏名２："));
        // One row of line 2 in full; the other rows differ only in their top.
        row("txtItem2", {232, 200, 113, 21});
        row("cmdFont2", {352, 200, 41, 21}, QStringLiteral("Font..."));
        row("Label19", {408, 200, 12, 24}, QStringLiteral(u"上\n下"));
        row("LBLSet2", {424, 200, 33, 21});
        row("ScUpDown2", {456, 200, 17, 21});
        row("Label18", {480, 200, 12, 24}, QStringLiteral(u"左\n右"));
        row("LBLSet6", {496, 200, 33, 21});
        row("ScUpDown6", {528, 200, 17, 21});
        row("txtItem0", {232, 120, 113, 21});
        row("ScUpDown4", {528, 120, 17, 21});
        row("LBLSet1", {424, 160, 33, 21});
        row("Label25", {408, 240, 12, 24}, QStringLiteral(u"上\n下"));
        row("ScUpDown7", {528, 240, 17, 21});
        row("cmdSet", {232, 280, 57, 25}, QStringLiteral(u"セット"));
        row("cmdColor", {296, 280, 57, 25}, QStringLiteral(u"色..."));
        row("cmdOption", {360, 280, 57, 25}, QStringLiteral(u"ｵﾌﾟｼｮﾝ..."));
        row("cmdAbout", {424, 280, 57, 25}, QStringLiteral("About..."));
        row("cmdEnd", {488, 280, 57, 25}, QStringLiteral(u"終了"));
    }
    void controlsAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        MainWindowFixture f;
        QWidget *c = f.control(name);
        QVERIFY2(c, qPrintable(name));
        QFETCH(QRect, pixels);
        if (caption.isNull() || !qobject_cast<QLabel *>(c)) {
            QCOMPARE(c->geometry(), pixels);
        } else {
            // A caption keeps its place and may grow to show its whole text in a wider face.
            QCOMPARE(c->pos(), pixels.topLeft());
            QCOMPARE(c->size(), pixels.size().expandedTo(c->sizeHint()));
        }
        if (caption.isNull())
            return;
        if (auto *label = qobject_cast<QLabel *>(c))
            QCOMPARE(label->text(), caption);
        else
            QCOMPARE(qobject_cast<QAbstractButton *>(c)->text(), caption);
    }

    void everyControlStandsWhereTheLayoutTableSays_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        for (const ControlPlace &p : kMainWindowLayout)
            QTest::newRow(p.name) << QString::fromLatin1(p.name)
                                  << twipsRect(p.left, p.top, p.width, p.height);
    }
    void everyControlStandsWhereTheLayoutTableSays()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        MainWindowFixture f;
        QWidget *c = f.control(name);
        QVERIFY2(c, qPrintable(name));
        QCOMPARE(controlPlace(name), place);
        if (qobject_cast<QLabel *>(c) && name.startsWith(QStringLiteral("Label"))) {
            QCOMPARE(c->pos(), place.topLeft()); // a caption may grow to fit its text
            QCOMPARE(c->size(), place.size().expandedTo(c->sizeHint()));
        } else {
            QCOMPARE(c->geometry(), place);
        }
    }

    // No control of the window is placed from anywhere but the table.
    void layoutTableHoldsEveryControl()
    {
        MainWindowFixture f;
        QStringList missing;
        for (const QWidget *c : f.window().findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (controlPlace(c->objectName()).isNull())
                missing << c->objectName();
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
        QCOMPARE(f.window().size(),
                 QSize(twipsToPixels(kMainWindowWidth), twipsToPixels(kMainWindowHeight)));
    }

    void fieldsUseTheirFontAndLook_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"LBLRad", "LBLWt", "LBLArea1", "LBLSet7", "txtItem0", "txtItem3", "cmbUserName"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void fieldsUseTheirFontAndLook()
    {
        QFETCH(QString, name);
        MainWindowFixture f;
        QWidget *c = f.control(name);
        QVERIFY(c);
        QCOMPARE(c->font().family(), QStringLiteral(u"ＭＳ Ｐゴシック"));
        QCOMPARE(c->font().pointSizeF(), 11.25);
        QCOMPARE(c->font().weight(), QFont::Normal);
        if (auto *label = qobject_cast<QLabel *>(c)) {
            QVERIFY(label->alignment() & Qt::AlignRight);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
            QCOMPARE(label->frameWidth(), 1);
        }
    }

    void spinnersHoldTheirRanges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::newRow("radius") << QStringLiteral("RadUpDown") << 20 << 50;
        QTest::newRow("line width") << QStringLiteral("WtUpDown") << 1 << 5;
        QTest::newRow("top band") << QStringLiteral("AreaUpdown0") << 10 << 40;
        QTest::newRow("bottom band") << QStringLiteral("AreaUpdown1") << 10 << 40;
        QTest::newRow("vertical offset") << QStringLiteral("ScUpDown3") << -10 << 10;
        QTest::newRow("horizontal offset") << QStringLiteral("ScUpDown4") << -10 << 10;
    }
    void spinnersHoldTheirRanges()
    {
        MainWindowFixture f;
        QFETCH(QString, name);
        const UpDown *s = f.control<UpDown>(name);
        QVERIFY(s);
        QFETCH(int, minimum);
        QCOMPARE(s->minimum(), minimum);
        QFETCH(int, maximum);
        QCOMPARE(s->maximum(), maximum);
    }

    void setHasTheFocusThenTabVisitsTheTextBoxes()
    {
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        QCOMPARE(QApplication::focusWidget(), f.control(QStringLiteral("cmdSet")));
        for (int i = 0; i < kItemCount; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto *box = f.control<QLineEdit>(QStringLiteral("txtItem%1").arg(i));
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(box->selectedText(), box->text()); // focus selects the whole text
        }
        QCOMPARE(f.control<QLineEdit>(QStringLiteral("txtItem1"))->inputMethodHints(),
                 Qt::ImhPreferLatin);
        w.close();
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "test_mainwindow_layout.moc"
