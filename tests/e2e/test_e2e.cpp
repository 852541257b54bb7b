// SPDX-License-Identifier: MIT
// The built program, run as a user runs it, on a private Xvfb display: each test works in a fresh
// program folder holding a copy of the executable, and reads the clipboard with xclip after the
// program has returned.

#include "desktop.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <memory>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
const QString kIni = QStringLiteral("pellimo.ini");

// Users that a stamp tells apart: radius and colour differ for each.
const UserLook kLooks[5] = {
    {20, 255},      // red
    {25, 32768},    // green (0, 128, 0)
    {30, 16711680}, // blue
    {40, 0},        // black
    {50, 16711935}, // magenta
};

QString userFile(int user)
{
    return QStringLiteral("user0%1.dat").arg(user);
}

// weston nested in the test display (its X11 backend gives it a seat), optionally with Xwayland.
class NestedWeston {
public:
    ~NestedWeston()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    bool available() const
    {
        const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                               QStringLiteral("/platforms/libqwayland-generic.so");
        return !QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("wl-paste")).isEmpty() &&
               QFile::exists(plugin);
    }

    bool start(QProcessEnvironment env, bool xwayland)
    {
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_base = env;
        QStringList arguments = {QStringLiteral("--backend=x11-backend.so"),
                                 QStringLiteral("--use-pixman"),
                                 QStringLiteral("--no-config"),
                                 QStringLiteral("--idle-time=0"),
                                 QStringLiteral("--socket=wayland-e2e"),
                                 QStringLiteral("--log=") +
                                     m_runtime.filePath(QStringLiteral("log"))};
        if (xwayland)
            arguments << QStringLiteral("--xwayland");
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("weston"), arguments);
        if (!m_process.waitForStarted(10000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            const bool socket = QFile::exists(m_runtime.filePath(QStringLiteral("wayland-e2e")));
            if (socket && (!xwayland || !xwaylandDisplay().isEmpty()))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    // What a program of this session sees: WAYLAND_DISPLAY, and DISPLAY when Xwayland runs.
    QProcessEnvironment clientEnvironment(bool xwayland) const
    {
        QProcessEnvironment env = m_base;
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-e2e"));
        env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        if (xwayland)
            env.insert(QStringLiteral("DISPLAY"), xwaylandDisplay());
        return env;
    }

private:
    QString xwaylandDisplay() const
    {
        QFile log(m_runtime.filePath(QStringLiteral("log")));
        if (!log.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray text = log.readAll();
        const QByteArray marker = "xserver listening on display ";
        const qsizetype at = text.indexOf(marker);
        if (at < 0)
            return QString();
        const qsizetype end = text.indexOf('\n', at);
        return QString::fromLatin1(
            text.mid(at + marker.size(), end - at - marker.size()).trimmed());
    }

    QTemporaryDir m_runtime;
    QProcess m_process;
    QProcessEnvironment m_base;
};

// The Wayland clipboard as image/png read by wl-paste, or a null image.
QImage waylandClipboardImage(const QProcessEnvironment &env)
{
    QProcess paste;
    paste.setProcessEnvironment(env);
    paste.start(QStringLiteral("wl-paste"),
                {QStringLiteral("--type"), QStringLiteral("image/png")});
    if (!paste.waitForFinished(10000))
        return QImage();
    return QImage::fromData(paste.readAllStandardOutput(), "PNG");
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;
    QList<QProcess *> m_running;

    // A fresh program folder for the current test.
    ProgramFolder &freshFolder()
    {
        m_folder = std::make_unique<ProgramFolder>(kExe);
        return *m_folder;
    }

    // A folder with settings (start-up user 2) and five told-apart users, all dated long ago.
    ProgramFolder &preparedFolder(bool autoClose, int skipUser = 0)
    {
        ProgramFolder &folder = freshFolder();
        folder.write(kIni, settingsBytes(2, autoClose, golden("default-settings.ini")));
        for (int user = 1; user <= 5; ++user) {
            if (user != skipUser)
                folder.write(userFile(user),
                             profileBytes(kLooks[user - 1], golden("default-profile.dat")));
        }
        backdateFiles(folder, QDateTime(QDate(2001, 6, 4), QTime(12, 0), Qt::UTC));
        return folder;
    }

    QProcess *startProgram(const QStringList &arguments)
    {
        QProcess *p = m_desktop->start(*m_folder, arguments);
        m_running << p;
        return p;
    }

    // The stamp on the clipboard is user N's: its size and its ink.
    void verifyStampOf(int user)
    {
        const QImage stamp = m_desktop->clipboardImage();
        QVERIFY2(!stamp.isNull(), "no image/png on the clipboard");
        const int side = 2 * kLooks[user - 1].radius + 8;
        QCOMPARE(stamp.size(), QSize(side, side));
        QVERIFY2(whiteBorder(stamp, 2), "the margin around the circle is not white");
        const QRgb ink = darkestPixel(stamp);
        const QRgb expected = storedColourToRgb(kLooks[user - 1].colour);
        QVERIFY2(qAbs(qRed(ink) - qRed(expected)) <= 24 &&
                     qAbs(qGreen(ink) - qGreen(expected)) <= 24 &&
                     qAbs(qBlue(ink) - qBlue(expected)) <= 24,
                 qPrintable(QStringLiteral("ink %1 instead of %2")
                                .arg(ink & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                                .arg(expected & 0xFFFFFF, 6, 16, QLatin1Char('0'))));
    }

    // Waits for a process started with startProgram; its exit code, or -1 when it did not end.
    static int exitCodeOf(QProcess *p, int timeoutMs = 30000)
    {
        if (!p->waitForFinished(timeoutMs))
            return -1;
        return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    }

    // The X window in which the nested weston shows its output (and takes keys), or 0.
    qulonglong westonOutputWindow() const
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            QProcess search;
            search.setProcessEnvironment(m_desktop->environment());
            search.start(
                QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("weston")});
            search.waitForFinished(5000);
            if (const qulonglong id =
                    search.readAllStandardOutput().split('\n').value(0).toULongLong())
                return id;
            QThread::msleep(100);
        }
        return 0;
    }

    // A key pressed in weston's output window with the pointer inside it, the way weston's X11
    // backend hands keys to the focused Wayland window.
    void westonKey(qulonglong output, const QString &key) const
    {
        QProcess xdotool;
        xdotool.setProcessEnvironment(m_desktop->environment());
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QStringLiteral("--window"),
                       QString::number(output), QStringLiteral("5"), QStringLiteral("5"),
                       QStringLiteral("key"), key});
        xdotool.waitForFinished(5000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"xclip", "xdotool"}) {
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(),
                     qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh "
                                               "--test)")
                                    .arg(QLatin1String(tool))));
        }
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        QVERIFY(!golden("default-profile.dat").isEmpty());
        QVERIFY(!golden("default-settings.ini").isEmpty());
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        endTestRuns(*m_desktop, m_running, m_folder);
        qDeleteAll(m_running);
        m_running.clear();
    }

    // First start in an empty folder, ended with the Exit button: the settings and the five
    // profile files are created byte for byte as the defaults; nothing reaches the clipboard.
    void firstStartNormalMode()
    {
        ProgramFolder &folder = freshFolder();
        QVERIFY(folder.isValid());
        QVERIFY(m_desktop->setClipboardText("before"));
        QProcess *p = startProgram({});
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, "the main window did not appear");
        QCOMPARE(folder.read(kIni), golden("default-settings.ini"));
        for (int user = 1; user <= 5; ++user)
            QCOMPARE(folder.read(userFile(user)), golden("default-profile.dat"));
        m_desktop->click(window, kEndX, kButtonY);
        QCOMPARE(exitCodeOf(p), 0);
        QCOMPARE(m_desktop->clipboardText(), QByteArray("before"));
        QVERIFY(Desktop::waitUntilNoProcess(folder, 3000)); // nothing to serve: gone at once
    }

    // First start with nogui: the default user's stamp on the clipboard and user01.dat saved
    // with today's date; the other files are the defaults.
    void firstStartHidden()
    {
        ProgramFolder &folder = freshFolder();
        const RunResult r = m_desktop->run(folder, {QStringLiteral("nogui")});
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(folder.read(kIni), golden("default-settings.ini"));
        for (int user = 2; user <= 5; ++user)
            QCOMPARE(folder.read(userFile(user)), golden("default-profile.dat"));
        QByteArray expected = golden("default-profile.dat");
        expected.replace("#FALSE#,9,\"\",0,0", "#FALSE#,9,\"" + todayInDefaultPattern() + "\",0,0");
        QCOMPARE(folder.read(userFile(1)), expected);
        const QImage stamp = m_desktop->clipboardImage();
        QCOMPARE(stamp.size(), QSize(78, 78));
        const QRgb ink = darkestPixel(stamp);
        QVERIFY(qRed(ink) > 200 && qGreen(ink) < 40 && qBlue(ink) < 40);
    }

    // Only user03.dat missing: it alone is written.
    void onlyMissingFileCreated()
    {
        ProgramFolder &folder = preparedFolder(false, 3);
        const Snapshot before = Snapshot::of(folder);
        QProcess *p = startProgram({});
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, "the main window did not appear");
        m_desktop->click(window, kEndX, kButtonY);
        QCOMPARE(exitCodeOf(p), 0);
        QCOMPARE(before.changedIn(Snapshot::of(folder)).join(u','), userFile(3));
        QCOMPARE(folder.read(userFile(3)), golden("default-profile.dat"));
    }

    // Every command-line row: which file was rewritten and whose stamp is on the clipboard after
    // the program has returned. Start-up user 2; auto-close on, so that Set ends normal mode too.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("user");
        QTest::newRow("nogui") << QStringList{QStringLiteral("nogui")} << true << 2;
        QTest::newRow("NOGUI U4") << QStringList{QStringLiteral("NOGUI"), QStringLiteral("U4")}
                                  << true << 4;
        QTest::newRow("nogui u4 extra")
            << QStringList{QStringLiteral("nogui"), QStringLiteral("u4"), QStringLiteral("extra")}
            << true << 4;
        QTest::newRow("nogui  u4 (empty second token)")
            << QStringList{QStringLiteral("nogui"), QString(), QStringLiteral("u4")} << true << 2;
        QTest::newRow("nogui u9") << QStringList{QStringLiteral("nogui"), QStringLiteral("u9")}
                                  << true << 2;
        QTest::newRow("nogui u5 as one argument")
            << QStringList{QStringLiteral("nogui u5")} << true << 5;
        QTest::newRow("nogui U1") << QStringList{QStringLiteral("nogui"), QStringLiteral("U1")}
                                  << true << 1;
        QTest::newRow("u4") << QStringList{QStringLiteral("u4")} << false << 2;
        QTest::newRow("/nogui") << QStringList{QStringLiteral("/nogui")} << false << 2;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, hidden);
        QFETCH(int, user);
        ProgramFolder &folder = preparedFolder(true);
        const Snapshot before = Snapshot::of(folder);

        int exitCode = -1;
        if (hidden) {
            const RunResult r = m_desktop->run(folder, arguments);
            QVERIFY2(r.finished, "the hidden run did not return");
            QVERIFY2(m_desktop->pellimoWindows().isEmpty(), "a window is still shown");
            exitCode = r.exitCode;
        } else {
            QProcess *p = startProgram(arguments);
            const qulonglong window = m_desktop->waitForNewWindow({});
            QVERIFY2(window, "normal mode showed no window");
            m_desktop->click(window, kSetX, kButtonY); // Set, then auto-close ends the program
            exitCode = exitCodeOf(p);
        }
        QCOMPARE(exitCode, 0);
        QCOMPARE(before.changedIn(Snapshot::of(folder)).join(u','), userFile(user));
        const QByteArray saved = folder.read(userFile(user));
        QVERIFY(saved.startsWith(QByteArray::number(kLooks[user - 1].colour) + ",1,35,35," +
                                 QByteArray::number(kLooks[user - 1].radius) + "\r\n"));
        QVERIFY(saved.contains(todayInDefaultPattern()));
        verifyStampOf(user);
    }

    // Set, then Exit: the stamp is still on the clipboard after the program has ended.
    void setThenExitKeepsStamp()
    {
        ProgramFolder &folder = preparedFolder(false);
        QProcess *p = startProgram({});
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, "the main window did not appear");
        m_desktop->click(window, kSetX, kButtonY);
        QTRY_VERIFY_WITH_TIMEOUT(folder.read(userFile(2)).contains(todayInDefaultPattern()), 10000);
        QVERIFY(m_desktop->pellimoWindows().contains(window)); // auto-close is off
        m_desktop->click(window, kEndX, kButtonY);
        QCOMPARE(exitCodeOf(p), 0);
        verifyStampOf(2);
    }

    // A damaged profile in hidden mode: the reader's warning is shown and waited for, then the
    // damaged bytes are kept beside the file and the defaults saved over it in the same run.
    void damagedProfileHidden()
    {
        ProgramFolder &folder = preparedFolder(false);
        folder.write(userFile(2), "255,1,35,35,40000\r\n#FALSE#,");
        QProcess *p = startProgram({QStringLiteral("nogui")});
        const qulonglong box = m_desktop->waitForNewWindow({});
        QVERIFY2(box, "no message box");
        QVERIFY(p->state() != QProcess::NotRunning); // it waits for the box
        QVERIFY(!folder.read(userFile(2)).contains("\"組織名\""));
        m_desktop->pressKey(box, QStringLiteral("Return"));
        QCOMPARE(exitCodeOf(p), 3); // set, but from the defaults
        const QString err = QString::fromUtf8(p->readAllStandardError());
        QCOMPARE(err.count(kDamaged), 1);
        QCOMPARE(folder.read(userFile(2) + QStringLiteral(".damaged")),
                 QByteArray("255,1,35,35,40000\r\n#FALSE#,"));
        QVERIFY(err.contains(folder.file(userFile(2) + QStringLiteral(".damaged"))));
        QByteArray expected = golden("default-profile.dat");
        expected.replace("#FALSE#,9,\"\",0,0", "#FALSE#,9,\"" + todayInDefaultPattern() + "\",0,0");
        QCOMPARE(folder.read(userFile(2)), expected);
        const QImage stamp = m_desktop->clipboardImage();
        QCOMPARE(stamp.size(), QSize(78, 78)); // the default radius 35
    }

    // A second start, with or without nogui, while the first runs: the message, status 2, and
    // neither a file nor the clipboard touched.
    void secondInstance_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nogui u3") << QStringList{QStringLiteral("nogui"), QStringLiteral("u3")};
        QTest::newRow("no arguments") << QStringList{};
    }
    void secondInstance()
    {
        QFETCH(QStringList, arguments);
        ProgramFolder &folder = preparedFolder(false);
        QProcess *first = startProgram({});
        const qulonglong mainWindow = m_desktop->waitForNewWindow({});
        QVERIFY2(mainWindow, "the first instance showed no window");
        QVERIFY(m_desktop->setClipboardText("held by another program"));
        const Snapshot before = Snapshot::of(folder);

        QProcess *second = startProgram(arguments);
        const qulonglong box = m_desktop->waitForNewWindow({mainWindow});
        QVERIFY2(box, "the second start showed no message");
        m_desktop->pressKey(box, QStringLiteral("Return"));
        QCOMPARE(exitCodeOf(second), 2);
        QVERIFY(QString::fromUtf8(second->readAllStandardError()).contains(kAlreadyRunning));
        QCOMPARE(before.changedIn(Snapshot::of(folder)).join(u','), QString());
        QCOMPARE(m_desktop->clipboardText(), QByteArray("held by another program"));
        QVERIFY(first->state() != QProcess::NotRunning); // the first is not disturbed

        m_desktop->click(mainWindow, kEndX, kButtonY);
        QCOMPARE(exitCodeOf(first), 0);
    }

    // After a nogui run one process serves the clipboard: detached from the caller's streams, in
    // a session of its own, holding no lock; it ends when another program takes the clipboard.
    void servingProcess()
    {
        ProgramFolder &folder = preparedFolder(false);
        const RunResult r = m_desktop->run(folder, {QStringLiteral("nogui")});
        QCOMPARE(r.exitCode, 0);
        const QList<pid_t> serving = Desktop::processesOf(folder);
        QCOMPARE(serving.size(), 1);
        const pid_t pid = serving.first();
        for (int fd = 0; fd < 3; ++fd) {
            QCOMPARE(QFile::symLinkTarget(QStringLiteral("/proc/%1/fd/%2").arg(pid).arg(fd)),
                     QStringLiteral("/dev/null"));
        }
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        QVERIFY(stat.open(QIODevice::ReadOnly));
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        QCOMPARE(fields.value(3).toInt(), int(pid)); // session id: it leads its own session

        // No lock held: a new start runs at once and takes over the clipboard.
        const RunResult next =
            m_desktop->run(folder, {QStringLiteral("nogui"), QStringLiteral("u4")});
        QCOMPARE(next.exitCode, 0);
        verifyStampOf(4);
        QTRY_VERIFY_WITH_TIMEOUT(!Desktop::processesOf(folder).contains(pid), 5000);
        QCOMPARE(Desktop::processesOf(folder).size(), 1);

        QVERIFY(m_desktop->setClipboardText("taken"));
        QVERIFY2(Desktop::waitUntilNoProcess(folder, 5000), "the serving process did not end");
        QCOMPARE(m_desktop->clipboardText(), QByteArray("taken"));
    }

    // x=$(pellimo nogui) returns at once: the serving process does not hold the caller's output.
    void commandSubstitutionReturns()
    {
        ProgramFolder &folder = preparedFolder(false);
        QProcess shell;
        shell.setProcessEnvironment(m_desktop->environment());
        shell.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"), QStringLiteral("x=$(\"$0\" nogui); echo \"[$x] $?\""),
                     folder.executable()});
        QVERIFY2(shell.waitForFinished(15000), "the command substitution did not return");
        QCOMPARE(shell.readAllStandardOutput(), QByteArray("[] 0\n"));
        QCOMPARE(Desktop::processesOf(folder).size(), 1); // still serving
        verifyStampOf(2);
    }

    // No display, or one that does not answer: one line on stderr, status 1, no file created.
    void noDisplay_data()
    {
        QTest::addColumn<QString>("display");
        QTest::newRow("DISPLAY unset") << QString();
        int unused = 900;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(unused)))
            ++unused;
        QTest::newRow("no X server there") << QStringLiteral(":%1").arg(unused);
    }
    void noDisplay()
    {
        QFETCH(QString, display);
        ProgramFolder &folder = freshFolder();
        QProcessEnvironment env = m_desktop->environment(/*withDisplay=*/false);
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        const RunResult r = m_desktop->run(folder, {QStringLiteral("nogui")}, 15000, env);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.standardError.count('\n'), 1);
        QVERIFY(r.standardError.startsWith("Pellimo: "));
        QCOMPARE(folder.entries(), QStringList{QStringLiteral("pellimo")});
    }

    // Wayland without Xwayland (a nested weston on the test display): a never-shown window
    // cannot set the Wayland clipboard, so the stamp goes to wl-copy, which serves it after the
    // program has returned.
    void waylandOnlyHidden()
    {
        NestedWeston weston;
        if (!weston.available())
            QSKIP("weston, wl-clipboard or qt6-wayland is not installed");
        QVERIFY2(weston.start(m_desktop->environment(), false), "weston did not start");

        const QProcessEnvironment env = weston.clientEnvironment(false);
        ProgramFolder &folder = preparedFolder(false);
        const RunResult r =
            m_desktop->run(folder, {QStringLiteral("nogui"), QStringLiteral("u3")}, 30000, env);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(folder.read(userFile(3)).contains(todayInDefaultPattern()));
        QVERIFY(Desktop::waitUntilNoProcess(folder, 3000)); // wl-copy serves, not the program

        const QImage stamp = waylandClipboardImage(env);
        QCOMPARE(stamp.size(), QSize(2 * kLooks[2].radius + 8, 2 * kLooks[2].radius + 8));
        const QRgb ink = darkestPixel(stamp);
        QVERIFY(qBlue(ink) > 200 && qRed(ink) < 40 && qGreen(ink) < 40);
    }

    // Wayland without Xwayland, the window: Set, and the window closes. The stamp outlives the
    // program, served by wl-copy as for nogui (a Wayland selection dies with its process).
    void waylandOnlyWindow()
    {
        NestedWeston weston;
        if (!weston.available())
            QSKIP("weston, wl-clipboard or qt6-wayland is not installed");
        QVERIFY2(weston.start(m_desktop->environment(), false), "weston did not start");
        const QProcessEnvironment env = weston.clientEnvironment(false);
        const qulonglong output = westonOutputWindow();
        QVERIFY2(output, "weston's output window was not found");

        // Auto-close on: Set closes the window itself. (Keys sent right after Set may go astray:
        // wl-copy takes the keyboard focus for a moment to set the selection.)
        ProgramFolder &folder = preparedFolder(true);
        QProcess *p = m_desktop->start(folder, {}, env);
        m_running << p;
        // Set has the focus when the window opens: Space presses it once the window is up.
        QElapsedTimer timer;
        timer.start();
        while (p->state() != QProcess::NotRunning && timer.elapsed() < 20000) {
            westonKey(output, QStringLiteral("space"));
            p->waitForFinished(300);
        }
        QCOMPARE(p->state(), QProcess::NotRunning);
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        QVERIFY(folder.read(userFile(2)).contains(todayInDefaultPattern()));
        QVERIFY(Desktop::waitUntilNoProcess(folder, 5000)); // wl-copy serves, not the program

        const QImage stamp = waylandClipboardImage(env);
        QCOMPARE(stamp.size(), QSize(2 * kLooks[1].radius + 8, 2 * kLooks[1].radius + 8));
        const QRgb ink = darkestPixel(stamp);
        QVERIFY(qGreen(ink) > 100 && qRed(ink) < 40 && qBlue(ink) < 40);
    }

    // A Wayland session that offers Xwayland: the program takes the X11 platform, so the stamp
    // is served on the X11 clipboard after the program has returned (the compositor bridges it to
    // Wayland programs; this one, weston, bridges text only).
    void waylandWithXwaylandHidden()
    {
        NestedWeston weston;
        if (!weston.available())
            QSKIP("weston, wl-clipboard or qt6-wayland is not installed");
        QVERIFY2(weston.start(m_desktop->environment(), true), "weston did not start");

        const QProcessEnvironment env = weston.clientEnvironment(true);
        ProgramFolder &folder = preparedFolder(false);
        const RunResult r =
            m_desktop->run(folder, {QStringLiteral("nogui"), QStringLiteral("u5")}, 30000, env);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(Desktop::processesOf(folder).size(), 1); // serving on Xwayland

        QProcess read;
        read.setProcessEnvironment(env);
        read.start(QStringLiteral("xclip"),
                   {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                    QStringLiteral("image/png"), QStringLiteral("-o")});
        QVERIFY(read.waitForFinished(10000));
        const QImage stamp = QImage::fromData(read.readAllStandardOutput(), "PNG");
        QCOMPARE(stamp.size(), QSize(2 * kLooks[4].radius + 8, 2 * kLooks[4].radius + 8));
        Desktop::killProcessesOf(folder); // Xwayland goes with weston
    }

    // A profile file that cannot be created: a message naming it, then a non-zero status.
    void profileCannotBeCreated()
    {
        ProgramFolder &folder = freshFolder();
        QVERIFY(QDir(folder.path()).mkdir(userFile(3)));
        QProcess *p = startProgram({QStringLiteral("nogui")});
        const qulonglong box = m_desktop->waitForNewWindow({});
        QVERIFY2(box, "no message box");
        m_desktop->pressKey(box, QStringLiteral("Return"));
        QCOMPARE(exitCodeOf(p), 1);
        QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains(userFile(3)));
        QVERIFY(!QFile::exists(folder.file(userFile(4))));
        QVERIFY(m_desktop->clipboardImage().isNull());
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_e2e.moc"
