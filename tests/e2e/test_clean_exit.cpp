// SPDX-License-Identifier: MIT
// A sanitizer build of the program ends clean, leaks included, on every way a run ends: the
// reports go to files, since the process that serves the clipboard exits with its stderr on
// /dev/null. Skipped when the program under test is a plain build.

#include "desktop.h"
#include "sanitizerlogs.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <memory>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
constexpr int kTimeoutMs = 120000; // instrumented starts are slow

enum class Ending {
    NoGuiServed,  // nogui, then serving until another program takes the clipboard
    ExitButton,   // normal mode closed with Exit: nothing to serve
    SetThenExit,  // normal mode, Set, Exit, then serving until the clipboard is taken
    SecondStart,  // a second start while one runs: the message, status 2
    DamagedNoGui, // nogui over a damaged profile: the reader's warning, then Set and serving
};

int exitCodeOf(QProcess *p)
{
    if (!p->waitForFinished(kTimeoutMs))
        return -1;
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
}

} // namespace

Q_DECLARE_METATYPE(Ending)

class TestCleanExit : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;
    std::vector<std::unique_ptr<QProcess>> m_running;

    QProcess *startProgram(const QStringList &arguments, const QProcessEnvironment &env)
    {
        m_running.emplace_back(m_desktop->start(*m_folder, arguments, env));
        return m_running.back().get();
    }

    // One serving process is left; taking the clipboard ends it.
    void takeClipboardFromServer()
    {
        QTRY_COMPARE_WITH_TIMEOUT(Desktop::processesOf(*m_folder).size(), 1, 10000);
        QVERIFY(!m_desktop->clipboardImage().isNull());
        QVERIFY(m_desktop->setClipboardText("taken"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!SanitizerLogs::isSanitizerBuild(kExe))
            QSKIP("the program under test is not a sanitizer build");
        for (const char *tool : {"xclip", "xdotool"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void init()
    {
        m_folder = std::make_unique<ProgramFolder>(kExe);
        QVERIFY(m_folder->isValid());
    }

    void cleanup()
    {
        QList<QProcess *> runs;
        for (const auto &p : m_running)
            runs << p.get();
        endTestRuns(*m_desktop, runs, m_folder);
        m_running.clear();
    }

    // The check below would pass as well if the reports went somewhere else: a run that asks
    // for the allocator's exit statistics shows that the serving process's exit is seen.
    void servingProcessReportIsSeen()
    {
        SanitizerLogs logs;
        const QProcessEnvironment env =
            logs.apply(m_desktop->environment(), QStringLiteral("atexit=1"));
        const RunResult r = m_desktop->run(*m_folder, {QStringLiteral("nogui")}, kTimeoutMs, env);
        QCOMPARE(r.exitCode, 0);
        const QList<pid_t> serving = Desktop::processesOf(*m_folder);
        QCOMPARE(serving.size(), 1);
        QCOMPARE(logs.files(), QStringList()); // nothing yet: it still runs
        takeClipboardFromServer();
        QVERIFY(Desktop::waitUntilNoProcess(*m_folder, kTimeoutMs));
        const QString name = QStringLiteral("asan.%1").arg(serving.first());
        QVERIFY2(logs.files().contains(name), qPrintable(logs.files().join(u' ')));
        QVERIFY(logs.reports().contains(QLatin1String("exit stats")));
    }

    void endsClean_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::newRow("nogui, served until the clipboard is taken") << Ending::NoGuiServed;
        QTest::newRow("normal mode, Exit") << Ending::ExitButton;
        QTest::newRow("normal mode, Set, Exit, served until taken") << Ending::SetThenExit;
        QTest::newRow("second start while one runs") << Ending::SecondStart;
        QTest::newRow("nogui over a damaged profile") << Ending::DamagedNoGui;
    }
    void endsClean()
    {
        QFETCH(Ending, ending);
        SanitizerLogs logs;
        const QProcessEnvironment env = logs.apply(m_desktop->environment());
        const QString profile = QStringLiteral("user01.dat");

        switch (ending) {
        case Ending::NoGuiServed: {
            const RunResult r =
                m_desktop->run(*m_folder, {QStringLiteral("nogui")}, kTimeoutMs, env);
            QCOMPARE(r.exitCode, 0);
            takeClipboardFromServer();
            if (QTest::currentTestFailed())
                return;
            break;
        }
        case Ending::ExitButton:
        case Ending::SetThenExit: {
            QProcess *p = startProgram({}, env);
            const qulonglong window = m_desktop->waitForNewWindow({}, kTimeoutMs);
            QVERIFY2(window, "the main window did not appear");
            if (ending == Ending::SetThenExit) {
                m_desktop->click(window, kSetX, kButtonY);
                QTRY_VERIFY_WITH_TIMEOUT(m_folder->read(profile).contains(todayInDefaultPattern()),
                                         kTimeoutMs);
            }
            m_desktop->click(window, kEndX, kButtonY);
            QCOMPARE(exitCodeOf(p), 0);
            if (ending == Ending::SetThenExit)
                takeClipboardFromServer();
            break;
        }
        case Ending::SecondStart: {
            QProcess *first = startProgram({}, env);
            const qulonglong window = m_desktop->waitForNewWindow({}, kTimeoutMs);
            QVERIFY2(window, "the main window did not appear");
            QProcess *second = startProgram({QStringLiteral("nogui")}, env);
            const qulonglong box = m_desktop->waitForNewWindow({window}, kTimeoutMs);
            QVERIFY2(box, "the second start showed no message");
            m_desktop->pressKey(box, QStringLiteral("Return"));
            QCOMPARE(exitCodeOf(second), 2);
            QVERIFY(QString::fromUtf8(second->readAllStandardError()).contains(kAlreadyRunning));
            m_desktop->click(window, kEndX, kButtonY);
            QCOMPARE(exitCodeOf(first), 0);
            break;
        }
        case Ending::DamagedNoGui: {
            QVERIFY(m_folder->write(profile, "255,1,35,35,40000\r\n#FALSE#,"));
            QProcess *p = startProgram({QStringLiteral("nogui")}, env);
            const qulonglong box = m_desktop->waitForNewWindow({}, kTimeoutMs);
            QVERIFY2(box, "no message box");
            m_desktop->pressKey(box, QStringLiteral("Return"));
            QCOMPARE(exitCodeOf(p), 3); // set, but from the defaults
            QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains(kDamaged));
            QVERIFY(m_folder->entries().contains(QStringLiteral("user01.dat.damaged")));
            takeClipboardFromServer();
            if (QTest::currentTestFailed())
                return;
            break;
        }
        }
        QVERIFY2(Desktop::waitUntilNoProcess(*m_folder, kTimeoutMs), "the program did not end");
        QVERIFY2(logs.files().isEmpty(), qPrintable(logs.reports()));
    }
};

QTEST_GUILESS_MAIN(TestCleanExit)
#include "test_clean_exit.moc"
