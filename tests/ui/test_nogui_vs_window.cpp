// SPDX-License-Identifier: MIT
// `pellimo nogui` against the window's load sequence followed by a click on Set: the same warnings
// in the same order, the same stamp on the clipboard, the same saved file, and no widget built.

#include "datefmt/dateformat.h"
#include "model/appsettings.h"
#include "model/warning.h"
#include "render/stampfonts.h"
#include "session/nogui.h"
#include "storage/cp932.h"
#include "storage/profilefile.h"
#include "ui/main/mainwindow.h"
#include "warningrecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace pellimo;

namespace {

QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0));
}

using Change = std::function<void(AppState &)>;

struct Outcome {
    QStringList warnings;
    bool setSucceeded = false;
    NoGuiResult result = NoGuiResult::Failed; // the run without a window
    QImage clipboard;
    QByteArray savedFile;
    StampProfile profile;
};

// The default settings and profile in the given program folder, then the row's change.
struct Run {
    AppState state;

    Run(const QString &folder, const Change &change)
    {
        state.dataFolder = folder;
        loadDefaultSettings(state.settings);
        loadDefaultProfile(state.profile);
        state.currentUser = 1;
        state.noGuiMode = true;
        change(state);
    }

    Outcome finish(const WarningRecorder &recorder, bool succeeded,
                   NoGuiResult result = NoGuiResult::Failed)
    {
        Outcome out;
        out.warnings = recorder.texts();
        out.setSucceeded = succeeded;
        out.result = result;
        out.clipboard = QApplication::clipboard()->image();
        QFile file(profileFilePath(state.dataFolder, state.currentUser));
        if (file.open(QIODevice::ReadOnly))
            out.savedFile = file.readAll();
        file.remove(); // the next run starts without it
        out.profile = state.profile;
        return out;
    }
};

Outcome runWithoutWindow(const QString &folder, const Change &change)
{
    Run run(folder, change);
    QApplication::clipboard()->clear();
    WarningRecorder recorder;
    const NoGuiResult result = runNoGui(run.state, fixedNow());
    return run.finish(recorder, result != NoGuiResult::Failed, result);
}

Outcome runThroughWindow(const QString &folder, const Change &change)
{
    Run run(folder, change);
    QApplication::clipboard()->clear();
    WarningRecorder recorder;
    bool ok = false;
    {
        MainWindow window(run.state, &fixedNow);
        window.load();
        if (window.lastDrawSucceeded()) // a failed drawing is no stamp to set
            window.findChild<QPushButton *>(QStringLiteral("cmdSet"))->click();
        ok = window.lastSetSucceeded();
    }
    return run.finish(recorder, ok);
}

// A line of Japanese and Latin text in the given font, as the stamp draws it.
QImage textImage(const QFont &font)
{
    QImage image(160, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(2, 30), QStringLiteral(u"組織名 08.12.06 山田"));
    return image;
}

} // namespace

Q_DECLARE_METATYPE(pellimo::NoGuiResult)

class TestNoGui : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameAsTheWindow_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("warningCount");
        QTest::addColumn<QString>("firstWarningMentions");
        QTest::addColumn<NoGuiResult>("result");

        const auto profile = [](std::function<void(StampProfile &)> f) {
            return Change([f](AppState &s) { f(s.profile); });
        };
        const auto whole = NoGuiResult::Set;
        const auto warned = NoGuiResult::SetAfterWarning;
        const auto failed = NoGuiResult::Failed;
        QTest::newRow("default profile")
            << profile([](StampProfile &) {}) << 0 << QString() << whole;
        QTest::newRow("radius 51: the first control refuses, Set runs")
            << profile([](StampProfile &p) { p.radius = 51; }) << 1 << u"user01.dat"_qs << warned;
        QTest::newRow("radius 19")
            << profile([](StampProfile &p) { p.radius = 19; }) << 1 << u"user01.dat"_qs << warned;
        QTest::newRow("line width 0: refused by the control and by the drawing, no Set")
            << profile([](StampProfile &p) { p.lineWidth = 0; }) << 2 << u"user01.dat"_qs << failed;
        QTest::newRow("name band 41") << profile([](StampProfile &p) { p.bottomAreaPercent = 41; })
                                      << 1 << u"user01.dat"_qs << warned;
        QTest::newRow("last offset 11") << profile([](StampProfile &p) { p.items[3].offsetX = 11; })
                                        << 1 << u"user01.dat"_qs << warned;
        QTest::newRow("offset -32768")
            << profile([](StampProfile &p) { p.items[0].offsetY = -32768; }) << 1
            << u"user01.dat"_qs << warned;
        QTest::newRow("offsets at both ends fit") << profile([](StampProfile &p) {
            p.items[1].offsetX = -10;
            p.items[2].offsetY = 10;
        }) << 0 << QString() << whole;
        QTest::newRow("font size 0: the drawing fails, no Set")
            << profile([](StampProfile &p) { p.items[1].fontSize = 0; }) << 1 << u"user01.dat"_qs
            << failed;
        QTest::newRow("font size -1") << profile([](StampProfile &p) { p.items[2].fontSize = -1; })
                                      << 1 << u"user01.dat"_qs << failed;
        QTest::newRow("font size 2000")
            << profile([](StampProfile &p) { p.items[0].fontSize = 2000; }) << 1 << u"user01.dat"_qs
            << failed;
        QTest::newRow("user 4, radius 51: the message names user04.dat") << Change([](AppState &s) {
            s.currentUser = 4;
            s.profile.radius = 51;
        }) << 1 << u"user04.dat"_qs << warned;
        QTest::newRow("radius 0: refused by the control and by the drawing")
            << profile([](StampProfile &p) { p.radius = 0; }) << 2 << u"user01.dat"_qs << failed;
        QTest::newRow("radius 2000")
            << profile([](StampProfile &p) { p.radius = 2000; }) << 2 << u"user01.dat"_qs << failed;
        QTest::newRow("radius 3000")
            << profile([](StampProfile &p) { p.radius = 3000; }) << 2 << u"user01.dat"_qs << failed;
        QTest::newRow("the defaults, after a file that could not be read")
            << Change([](AppState &s) { s.unreadProfiles.insert(1); }) << 0 << QString() << warned;
        QTest::newRow("another user's file could not be read")
            << Change([](AppState &s) { s.unreadProfiles.insert(3); }) << 0 << QString() << whole;
        QTest::newRow("folder cannot be written: Set fails after the clipboard")
            << Change([](AppState &s) { s.dataFolder += QStringLiteral("/no/such/folder"); })
            << 1 << QString() << failed;
        QTest::newRow("auto-close on")
            << Change([](AppState &s) { s.settings.autoClose = true; }) << 0 << QString() << whole;
    }
    void sameAsTheWindow()
    {
        QFETCH(Change, change);
        QFETCH(int, warningCount);
        QFETCH(QString, firstWarningMentions);
        QFETCH(NoGuiResult, result);
        const bool setSucceeds = result != NoGuiResult::Failed;

        // Both runs use the same folder, one after the other: messages name its files.
        const QTemporaryDir dir;
        const Outcome nogui = runWithoutWindow(dir.path(), change);
        QVERIFY2(QApplication::allWidgets().isEmpty(), "the run without a window built a widget");
        const Outcome window = runThroughWindow(dir.path(), change);

        QVERIFY2(nogui.warnings.size() == warningCount, qPrintable(nogui.warnings.join(u'|')));
        if (!firstWarningMentions.isEmpty())
            QVERIFY2(nogui.warnings.first().contains(firstWarningMentions),
                     qPrintable(nogui.warnings.first()));
        QCOMPARE(nogui.warnings, window.warnings);
        QCOMPARE(nogui.result, result);
        QCOMPARE(window.setSucceeded, setSucceeds);
        QCOMPARE(nogui.profile, window.profile);
        AppSettings defaults;
        loadDefaultSettings(defaults);
        QCOMPARE(nogui.profile.items[1].text, formatDate(fixedNow(), defaults.dateFormat));
        QCOMPARE(nogui.savedFile, window.savedFile);
        QCOMPARE(nogui.clipboard.isNull(), window.clipboard.isNull());
        QCOMPARE(nogui.clipboard.convertToFormat(QImage::Format_RGB32),
                 window.clipboard.convertToFormat(QImage::Format_RGB32));
        if (setSucceeds) {
            QVERIFY(!nogui.savedFile.isEmpty());
            const int side = 2 * nogui.profile.radius + 8;
            QCOMPARE(nogui.clipboard.size(), QSize(side, side));
        }
    }

    // A stored date pattern whose date a profile file cannot hold: the date line leaves those
    // characters out with one warning, and Set still saves.
    void unstorableDatePatternStillSets_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("dateLine");
        QTest::addColumn<QString>("named"); // in the warning; empty: no warning
        QTest::newRow("double quote") << u"ee\\\"mm"_qs << u"0812"_qs << u"「\"」"_qs;
        QTest::newRow("two quotes") << u"mm\\\"dd\\\""_qs << u"1207"_qs << u"「\"」"_qs;
        QTest::newRow("an invalid byte read as U+FFFD")
            << u"ee.mm\uFFFD"_qs << u"08.12"_qs << u"「\uFFFD」"_qs;
        QTest::newRow("outside CP932") << u"😀ee"_qs << u"08"_qs << u"「😀」"_qs;
        QTest::newRow("storable") << u"ggge年"_qs << u"令和8年"_qs << QString();
    }
    void unstorableDatePatternStillSets()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, dateLine);
        QFETCH(QString, named);
        const QTemporaryDir dir;
        const Change change = [pattern](AppState &s) { s.settings.dateFormat = pattern; };
        const Outcome nogui = runWithoutWindow(dir.path(), change);
        const Outcome window = runThroughWindow(dir.path(), change);

        QCOMPARE(nogui.profile.items[1].text, dateLine);
        QCOMPARE(nogui.result, named.isEmpty() ? NoGuiResult::Set : NoGuiResult::SetAfterWarning);
        QCOMPARE(nogui.warnings.size(), named.isEmpty() ? 0 : 1);
        if (!named.isEmpty())
            QVERIFY2(nogui.warnings.first().contains(named), qPrintable(nogui.warnings.first()));
        QVERIFY(decodeCp932(nogui.savedFile).contains(u'"' + dateLine + u'"'));
        QCOMPARE(window.warnings, nogui.warnings);
        QCOMPARE(window.savedFile, nogui.savedFile);
    }

    // A face that profiles name but that is not installed draws as its substitute would: the
    // families tried for it start with the substitute, and the pixels do not change.
    void missingFaceDrawsAsItsSubstitute_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("firstFamily");
        QTest::newRow("ＭＳ 明朝") << u"ＭＳ 明朝"_qs << u"IPAMincho"_qs;
        QTest::newRow("MS PMincho") << u"MS PMincho"_qs << u"IPAPMincho"_qs;
        QTest::newRow("ＭＳ ゴシック") << u"ＭＳ ゴシック"_qs << u"IPAGothic"_qs;
        QTest::newRow("ＭＳ Ｐゴシック") << u"ＭＳ Ｐゴシック"_qs << u"IPAPGothic"_qs;
        QTest::newRow("an installed face stays first") << u"IPAGothic"_qs << u"IPAGothic"_qs;
        QTest::newRow("an unknown face: the Mincho fallback")
            << u"NoSuchFace"_qs << u"IPAMincho"_qs;
    }
    void missingFaceDrawsAsItsSubstitute()
    {
        QFETCH(QString, face);
        QFETCH(QString, firstFamily);
        installFontSubstitutions();
        if (!QFontDatabase::hasFamily(firstFamily))
            QSKIP("the substitute face is not installed here");
        const QStringList families = stampFontFamilies(face);
        QCOMPARE(families.value(0).toLower(), firstFamily.toLower()); // substitutes are lower case

        QFont withName = stampFont(face, 12, false, false);
        QStringList named = {face};
        for (const QString &f : families)
            if (f != face)
                named << f;
        withName.setFamilies(named);
        const QImage expected = textImage(withName);
        const QImage drawn = textImage(stampFont(face, 12, false, false));
        QCOMPARE(drawn, expected);
        QVERIFY(drawn != textImage(QFont(QStringLiteral("DejaVu Sans"), 9)));
    }
};

QTEST_MAIN(TestNoGui)
#include "test_nogui_vs_window.moc"
