// SPDX-License-Identifier: MIT
// Starts the way scripts, launchers and careless users make them: closed descriptors, a file-size
// limit, signals sent to the started process, leftovers of a killed save, a program folder whose
// name is not UTF-8. Each run is compared with what a plain start does.

#include "desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
constexpr int kTimeoutMs = 30000;
const QByteArray kDamagedProfile = "255,1,35,35,40000\r\n#FALSE#,";

// A string property on the root window of `display`, set (when `value` is given) or read, over a
// connection of its own that is closed again at once.
QByteArray rootProperty(const QString &display, const QByteArray &name,
                        const QByteArray &value = QByteArray())
{
    xcb_connection_t *c = xcb_connect(display.toLatin1().constData(), nullptr);
    QByteArray result;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
        if (atom && !value.isNull()) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_STRING, 8,
                                uint32_t(value.size()), value.constData());
            free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // a round trip
            result = value;
        } else if (atom) {
            xcb_get_property_reply_t *p = xcb_get_property_reply(
                c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_STRING, 0, 64), nullptr);
            if (p)
                result = QByteArray(static_cast<const char *>(xcb_get_property_value(p)),
                                    xcb_get_property_value_length(p));
            free(p);
        }
        free(atom);
    }
    xcb_disconnect(c);
    return result;
}

// How often the process has gone to sleep and been woken, over all its threads.
qint64 voluntarySwitches(pid_t pid)
{
    qint64 total = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks + u'/' + task + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return total;
}

// The names in a folder given by its bytes, "." and ".." left out.
QList<QByteArray> namesIn(const QByteArray &folder)
{
    QList<QByteArray> names;
    if (DIR *d = ::opendir(folder.constData())) {
        while (const dirent *e = ::readdir(d)) {
            const QByteArray name(e->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool copyFile(const QByteArray &from, const QByteArray &to)
{
    QFile in(QString::fromUtf8(from));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    const int fd = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

struct ShellRun {
    bool finished = false;
    int exitCode = -1; // -1 also when ended by a signal
    QByteArray standardError;
};

// Collects the X11 startup-notification messages sent to the root window of `display`, on a
// connection of its own, as long as it lives.
class StartupNoticeListener {
public:
    explicit StartupNoticeListener(const QString &display)
        : m_c(xcb_connect(display.toLatin1().constData(), nullptr))
    {
        if (xcb_connection_has_error(m_c))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
        m_begin = atom("_NET_STARTUP_INFO_BEGIN");
        m_more = atom("_NET_STARTUP_INFO");
        free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); // a round trip
    }
    ~StartupNoticeListener() { xcb_disconnect(m_c); }

    // The whole messages received so far, each without its terminating NUL.
    QList<QByteArray> messages()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_c)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto *m = reinterpret_cast<xcb_client_message_event_t *>(event);
                if (m->type == m_begin)
                    m_pending[m->window].clear();
                if (m->type == m_begin || m->type == m_more) {
                    QByteArray &text = m_pending[m->window];
                    text.append(reinterpret_cast<const char *>(m->data.data8), 20);
                    const qsizetype end = text.indexOf('\0');
                    if (end >= 0) {
                        m_done << text.left(end);
                        m_pending.remove(m->window);
                    }
                }
            }
            free(event);
        }
        return m_done;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    }

    xcb_connection_t *m_c;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_begin = XCB_ATOM_NONE;
    xcb_atom_t m_more = XCB_ATOM_NONE;
    QMap<xcb_window_t, QByteArray> m_pending;
    QList<QByteArray> m_done;
};

} // namespace

class TestOddStarts : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::vector<std::unique_ptr<ProgramFolder>> m_folders;
    std::vector<std::unique_ptr<QProcess>> m_running;

    ProgramFolder &newFolder()
    {
        m_folders.push_back(std::make_unique<ProgramFolder>(kExe));
        return *m_folders.back();
    }

    // Runs `<setup>; exec pellimo <arguments> <redirections>` in bash, pressing Return on every
    // message box that shows, until the start has ended.
    ShellRun runInShell(const ProgramFolder &folder, const QStringList &arguments,
                        const QString &redirections, const QString &setup = QString())
    {
        QProcess p;
        p.setProcessEnvironment(m_desktop->environment());
        p.setStandardInputFile(QProcess::nullDevice());
        const QString script = (setup.isEmpty() ? QString() : setup + QStringLiteral("; ")) +
                               QStringLiteral("exec \"$0\" \"$@\" ") + redirections;
        p.start(QStringLiteral("bash"),
                QStringList{QStringLiteral("-c"), script, folder.executable()} + arguments);
        ShellRun r;
        QElapsedTimer timer;
        timer.start();
        while (!(r.finished = p.waitForFinished(300)) && timer.elapsed() < kTimeoutMs) {
            for (qulonglong box : m_desktop->pellimoWindows())
                m_desktop->pressKey(box, QStringLiteral("Return"));
        }
        if (!r.finished) {
            p.kill();
            p.waitForFinished(3000);
        } else if (p.exitStatus() == QProcess::NormalExit) {
            r.exitCode = p.exitCode();
        }
        r.standardError = p.readAllStandardError();
        return r;
    }

    // Ends the serving process of the last run, so that the next one starts from a clipboard
    // that belongs to nobody of ours.
    void takeClipboard(const ProgramFolder &folder)
    {
        m_desktop->setClipboardText("taken");
        QVERIFY2(Desktop::waitUntilNoProcess(folder, 10000), "the serving process did not end");
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"xclip", "xdotool", "bash"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        for (const auto &p : m_running) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
        m_running.clear();
        m_desktop->setClipboardText("e2e clean-up");
        for (const auto &folder : m_folders) {
            Desktop::waitUntilNoProcess(*folder, 3000);
            Desktop::killProcessesOf(*folder);
        }
        m_folders.clear();
    }

    // The test display keeps its state when its last client leaves: a server that resets then
    // refuses connections for a moment, and a start at that moment fails.
    void displayOutlivesItsLastClient()
    {
        const QByteArray name = "PELLIMO_E2E_PROBE";
        QCOMPARE(rootProperty(m_x.display(), name, "kept"), QByteArray("kept"));
        QThread::msleep(500); // a reset, if the server makes one, is done by then
        QByteArray after;
        for (int attempt = 0; attempt < 50 && after.isEmpty(); ++attempt) {
            after = rootProperty(m_x.display(), name);
            if (after.isEmpty())
                QThread::msleep(100);
        }
        QCOMPARE(after, QByteArray("kept"));
    }

    // A start with some of its standard descriptors closed ends like one with all of them open:
    // same status, same files, the stamp on the clipboard, nothing written into the lock file.
    void closedStandardDescriptors_data()
    {
        QTest::addColumn<QString>("redirections");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("stdout and stderr closed") << QStringLiteral(">&- 2>&-") << false;
        QTest::newRow("all three closed") << QStringLiteral("<&- >&- 2>&-") << false;
        QTest::newRow("stderr closed, a warning shown") << QStringLiteral("2>&-") << true;
        QTest::newRow("stdout closed, a warning shown") << QStringLiteral(">&-") << true;
    }
    void closedStandardDescriptors()
    {
        QFETCH(QString, redirections);
        QFETCH(bool, damaged);
        ProgramFolder &open = newFolder();
        ProgramFolder &closed = newFolder();
        for (ProgramFolder *f : {&open, &closed}) {
            QVERIFY(f->isValid());
            if (damaged)
                QVERIFY(f->write(QStringLiteral("user01.dat"), kDamagedProfile));
        }

        const ShellRun reference = runInShell(open, {QStringLiteral("nogui")}, QString());
        QVERIFY(reference.finished);
        const QImage referenceImage = m_desktop->clipboardImage();
        QVERIFY(!referenceImage.isNull());
        takeClipboard(open);

        const ShellRun r = runInShell(closed, {QStringLiteral("nogui")}, redirections);
        QVERIFY2(r.finished, "the start did not end");
        QCOMPARE(r.exitCode, reference.exitCode);
        QCOMPARE(m_desktop->clipboardImage().size(), referenceImage.size());
        QCOMPARE(closed.read(QStringLiteral(".pellimo.lock")), QByteArray());
        for (const QString &name : open.entries()) {
            if (name != QLatin1String("pellimo"))
                QCOMPARE(closed.read(name), open.read(name));
        }
        QCOMPARE(closed.entries(), open.entries());
    }

    // A file-size limit of 0 makes every save fail: reported like a full disk (status 1, the
    // message), with the profile whole and no temporary file left, instead of SIGXFSZ.
    void fileSizeLimit()
    {
        ProgramFolder &folder = newFolder();
        QVERIFY(folder.isValid());
        QVERIFY(runInShell(folder, {QStringLiteral("nogui")}, QString()).finished);
        takeClipboard(folder);
        const Snapshot before = Snapshot::of(folder, true);

        const ShellRun r =
            runInShell(folder, {QStringLiteral("nogui")}, QString(), QStringLiteral("ulimit -f 0"));
        QVERIFY2(r.finished, "the start did not end");
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(QString::fromUtf8(r.standardError).contains(QStringLiteral("user01.dat")),
                 r.standardError.constData());
        QCOMPARE(before.changedIn(Snapshot::of(folder, true)), QStringList());
    }

    // The process a launcher or a script knows is the waiting parent: a termination signal sent
    // to it ends the program, window and all, and the status tells which signal it was.
    void signalToStartedProcess_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalToStartedProcess()
    {
        QFETCH(int, signal);
        ProgramFolder &folder = newFolder();
        QVERIFY(folder.isValid());
        m_running.emplace_back(m_desktop->start(folder, {}));
        QProcess *p = m_running.back().get();
        const qulonglong window = m_desktop->waitForNewWindow({}, kTimeoutMs);
        QVERIFY2(window, "the main window did not appear");
        QCOMPARE(Desktop::processesOf(folder).size(), 2); // the waiting parent and the program

        QCOMPARE(::kill(pid_t(p->processId()), signal), 0);
        QVERIFY2(p->waitForFinished(kTimeoutMs), "the started process did not end");
        QVERIFY2(Desktop::waitUntilNoProcess(folder, 10000), "the program still runs");
        QVERIFY(!m_desktop->pellimoWindows().contains(window));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 128 + signal);
    }

    // A save killed between writing its temporary file and the rename leaves that file behind;
    // the next start removes it, and only it.
    void leftoverOfKilledSaveRemoved()
    {
        ProgramFolder &folder = newFolder();
        QVERIFY(folder.isValid());
        QVERIFY(runInShell(folder, {QStringLiteral("nogui")}, QString()).finished);
        takeClipboard(folder);
        const QByteArray half = folder.read(QStringLiteral("user01.dat")).left(40);
        QVERIFY(folder.write(QStringLiteral("user01.dat.HnnTMv"), half));
        QVERIFY(folder.write(QStringLiteral("pellimo.ini.qWeRtY"), "[User]\r\n"));
        QVERIFY(folder.write(QStringLiteral("user01.dat.backup"), half));

        const ShellRun r = runInShell(folder, {QStringLiteral("nogui")}, QString());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        const QStringList entries = folder.entries();
        QVERIFY2(!entries.contains(QStringLiteral("user01.dat.HnnTMv")),
                 qPrintable(entries.join(u' ')));
        QVERIFY(!entries.contains(QStringLiteral("pellimo.ini.qWeRtY")));
        QCOMPARE(folder.read(QStringLiteral("user01.dat.backup")), half);
    }

    // The process that serves the stamp sleeps until the X server says the clipboard was taken:
    // left alone it is not woken at all (a poll four times a second was), and it ends once
    // another program takes the clipboard.
    void servingProcessSleeps()
    {
        ProgramFolder &folder = newFolder();
        QVERIFY(folder.isValid());
        const ShellRun r = runInShell(folder, {QStringLiteral("nogui")}, QString());
        QCOMPARE(r.exitCode, 0);
        const QList<pid_t> serving = Desktop::processesOf(folder);
        QCOMPARE(serving.size(), 1);
        QVERIFY(!m_desktop->clipboardImage().isNull()); // served, and idle again afterwards

        const qint64 before = voluntarySwitches(serving.first());
        QThread::sleep(2);
        const qint64 wakeUps = voluntarySwitches(serving.first()) - before;
        QVERIFY2(wakeUps <= 2, qPrintable(QStringLiteral("woken %1 times").arg(wakeUps)));

        QVERIFY(m_desktop->setClipboardText("taken"));
        QVERIFY2(Desktop::waitUntilNoProcess(folder, 10000), "the serving process did not end");
    }

    // A program folder whose name is not valid UTF-8 (as unpacked from a Windows archive): the
    // program works there and creates nothing anywhere else, not in the folder it was started
    // from, not beside the program folder.
    // Started from the menu entry's "Copy stamp" action: the launcher waits with a busy cursor
    // until the program says it has started. nogui shows no window that could say it, so it
    // says so itself, once, with the id it was given (ids with blanks are quoted).
    void launcherStopsWaiting_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("plain id") << QByteArray("launcher-42_TIME1234")
                                  << QByteArray("remove: ID=launcher-42_TIME1234");
        QTest::newRow("id longer than one piece, with a blank")
            << QByteArray("a launcher id that runs over twenty bytes")
            << QByteArray("remove: ID=\"a launcher id that runs over twenty bytes\"");
    }
    void launcherStopsWaiting()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, message);
        StartupNoticeListener listener(m_x.display());
        ProgramFolder &folder = newFolder();
        QProcessEnvironment env = m_desktop->environment();
        env.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QString::fromLatin1(id));
        const RunResult run = m_desktop->run(folder, {QStringLiteral("nogui")}, kTimeoutMs, env);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(listener.messages(), QList<QByteArray>{message}, 5000);
    }

    void folderNameNotUtf8()
    {
        ProgramFolder &outer = newFolder();
        QVERIFY(outer.isValid());
        const QByteArray outerBytes = QFile::encodeName(outer.path());
        const QByteArray bad = outerBytes + "/bad\x93\xfa";
        QVERIFY(::mkdir(bad.constData(), 0700) == 0);
        QVERIFY(copyFile(QFile::encodeName(outer.executable()), bad + "/pellimo"));
        QVERIFY(::symlink((bad + "/pellimo").constData(), (outerBytes + "/run").constData()) == 0);
        QTemporaryDir startedFrom;

        QProcess p;
        p.setProcessEnvironment(m_desktop->environment());
        p.setStandardInputFile(QProcess::nullDevice());
        p.setWorkingDirectory(startedFrom.path());
        p.start(outer.file(QStringLiteral("run")), {QStringLiteral("nogui")});
        QVERIFY(p.waitForFinished(kTimeoutMs));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));

        const QList<QByteArray> expected{".pellimo.lock", "pellimo",    "pellimo.ini",
                                         "user01.dat",    "user02.dat", "user03.dat",
                                         "user04.dat",    "user05.dat"};
        QCOMPARE(namesIn(bad), expected);
        QCOMPARE(namesIn(QFile::encodeName(startedFrom.path())), QList<QByteArray>());
        QCOMPARE(namesIn(outerBytes), (QList<QByteArray>{"bad\x93\xfa", "pellimo", "run"}));
        m_desktop->setClipboardText("taken");
    }
};

QTEST_GUILESS_MAIN(TestOddStarts)
#include "test_odd_starts.moc"
