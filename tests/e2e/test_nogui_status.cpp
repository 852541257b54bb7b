// SPDX-License-Identifier: MIT
// What a script learns from `pellimo nogui`: its exit status (0 the user's stamp, whole; 1 nothing
// set; 3 set after a warning), the lines on stderr, and that a profile file the run could not read
// is kept beside it before the defaults are saved over it.

#include "desktop.h"

#include <QDate>
#include <QElapsedTimer>
#include <QTest>
#include <memory>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
const QString kIni = QStringLiteral("pellimo.ini");
const QString kUser2 = QStringLiteral("user02.dat");
const UserLook kUser2Look = {25, 32768}; // green, radius 25: a 58-pixel stamp
const UserLook kOtherLook = {40, 0};

// The default profile with today's date: what nogui saves after a file it could not read.
QByteArray savedDefaults()
{
    QByteArray bytes = golden("default-profile.dat");
    bytes.replace("#FALSE#,9,\"\",0,0", "#FALSE#,9,\"" + todayInDefaultPattern() + "\",0,0");
    return bytes;
}

QByteArray user2Profile()
{
    return profileBytes(kUser2Look, golden("default-profile.dat"));
}

QByteArray replacedOnce(QByteArray bytes, const QByteArray &from, const QByteArray &to)
{
    const qsizetype at = bytes.indexOf(from);
    return at < 0 ? QByteArray() : bytes.replace(at, from.size(), to);
}

struct BoxedRun {
    bool finished = false;
    int exitCode = -1;
    int boxes = 0; // message boxes shown, each answered with Return
    QString standardError;
};

} // namespace

class TestNoGuiStatus : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;

    // Start-up user 2; every user has a file of its own.
    ProgramFolder &preparedFolder()
    {
        m_folder = std::make_unique<ProgramFolder>(kExe);
        m_folder->write(kIni, settingsBytes(2, false, golden("default-settings.ini")));
        for (int user = 1; user <= 5; ++user)
            m_folder->write(QStringLiteral("user0%1.dat").arg(user),
                            user == 2 ? user2Profile()
                                      : profileBytes(kOtherLook, golden("default-profile.dat")));
        return *m_folder;
    }

    // Runs the program to its end, answering every message box it shows with Return.
    BoxedRun runAnsweringBoxes(const QStringList &arguments)
    {
        std::unique_ptr<QProcess> p(m_desktop->start(*m_folder, arguments));
        BoxedRun run;
        QList<qulonglong> answered;
        QElapsedTimer timer;
        timer.start();
        while (p->state() != QProcess::NotRunning && timer.elapsed() < 60000) {
            for (qulonglong box : m_desktop->pellimoWindows()) {
                if (!answered.contains(box)) {
                    answered << box;
                    m_desktop->pressKey(box, QStringLiteral("Return"));
                }
            }
            p->waitForFinished(200);
        }
        run.finished = p->state() == QProcess::NotRunning;
        if (!run.finished) {
            p->kill();
            p->waitForFinished(3000);
        } else if (p->exitStatus() == QProcess::NormalExit) {
            run.exitCode = p->exitCode();
        }
        run.boxes = int(answered.size());
        run.standardError = QString::fromLocal8Bit(p->readAllStandardError());
        return run;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        QVERIFY(!golden("default-profile.dat").isEmpty());
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        if (m_folder) {
            m_desktop->setClipboardText("e2e clean-up");
            Desktop::waitUntilNoProcess(*m_folder, 3000);
            Desktop::killProcessesOf(*m_folder);
            m_folder.reset();
        }
    }

    // Each damaged form of user 2's file: one read warning, the defaults set and saved, status 3,
    // and the damaged bytes kept in user02.dat.damaged, named on stderr.
    void damagedFileIsKeptBeforeItIsSavedOver_data()
    {
        QTest::addColumn<QByteArray>("damaged");
        const QByteArray p = user2Profile();
        const QByteArray line1 = "32768,1,35,35,25\r\n";
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF") + p;
        QTest::newRow("trailing comma") << replacedOnce(p, line1, "32768,1,35,35,25,\r\n");
        QTest::newRow("missing last field") << p.left(p.lastIndexOf(",0\r\n")) + "\r\n";
        QTest::newRow("+9") << replacedOnce(p, "#FALSE#,9,", "#FALSE#,+9,");
        QTest::newRow("radius 40000") << replacedOnce(p, line1, "32768,1,35,35,40000\r\n");
        QTest::newRow("colour 4294967296") << replacedOnce(p, line1, "4294967296,1,35,35,25\r\n");
        QTest::newRow("NUL after a number")
            << replacedOnce(p, line1, QByteArray("32768,1,35,35,25\0\r\n", 19));
        QTest::newRow("double quote inside a text")
            << replacedOnce(p, "#FALSE#,9,\"\",0,0", "#FALSE#,9,\"He said \"hi\" there\",0,0");
    }
    void damagedFileIsKeptBeforeItIsSavedOver()
    {
        QFETCH(QByteArray, damaged);
        QVERIFY(!damaged.isEmpty());
        ProgramFolder &folder = preparedFolder();
        QVERIFY(folder.write(kUser2, damaged));

        const BoxedRun run = runAnsweringBoxes({QStringLiteral("nogui")});
        QVERIFY(run.finished);
        QVERIFY2(run.boxes == 1, qPrintable(run.standardError));
        QCOMPARE(run.standardError.count(kDamaged), 1);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(folder.read(kUser2 + QStringLiteral(".damaged")), damaged);
        QVERIFY2(run.standardError.contains(folder.file(kUser2 + QStringLiteral(".damaged"))),
                 qPrintable(run.standardError));
        QCOMPARE(folder.read(kUser2), savedDefaults());
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78)); // the default radius 35
    }

    // A second damaged file later: a new backup beside the first, which stays as it was.
    void laterBackupsAreNumbered()
    {
        ProgramFolder &folder = preparedFolder();
        QVERIFY(folder.write(kUser2, "first damage,"));
        QCOMPARE(runAnsweringBoxes({QStringLiteral("nogui")}).exitCode, 3);
        QVERIFY(folder.write(kUser2, "second damage,"));
        const BoxedRun second = runAnsweringBoxes({QStringLiteral("nogui"), QStringLiteral("u2")});
        QCOMPARE(second.exitCode, 3);
        QCOMPARE(folder.read(kUser2 + QStringLiteral(".damaged")), QByteArray("first damage,"));
        QCOMPARE(folder.read(kUser2 + QStringLiteral(".damaged.1")), QByteArray("second damage,"));
        QVERIFY(second.standardError.contains(folder.file(kUser2 + QStringLiteral(".damaged.1"))));
    }

    // The statuses a script sees, with the files and the clipboard that go with them.
    void statusTellsWhatWasSet_data()
    {
        QTest::addColumn<QByteArray>("profile"); // user 2's file
        QTest::addColumn<QByteArray>("pattern"); // DateFormat
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("dateLine"); // saved; empty: nothing saved, nothing set
        const QByteArray p = user2Profile();
        const QByteArray line1 = "32768,1,35,35,25\r\n";
        const QByteArray today = todayInDefaultPattern();
        QTest::newRow("intact") << p << QByteArray("ee.mm.dd") << 0 << 0 << today;
        QTest::newRow("radius 51: outside the editor's range, still set")
            << replacedOnce(p, line1, "32768,1,35,35,51\r\n") << QByteArray("ee.mm.dd") << 1 << 3
            << today;
        QTest::newRow("radius 0: no drawing, nothing set")
            << replacedOnce(p, line1, "32768,1,35,35,0\r\n") << QByteArray("ee.mm.dd") << 2 << 1
            << QByteArray();
        QTest::newRow("radius 2000") << replacedOnce(p, line1, "32768,1,35,35,2000\r\n")
                                     << QByteArray("ee.mm.dd") << 2 << 1 << QByteArray();
        QTest::newRow("line width 0") << replacedOnce(p, line1, "32768,0,35,35,25\r\n")
                                      << QByteArray("ee.mm.dd") << 2 << 1 << QByteArray();
        QTest::newRow("font size 0 on the organisation")
            << replacedOnce(p, "#FALSE#,9,", "#FALSE#,0,") << QByteArray("ee.mm.dd") << 1 << 1
            << QByteArray();
        QTest::newRow("font size 2000") << replacedOnce(p, "#FALSE#,9,", "#FALSE#,2000,")
                                        << QByteArray("ee.mm.dd") << 1 << 1 << QByteArray();
        QTest::newRow("a pattern that yields a double quote")
            << p << QByteArray("ee\\\"mm") << 1 << 3 << today.left(2) + today.mid(3, 2);
        QTest::newRow("a byte that is not CP932 in the pattern")
            << p << QByteArray("ee.mm\x80") << 1 << 3 << today.left(5);
    }
    void statusTellsWhatWasSet()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QByteArray, pattern);
        QFETCH(int, boxes);
        QFETCH(int, status);
        QFETCH(QByteArray, dateLine);
        QVERIFY(!profile.isEmpty());
        ProgramFolder &folder = preparedFolder();
        QVERIFY(folder.write(kUser2, profile));
        QByteArray ini = settingsBytes(2, false, golden("default-settings.ini"));
        QVERIFY(folder.write(kIni, ini.replace("DateFormat=ee.mm.dd", "DateFormat=" + pattern)));
        QVERIFY(m_desktop->setClipboardText("before"));
        const Snapshot before = Snapshot::of(folder);

        const BoxedRun run = runAnsweringBoxes({QStringLiteral("nogui")});
        QVERIFY(run.finished);
        QVERIFY2(run.boxes == boxes, qPrintable(run.standardError));
        QCOMPARE(run.exitCode, status);
        if (dateLine.isEmpty()) {
            QCOMPARE(before.changedIn(Snapshot::of(folder)), QStringList());
            QCOMPARE(m_desktop->clipboardText(), QByteArray("before"));
            return;
        }
        QCOMPARE(before.changedIn(Snapshot::of(folder)), QStringList{kUser2});
        QVERIFY2(folder.read(kUser2).contains(",\"" + dateLine + "\","),
                 folder.read(kUser2).constData());
        QVERIFY(!m_desktop->clipboardImage().isNull());
    }

    // A token after nogui that names no user: the start-up user's stamp, and one line that says so.
    void unknownUserTokenIsNamed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("token");
        QTest::newRow("u6") << QStringList{QStringLiteral("nogui"), QStringLiteral("u6")}
                            << QStringLiteral("\"u6\"");
        QTest::newRow("user2") << QStringList{QStringLiteral("nogui"), QStringLiteral("user2")}
                               << QStringLiteral("\"user2\"");
        QTest::newRow("no token") << QStringList{QStringLiteral("nogui")} << QString();
    }
    void unknownUserTokenIsNamed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, token);
        preparedFolder();
        const RunResult r = m_desktop->run(*m_folder, arguments);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        const QString err = QString::fromLocal8Bit(r.standardError);
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(58, 58)); // user 2's radius 25
        if (token.isEmpty()) {
            QVERIFY2(!err.contains(QStringLiteral("names no user")), qPrintable(err));
            return;
        }
        const QStringList lines = err.split(u'\n').filter(token);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().contains(QStringLiteral("user 2")), qPrintable(lines.first()));
    }
};

QTEST_GUILESS_MAIN(TestNoGuiStatus)
#include "test_nogui_status.moc"
