// SPDX-License-Identifier: MIT
// Twenty starts of the program in one program folder, released at the same moment: exactly one
// runs; each of the others shows that Pellimo is already running, ends with status 2 and leaves
// every file, the lock file included, as it was.

#include "desktop.h"
#include "sanitizerlogs.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
constexpr int kStarts = 20;
constexpr int kExitAlreadyRunning = 2;

// Holds the starts back until release(): the test holds an exclusive flock on a gate file, and
// each start waits for a shared lock on it before it becomes the program.
class StartGate {
public:
    StartGate()
    {
        m_fd = ::open(QFile::encodeName(m_dir.filePath(QStringLiteral("gate"))).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        m_locked = m_fd >= 0 && ::flock(m_fd, LOCK_EX) == 0;
    }
    ~StartGate() { release(); }
    bool isLocked() const { return m_locked; }
    void release()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    // Starts one waiting start: bash says "ready", waits at the gate, then execs the program.
    QProcess *startWaiting(const QString &executable, const QStringList &arguments,
                           const QProcessEnvironment &env) const
    {
        auto *p = new QProcess;
        p->setProcessEnvironment(env);
        p->setStandardInputFile(QProcess::nullDevice());
        p->start(QStringLiteral("bash"),
                 QStringList{QStringLiteral("-c"),
                             QStringLiteral("echo ready; flock -s \"$1\" true && exec \"$0\" "
                                            "\"${@:2}\""),
                             executable, m_dir.filePath(QStringLiteral("gate"))} +
                     arguments);
        return p;
    }

private:
    QTemporaryDir m_dir;
    int m_fd = -1;
    bool m_locked = false;
};

// How one start ended.
struct Outcome {
    int exitCode = -1; // -1: did not end in time, or ended by a signal
    QString standardError;
};

Outcome outcomeOf(QProcess *p, int timeoutMs)
{
    Outcome o;
    const bool finished = p->state() == QProcess::NotRunning || p->waitForFinished(timeoutMs);
    if (finished && p->exitStatus() == QProcess::NormalExit)
        o.exitCode = p->exitCode();
    o.standardError = QString::fromUtf8(p->readAllStandardError());
    return o;
}

} // namespace

class TestManyStarts : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;
    std::vector<std::unique_ptr<QProcess>> m_starts;
    bool m_sanitized = false;

    // Slower under the sanitizers: twenty instrumented starts share the machine's cores.
    int startTimeoutMs() const { return m_sanitized ? 300000 : 120000; }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"xclip", "xdotool", "flock", "bash"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        m_sanitized = SanitizerLogs::isSanitizerBuild(kExe);
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        QList<QProcess *> runs;
        for (const auto &p : m_starts)
            runs << p.get();
        endTestRuns(*m_desktop, runs, m_folder);
        m_starts.clear();
    }

    // Normal mode: the runner's main window holds the lock while the others try. With nogui the
    // default user's profile is damaged, so that the runner waits on the reader's warning while
    // the others try; the runner then keeps that file's bytes in user01.dat.damaged, replaces the
    // file, and nothing else, with today's stamp, and ends with status 3 (set after a warning).
    void twentyStartsAtOnce_data()
    {
        QTest::addColumn<bool>("hidden");
        QTest::newRow("normal mode") << false;
        QTest::newRow("nogui") << true;
    }
    void twentyStartsAtOnce()
    {
        QFETCH(bool, hidden);
        m_folder = std::make_unique<ProgramFolder>(kExe);
        ProgramFolder &folder = *m_folder;
        QVERIFY(folder.isValid());
        QVERIFY(folder.write(QStringLiteral("pellimo.ini"), golden("default-settings.ini")));
        for (int user = 1; user <= 5; ++user) {
            const QByteArray bytes = hidden && user == 1
                                         ? QByteArray("255,1,35,35,40000\r\n#FALSE#,")
                                         : golden("default-profile.dat");
            QVERIFY(folder.write(QStringLiteral("user0%1.dat").arg(user), bytes));
        }
        QVERIFY(folder.write(QStringLiteral(".pellimo.lock"), QByteArray()));
        backdateFiles(folder, QDateTime(QDate(2001, 6, 4), QTime(12, 0), Qt::UTC));
        const Snapshot before = Snapshot::of(folder, /*withLockFile=*/true);
        QCOMPARE(before.files.size(), 7);
        QVERIFY(m_desktop->setClipboardText("before"));

        SanitizerLogs logs;
        const QProcessEnvironment env =
            m_sanitized ? logs.apply(m_desktop->environment()) : m_desktop->environment();
        const QStringList arguments = hidden ? QStringList{QStringLiteral("nogui")} : QStringList{};
        StartGate gate;
        QVERIFY(gate.isLocked());
        for (int i = 0; i < kStarts; ++i)
            m_starts.emplace_back(gate.startWaiting(folder.executable(), arguments, env));
        for (const auto &p : m_starts) {
            QElapsedTimer timer;
            timer.start();
            while (!p->canReadLine() && timer.elapsed() < 30000)
                p->waitForReadyRead(1000);
            QCOMPARE(p->readLine(), QByteArray("ready\n"));
        }
        QThread::msleep(300); // each has reached the gate
        gate.release();

        // Every start has decided once twenty windows show: the runner's main window (or, in
        // hidden mode, its warning about the damaged file) and nineteen messages.
        const QList<qulonglong> windows = m_desktop->waitForWindowCount(kStarts, startTimeoutMs());
        QCOMPARE(windows.size(), kStarts);
        QCOMPARE(before.changedIn(Snapshot::of(folder, true)), QStringList());
        QList<qulonglong> mainWindows;
        for (qulonglong window : windows) {
            if (m_desktop->windowSize(window) == kMainWindowSize)
                mainWindows << window;
            else
                m_desktop->pressKey(window, QStringLiteral("Return"));
        }
        QCOMPARE(mainWindows.size(), hidden ? 0 : 1);

        // The others end once their message is dismissed. In normal mode the runner goes on: it
        // still holds the lock, so it is the one left.
        QList<Outcome> others, runners;
        std::vector<QProcess *> pending;
        for (const auto &p : m_starts)
            pending.push_back(p.get());
        const size_t left = hidden ? 0 : 1;
        QElapsedTimer timer;
        timer.start();
        while (pending.size() > left && timer.elapsed() < startTimeoutMs()) {
            for (auto it = pending.begin(); it != pending.end();) {
                QProcess *p = *it;
                if (p->state() == QProcess::NotRunning || p->waitForFinished(50)) {
                    const Outcome o = outcomeOf(p, 0);
                    (o.standardError.contains(kAlreadyRunning) ? others : runners) << o;
                    it = pending.erase(it);
                } else {
                    ++it;
                }
            }
        }
        QCOMPARE(pending.size(), left);
        if (!hidden) {
            m_desktop->click(mainWindows.first(), kEndX, kButtonY);
            runners << outcomeOf(pending.front(), startTimeoutMs());
        }

        QCOMPARE(others.size(), kStarts - 1);
        for (const Outcome &o : std::as_const(others)) {
            QCOMPARE(o.exitCode, kExitAlreadyRunning);
            QCOMPARE(o.standardError.count(kAlreadyRunning), 1);
        }
        QCOMPARE(runners.size(), 1);
        QCOMPARE(runners.first().exitCode, hidden ? 3 : 0);
        QCOMPARE(runners.first().standardError.count(kDamaged), hidden ? 1 : 0);

        const Snapshot after = Snapshot::of(folder, true);
        if (hidden) {
            QCOMPARE(before.changedIn(after), (QStringList{QStringLiteral("user01.dat"),
                                                           QStringLiteral("user01.dat.damaged")}));
            QCOMPARE(folder.read(QStringLiteral("user01.dat.damaged")),
                     QByteArray("255,1,35,35,40000\r\n#FALSE#,"));
            QByteArray expected = golden("default-profile.dat");
            expected.replace("#FALSE#,9,\"\",0,0",
                             "#FALSE#,9,\"" + todayInDefaultPattern() + "\",0,0");
            QCOMPARE(folder.read(QStringLiteral("user01.dat")), expected);
            QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));
            QVERIFY(m_desktop->setClipboardText("taken")); // ends the serving process
        } else {
            QCOMPARE(before.changedIn(after), QStringList());
            QCOMPARE(m_desktop->clipboardText(), QByteArray("before"));
        }
        QVERIFY2(Desktop::waitUntilNoProcess(folder, 30000), "a start did not end");
        QVERIFY2(logs.files().isEmpty(), qPrintable(logs.reports()));
    }
};

QTEST_GUILESS_MAIN(TestManyStarts)
#include "test_many_starts.moc"
