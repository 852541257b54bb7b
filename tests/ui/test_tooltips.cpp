// SPDX-License-Identifier: MIT
// The words a user finds on hovering: what each spinner moves, what the preview's menu does, and
// the date pattern's tokens with what they give.

#include "japanesetexts.h"
#include "mainwindowfixture.h"
#include "ui/dialogs/datepatternhelp.h"
#include "ui/dialogs/optionsdialog.h"

#include <QLineEdit>

using namespace pellimo;
using namespace pellimo::testing;

using pellimo::test::installJapaneseTexts;

class TestToolTips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(installJapaneseTexts()); // the texts a Japanese desktop shows
    }

    void spinnersSayWhatTheyMove_data()
    {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<QStringList>("words");
        const auto row = [](const char *name, std::initializer_list<const char *> words) {
            QStringList l;
            for (const char *w : words)
                l << QString::fromUtf8(w);
            QTest::newRow(name) << QString::fromLatin1(name) << l;
        };
        row("RadUpDown", {"半径"});
        row("WtUpDown", {"太さ"});
        row("AreaUpdown0", {"組織名", "上"});
        row("AreaUpdown1", {"氏名", "下"});
        row("ScUpDown0", {"組織名", "上下"});
        row("ScUpDown1", {"日付", "上下"});
        row("ScUpDown2", {"氏名１", "上下"});
        row("ScUpDown3", {"氏名２", "上下"});
        row("ScUpDown4", {"組織名", "左右"});
        row("ScUpDown5", {"日付", "左右"});
        row("ScUpDown6", {"氏名１", "左右"});
        row("ScUpDown7", {"氏名２", "左右"});
    }
    void spinnersSayWhatTheyMove()
    {
        QFETCH(QString, spinner);
        QFETCH(QStringList, words);
        MainWindowFixture f;
        QWidget *control = f.control(spinner);
        QVERIFY(control);
        for (const QString &word : words)
            QVERIFY2(control->toolTip().contains(word), qPrintable(control->toolTip()));
    }

    void previewSaysWhatItsMenuDoes()
    {
        MainWindowFixture f;
        const QString tip = f.control(QStringLiteral("PicBase"))->toolTip();
        for (const QString &word :
             {QStringLiteral(u"右クリック"), QStringLiteral(u"画像"), QStringLiteral("PDF")})
            QVERIFY2(tip.contains(word), qPrintable(tip));
    }

    // Each token beside what it gives today (7 December 2026: Reiwa 8).
    void datePatternTokens_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("gives");
        QTest::newRow("ggg") << "ggg" << QStringLiteral(u"令和");
        QTest::newRow("ee") << "ee"
                            << "08";
        QTest::newRow("e") << "e"
                           << "8";
        QTest::newRow("yyyy") << "yyyy"
                              << "2026";
        QTest::newRow("mm") << "mm"
                            << "12";
        QTest::newRow("dd") << "dd"
                            << "07";
        QTest::newRow("d") << "d"
                           << "7";
    }
    void datePatternTokens()
    {
        QFETCH(QString, token);
        QFETCH(QString, gives);
        const QStringList lines = datePatternHelp(fixedNow()).split(QLatin1Char('\n'));
        const auto line = std::find_if(lines.cbegin(), lines.cend(), [&](const QString &l) {
            return l.startsWith(token + QLatin1Char(' '));
        });
        QVERIFY2(line != lines.cend(), qPrintable(token));
        QVERIFY2(line->endsWith(QStringLiteral(": ") + gives), qPrintable(*line));
    }

    void patternBoxShowsTheTokens()
    {
        AppSettings settings;
        loadDefaultSettings(settings);
        QTemporaryDir dir;
        OptionsDialog dialog(settings, dir.filePath(QStringLiteral("pellimo.ini")), &fixedNow);
        auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("txtDformat"));
        QVERIFY(box);
        QCOMPARE(box->toolTip(), datePatternHelp(fixedNow()));
        QVERIFY2(box->toolTip().contains(QStringLiteral(u"令和 08年12月07日")),
                 qPrintable(box->toolTip()));
    }
};

QTEST_MAIN(TestToolTips)
#include "test_tooltips.moc"
