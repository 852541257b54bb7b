// SPDX-License-Identifier: MIT
// Qt's own texts (the font and colour pickers, the standard buttons) in the user's language. The
// test runs under LANG=ja_JP.UTF-8 (tests/app/CMakeLists.txt). Set PELLIMO_SCREENSHOTS to a folder
// to keep the font picker as rendered.

#include "app/translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDialog>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <memory>

using namespace pellimo;

class TestTranslations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The texts a locale gets, and the system locale of this run (LANG) giving Japanese.
    void pickerTexts_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        const QLocale system = QLocale::system();
        QTest::newRow("system: font picker")
            << system << QStringLiteral("QFontDialog") << QStringLiteral("Select Font")
            << QStringLiteral(u"フォントの選択");
        QTest::newRow("system: colour picker")
            << system << QStringLiteral("QColorDialog") << QStringLiteral("Select Color")
            << QStringLiteral(u"色を選択");
        QTest::newRow("system: Cancel")
            << system << QStringLiteral("QPlatformTheme") << QStringLiteral("Cancel")
            << QStringLiteral(u"キャンセル");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << QStringLiteral("QFontDialog") << QStringLiteral("Select Font")
                                << QStringLiteral(u"Schriftart auswählen");
        QTest::newRow("C stays English")
            << QLocale::c() << QStringLiteral("QFontDialog") << QStringLiteral("Select Font")
            << QStringLiteral("Select Font");
    }

    void pickerTexts()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(QLocale::system().language(), QLocale::Japanese); // the run's set-up
        const std::unique_ptr<QTranslator> translator(installQtTranslations(*qApp, locale));
        QCOMPARE(translator != nullptr, expected != source);
        QCOMPARE(QCoreApplication::translate(context.toLatin1().constData(),
                                             source.toLatin1().constData()),
                 expected);
    }

    // The font picker the window opens, as the user sees it: title and buttons in Japanese.
    void fontPickerInJapanese()
    {
        const std::unique_ptr<QTranslator> translator(installQtTranslations(*qApp));
        QVERIFY(translator);
        QFontDialog picker;
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QCOMPARE(picker.windowTitle(), QStringLiteral(u"フォントの選択"));
        auto *buttons = picker.findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral(u"キャンセル"));
        const QString folder = qEnvironmentVariable("PELLIMO_SCREENSHOTS");
        if (!folder.isEmpty())
            picker.grab().save(QDir(folder).filePath(QStringLiteral("fontpicker-ja.png")));
    }
};

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
