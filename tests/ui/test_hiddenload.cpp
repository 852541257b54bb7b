// SPDX-License-Identifier: MIT
// A nogui run without the main window against the window's own load sequence: the same warnings
// in the same order, the same stamp on the clipboard, the same saved file, and no widget built.

#include "datefmt/dateformat.h"
#include "model/appsettings.h"
#include "model/warning.h"
#include "render/stampfonts.h"
#include "storage/profilefile.h"
#include "ui/main/hiddenload.h"
#include "ui/main/mainwindow.h"
#include "warningrecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>
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
    QImage clipboard;
    QByteArray savedFile;
    StampProfile profile;
};

// The default settings and profile in the given program folder, then the row's change.
struct Run {
    AppState state;

    Run(const QString &folder, const Change &change)
    {
        state.programFolder = folder;
        loadDefaultSettings(state.settings);
        loadDefaultProfile(state.profile);
        state.currentUser = 1;
        state.noGuiMode = true;
        change(state);
    }

    Outcome finish(const WarningRecorder &recorder, bool succeeded)
    {
        Outcome out;
        out.warnings = recorder.texts();
        out.setSucceeded = succeeded;
        out.clipboard = QApplication::clipboard()->image();
        QFile file(profileFilePath(state.programFolder, state.currentUser));
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
    const bool ok = runHiddenLoad(run.state, &fixedNow);
    return run.finish(recorder, ok);
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

class TestHiddenLoad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameAsTheWindow_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("warningCount");
        QTest::addColumn<QString>("firstWarningMentions");
        QTest::addColumn<bool>("setSucceeds");

        const auto profile = [](std::function<void(StampProfile &)> f) {
            return Change([f](AppState &s) { f(s.profile); });
        };
        QTest::newRow("default profile")
            << profile([](StampProfile &) {}) << 0 << QString() << true;
        QTest::newRow("radius 51: the first control refuses")
            << profile([](StampProfile &p) { p.radius = 51; }) << 1 << u"user01.dat"_qs << true;
        QTest::newRow("radius 19")
            << profile([](StampProfile &p) { p.radius = 19; }) << 1 << u"user01.dat"_qs << true;
        QTest::newRow("line width 0: refused by the control and by the drawing")
            << profile([](StampProfile &p) { p.lineWidth = 0; }) << 2 << u"user01.dat"_qs << true;
        QTest::newRow("name band 41") << profile([](StampProfile &p) { p.bottomAreaPercent = 41; })
                                      << 1 << u"user01.dat"_qs << true;
        QTest::newRow("last offset 11") << profile([](StampProfile &p) { p.items[3].offsetX = 11; })
                                        << 1 << u"user01.dat"_qs << true;
        QTest::newRow("offset -32768")
            << profile([](StampProfile &p) { p.items[0].offsetY = -32768; }) << 1
            << u"user01.dat"_qs << true;
        QTest::newRow("offsets at both ends fit") << profile([](StampProfile &p) {
            p.items[1].offsetX = -10;
            p.items[2].offsetY = 10;
        }) << 0 << QString() << true;
        QTest::newRow("font size 0: the drawing fails, Set still runs")
            << profile([](StampProfile &p) { p.items[1].fontSize = 0; }) << 1 << u"user01.dat"_qs
            << true;
        QTest::newRow("user 4, radius 51: the message names user04.dat") << Change([](AppState &s) {
            s.currentUser = 4;
            s.profile.radius = 51;
        }) << 1 << u"user04.dat"_qs << true;
        QTest::newRow("radius 3000: refused, the drawing fails, cut-out too large")
            << profile([](StampProfile &p) { p.radius = 3000; }) << 3 << u"user01.dat"_qs << false;
        QTest::newRow("folder cannot be written: Set fails after the clipboard")
            << Change([](AppState &s) { s.programFolder += QStringLiteral("/no/such/folder"); })
            << 1 << QString() << false;
        QTest::newRow("auto-close on")
            << Change([](AppState &s) { s.settings.autoClose = true; }) << 0 << QString() << true;
    }
    void sameAsTheWindow()
    {
        QFETCH(Change, change);
        QFETCH(int, warningCount);
        QFETCH(QString, firstWarningMentions);
        QFETCH(bool, setSucceeds);

        // Both runs use the same folder, one after the other: messages name its files.
        const QTemporaryDir dir;
        const Outcome hidden = runWithoutWindow(dir.path(), change);
        QVERIFY2(QApplication::allWidgets().isEmpty(), "the hidden run built a widget");
        const Outcome window = runThroughWindow(dir.path(), change);

        QVERIFY2(hidden.warnings.size() == warningCount, qPrintable(hidden.warnings.join(u'|')));
        if (!firstWarningMentions.isEmpty())
            QVERIFY2(hidden.warnings.first().contains(firstWarningMentions),
                     qPrintable(hidden.warnings.first()));
        QCOMPARE(hidden.warnings, window.warnings);
        QCOMPARE(hidden.setSucceeded, setSucceeds);
        QCOMPARE(window.setSucceeded, setSucceeds);
        QCOMPARE(hidden.profile, window.profile);
        AppSettings defaults;
        loadDefaultSettings(defaults);
        QCOMPARE(hidden.profile.items[1].text, formatDate(fixedNow(), defaults.dateFormat));
        QCOMPARE(hidden.savedFile, window.savedFile);
        QCOMPARE(hidden.clipboard.isNull(), window.clipboard.isNull());
        QCOMPARE(hidden.clipboard.convertToFormat(QImage::Format_RGB32),
                 window.clipboard.convertToFormat(QImage::Format_RGB32));
        if (setSucceeds) {
            QVERIFY(!hidden.savedFile.isEmpty());
            const int side = 2 * hidden.profile.radius + 8;
            QCOMPARE(hidden.clipboard.size(), QSize(side, side));
        }
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

QTEST_MAIN(TestHiddenLoad)
#include "test_hiddenload.moc"
